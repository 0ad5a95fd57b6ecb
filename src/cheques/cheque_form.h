#pragma once
// Form15: "Gestione Assegni", issuing, changing and annulling the open account's cheques.

#include "cheques/cheque_issue.h"
#include "common/records.h"
#include "platform/form_host.h"

#include <QString>
#include <QtGlobal>

#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class AmountField;
class DateField;
class ListBox;

class Form15 : public Form {
    Q_OBJECT
public:
    explicit Form15(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    // Lists the leaves of book `numeroCarnet` (NrCarnet, NrFogliCarnet, List1,
    // FogliElencati) and selects the first leaf with no movement (NrAssegno and
    // IndiceFoglioScelto); with every leaf booked the selection stays as it was, or,
    // with `soloLibero`, no leaf is selected.
    void mostraCarnet(qint16 numeroCarnet, bool soloLibero = false);

    // The leaf selected for confirmation: its row of TabellaFogli when it is still
    // the leaf whose cheque number NrAssegno shows, in the book NrCarnet shows; else 0.
    int foglioSelezionato() const;

    // Shows a leaf in the entry fields: its date (empty for "00/00/0000"), its amount
    // in the display currency as plain number text, payee and note, its book and
    // cheque number.
    void mostraFoglio(const FoglioAssegno& foglio);

    // Set by the first confirmation or pick of a book; until then each activation
    // selects the first unbooked leaf of the newest book. Starts at 0 with the form,
    // which is loaded afresh for each account.
    qint16 CarnetScelto = 0;

    // The leaves listed in List1, row k - 1 for line k.
    std::vector<FoglioElencato> FogliElencati;

    void Salva_Click();
    void Command3D8_Click();
    void Command3D1_Click();
    void Command3D9_Click();
    void List1_Click();
    void DataAssegno_KeyPress(int& keyAscii);
    void IMPORTO_GotFocus();
    void IMPORTO_Change();
    void IMPORTO_KeyPress(int& keyAscii);
    void traente_GotFocus();
    void traente_Change();
    void traente_KeyPress(int& keyAscii);
    void NoteAss_KeyPress(int& keyAscii);

    QLabel* NrConto = nullptr;
    QLabel* banca = nullptr;
    QLabel* NrCarnet = nullptr;
    QLabel* NrFogliCarnet = nullptr;
    ListBox* List1 = nullptr;
    QLabel* NrAssegno = nullptr;
    DateField* DataAssegno = nullptr;
    AmountField* IMPORTO = nullptr;
    QLineEdit* traente = nullptr;
    QLineEdit* NoteAss = nullptr;
    QPushButton* Salva = nullptr;
    QPushButton* Command3D8 = nullptr;
    QPushButton* Command3D1 = nullptr;
    QPushButton* Command3D9 = nullptr;

private:
    // The parts the window is built from, in this order.
    void creaTestata();
    QGroupBox* creaElenco();
    void creaCampiAssegno();
    void creaPulsanti();
    void disponi(QGroupBox* elenco);
    void collegaControlli();

    void mostraConto();
    // The entry fields as each activation leaves them: amount "0", no date, payee and
    // note empty.
    void svuotaCampi();
    void rifiuta(const QString& testo, bool beepPrima);

    // The steps of "Conferma" after its first checks, in the order it takes them: each
    // check that refuses tells the user and gives the focus.
    bool dataAssegnoValida(const QString& data);
    bool dataNonPrimaDelRitiro(int carnet, const QString& data);
    bool importoDigitato(double& importo);
    bool annullamentoConfermato();
    DatiAssegno datiAssegno(int foglio, const QString& data, double importo, bool annullato) const;
    void aggiornaDopoAssegno(int numero, int carnet, const QString& errore);

    QString contoMostrato_; // the account whose book the form shows
};

// Refills Form15's List1 and FogliElencati with the leaves of the book whose number
// NrCarnet shows.
void ElencaFogliCarnet();

// Loads the leaf of the line selected in Form15's List1 into the entry fields and
// selects it; with no valid line selected, tells the user to pick a cheque first.
void RichiamaFoglioSelezionato();

// The main window's "&Assegni": Form15 shown modally (the caller shows the movement
// form first).
void mostraFormAssegni();
// The movement form's " Gestione assegni ": the date, amount, payee and cheque
// number emptied, then Form15 shown modally.
void gestioneAssegni();
// The causale "AS" chosen or loaded in the movement form: Form15 shown modeless.
void mostraFormAssegniNonModale();

} // namespace qv
