#pragma once
// Form20: "Modifica Movimenti", the change of a movement picked from the period list.

#include "common/records.h"
#include "ledger/movement_reading.h"
#include "platform/form_host.h"

#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class AmountField;
class DateField;

class Form20 : public Form {
    Q_OBJECT
public:
    explicit Form20(QWidget* parent = nullptr);

    void Form_Unload(bool& cancel) override;
    // The display currency has just changed from the one of rate `prima`: the figure in
    // IMPORTO is shown in the new one, standing for the same amount.
    void valutaCambiata(double prima);

    // Fills the fields from movement `numero` of TabellaMovimenti (1 to
    // NumeroMovimenti) and keeps the movement as it was read, so that the
    // confirmation can tell whether another window changed or deleted it meanwhile.
    // False, with the fields left empty, for a number that is not a movement.
    bool mostraMovimento(int numero);

    void OK_Click();
    void Esc_Click();
    void Command3D1_Click();
    void Causale_LostFocus();

    QLabel* NrOper = nullptr;
    DateField* DataOper = nullptr;
    DateField* DataValuta = nullptr;
    QLineEdit* Causale = nullptr;
    QLabel* DescrCausale = nullptr;
    AmountField* IMPORTO = nullptr;
    QLineEdit* NrDoc = nullptr;
    QLineEdit* DescMovim = nullptr;
    QLineEdit* Sospeso = nullptr;
    QLineEdit* D_A = nullptr;
    QLineEdit* Annullato = nullptr;
    QPushButton* Command3D1 = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Esc = nullptr;

private:
    // The parts the window is built from, in this order.
    void creaCampi();
    void creaPulsanti();
    void disponi();
    void collegaControlli();

    // What the reading of the typed movement needs: the stored amount of the movement
    // shown, when there is one.
    ContestoLettura contesto() const;
    void svuotaCampi();

    int numero_ = 0;
    Movimento letto_; // the movement as the form was filled from it
    QPointer<QObject> pickerCollegato_;
};

// Opens movement `numero` of the open account in Form20, loaded afresh, modeless.
void apriMovimentoElencato(int numero);

// The refusal of a movement that another window changed or deleted meanwhile.
QString messaggioMovimentoCambiato();

} // namespace qv
