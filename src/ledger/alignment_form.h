#pragma once
// Form4: "Allineamento Conto", the alignment of the open account with the bank statement.

#include "ledger/movement_reading.h"
#include "platform/form_host.h"

#include <QPointer>
#include <QtGlobal>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class AmountField;
class DateField;
class ListBox;

class Form4 : public Form {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    // The display currency has just changed from the one of rate `prima`: the figure in
    // IMPORTO is shown in the new one, standing for the same amount.
    void valutaCambiata(double prima);

    // Refills ElencoMovim with the suspended movements.
    void ElencaMovimentiSospesi();
    // Loads the movement of the selected line into the fields, out of the balances.
    void RichiamaMovimentoDaAllineare();
    // The movement this window holds out of the balances, 0 when none.
    qint16 movimentoCaricato() const { return caricato_; }

    void ElencoMovim_DblClick();
    void Command3D1_Click();
    void Causale_KeyPress(int& keyAscii);
    void DataOper_KeyPress(int& keyAscii);
    void IMPORTO_GotFocus();
    void OK_Click();
    void pulisci_Click();
    void Esc_Click();

    ListBox* ElencoMovim = nullptr;
    QLabel* intestazione = nullptr; // the column heads over the list
    DateField* DataOper = nullptr;
    DateField* DataValuta = nullptr;
    QLineEdit* Causale = nullptr;
    QPushButton* Command3D1 = nullptr;
    QLabel* DescrCausale = nullptr;
    QLabel* D_A = nullptr;
    AmountField* IMPORTO = nullptr;
    QLineEdit* NrDoc = nullptr;
    QLineEdit* DescMovim = nullptr;
    QLabel* NrOper = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* pulisci = nullptr;
    QPushButton* Esc = nullptr;

private:
    // The parts the window is built from, in this order.
    void creaElenco();
    void creaCampiEPulsanti();
    void disponi();
    void collegaControlli();

    void svuotaCampi();
    void liberaElenco();
    TestiMovimento testiAllineamento() const;
    ContestoLettura contesto() const;
    void mostraCausale(const CausaleLetta& causale);
    bool causaleValida();
    bool ancoraTrattenuto();

    qint16 caricato_ = 0;     // the movement loaded, held out of the balances
    QString causaleMostrata_; // the causale whose description and E/U the labels show
    QPointer<QObject> pickerCollegato_;
};

// The main window's "Allineamento conto" and " Allinea ": lists the suspended
// movements and shows Form4 modeless.
void mostraAllineamento();

} // namespace qv
