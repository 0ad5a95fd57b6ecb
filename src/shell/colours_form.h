#pragma once
// Form5, "Cambia colori": the text and background colours of the program's lists.

#include "platform/form_host.h"

#include <array>

class QLabel;
class QPushButton;

namespace qv {

class Form5 : public Form {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    void Form_Load() override;

    void sfondo_Click();
    void carattere_Click();
    void OK_Click();
    void predef_Click();
    void Command2_Click();

    QLabel* SSPanel1 = nullptr;
    QPushButton* sfondo = nullptr;
    QPushButton* carattere = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* predef = nullptr;
    QPushButton* Command2 = nullptr;
    std::array<QLabel*, 2> VediColori{};
    QLabel* esempio = nullptr;
    QLabel* Label1 = nullptr;

private:
    void showColours();
    // Writes ColoriElenchi with the given "S"/"N" as record 1 of colori.col;
    // on success keeps it in memory and closes the form, else says why.
    void storeColours(const QString& predefiniti);

    // The colours the dialogs open on: those the swatches show.
    double coloreSfondo_ = 0;
    double coloreCarattere_ = 0;
};

} // namespace qv
