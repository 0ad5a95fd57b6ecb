#pragma once
// Form1, "Informazioni": the notice shown once, on the program's first run.

#include "platform/form_host.h"

class QLabel;
class QPushButton;

namespace qv {

class Form1 : public Form {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    void Form_Load() override;
    void SSCommand1_Click();

    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* TESTO = nullptr;
    QLabel* Test2 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Picture1 = nullptr;
    QPushButton* SSCommand1 = nullptr;
};

// The two parts of the notice, as Load puts them in TESTO and Test2.
QString testoInformazioni();
QString testoInformazioni2();

} // namespace qv
