#pragma once
// Form23: the settings window "Impostazioni".

#include "platform/form_host.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class ComboBox;

class Form23 : public Form {
    Q_OBJECT
public:
    explicit Form23(QWidget* parent = nullptr);

    void Form_Load() override;

    void Salva_Click();
    void Command3D8_Click();
    void decimali_KeyPress(int& keyAscii);

    QLabel* SSPanel1 = nullptr;
    std::array<QLineEdit*, 2> PerAvv{};  // element 1: data folder
    std::array<QLineEdit*, 1> contAvv{}; // element 0: start-up account
    ComboBox* Combo1 = nullptr;
    QLineEdit* decimali = nullptr;
    QLineEdit* NomeUt = nullptr;
    QLineEdit* PassW = nullptr;
    QCheckBox* accesso = nullptr;
    QPushButton* Salva = nullptr;
    QPushButton* Command3D8 = nullptr;

signals:
    // A new number format was saved while the movement form is open: what shows amounts
    // follows it at once (the main window relists the movements, reloads the balances
    // and shows the credit line again).
    void formatoCambiato();

private:
    // The parts the window is built from, in the order the constructor calls them.
    void creaTitolo();
    void creaCampi();
    void creaPulsanti();
    void disponi();
    void impostaOrdineTab();
    void collegaControlli();
};

} // namespace qv
