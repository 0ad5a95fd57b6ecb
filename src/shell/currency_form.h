#pragma once
// Form25, "Valute": the rates of the fourteen national currencies, each stored by its own button.

#include "platform/form_host.h"

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qv {

class AmountField;

class Form25 : public Form {
    Q_OBJECT
public:
    explicit Form25(QWidget* parent = nullptr);

    void Form_Load() override;

    // The slot buttons, named as on screen; SSCommand13 does not exist.
    QPushButton* SSCommand1 = nullptr;
    QPushButton* SSCommand2 = nullptr;
    QPushButton* SSCommand3 = nullptr;
    QPushButton* SSCommand4 = nullptr;
    QPushButton* SSCommand5 = nullptr;
    QPushButton* SSCommand6 = nullptr;
    QPushButton* SSCommand7 = nullptr;
    QPushButton* SSCommand8 = nullptr;
    QPushButton* SSCommand9 = nullptr;
    QPushButton* SSCommand10 = nullptr;
    QPushButton* SSCommand11 = nullptr;
    QPushButton* SSCommand12 = nullptr;
    QPushButton* SSCommand14 = nullptr;
    QPushButton* SSCommand15 = nullptr;

    // The rate boxes of slots 1 to 14.
    std::array<AmountField*, 14> Box{};
    QCheckBox* Check1 = nullptr;
    QPushButton* Command3D8 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;

    // Stores the slot whose button was pressed (1 to 14).
    void SSCommand_Click(int slot);
    void Check1_Click();
    void Command3D8_Click();

private:
    QPushButton*& buttonMember(int slot);
    // The parts the window is built from, in the order the constructor calls them.
    void creaIntestazione();
    QLayout* creaValute();
    QLayout* creaFondo();
};

} // namespace qv
