#pragma once
// Form19: "Chiusura periodica", the period closing of the open account.

#include "platform/form_host.h"

class QFrame;
class QLabel;
class QPushButton;

namespace qv {

class DateField;

class Form19 : public Form {
    Q_OBJECT
public:
    explicit Form19(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    void DataChiusura_KeyPress(int& keyAscii);
    void OK_Click();
    void esci_Click();

    QFrame* Panel3D1 = nullptr;
    QLabel* Label1 = nullptr; // "Nuova chiusura al:"
    DateField* DataChiusura = nullptr;
    QLabel* Label2 = nullptr; // "data chiusura precedente:"
    QLabel* ChiusPrec = nullptr;
    QPushButton* OK = nullptr;   // "Conferma"
    QPushButton* esci = nullptr; // "Uscita"

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// "Elimina periodi": Form19 as a modal dialog.
void mostraChiusuraPeriodica();

// The closing of the open account on `dataChiusura` (already checked): the warning, the
// printer, the windows letting go of their movements, the closing computed, printed and
// written, the account read again. Nothing changes when the user cancels, when the
// printer is not there or the printout fails, or when a file cannot be written.
void EseguiChiusuraPeriodica(const QString& dataChiusura);

} // namespace qv
