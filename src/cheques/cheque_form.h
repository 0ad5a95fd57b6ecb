#pragma once
// Form15: "Gestione Assegni", issuing, changing and annulling the open account's cheques.

#include "common/records.h"
#include "platform/form_host.h"

#include <QString>
#include <QtGlobal>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class AmountField;
class DateField;
class ListBox;

// --- Computation -------------------------------------------------------------------

// One listed leaf of Form15 (a row of FogliElencati): the leaf's date, its amount in
// the display currency, the first 20 characters of its payee, its cheque number, its
// row of TabellaFogli (progressivo) and its movement.
struct FoglioElencato {
    QString dataAssegno;
    double importo = 0;
    QString traente;
    qint32 numeroAssegno = 0;
    qint16 progressivo = 0;
    qint16 movimento = 0;
};

// The line of a leaf in Form15's list: the cheque number left-aligned in 11, the
// date, a blank, the amount × fattoreValuta in `formato` right-aligned in 14 (longer
// numbers widen the line): "501        05/11/2000            250".
QString lineaFoglioCarnet(const FoglioAssegno& foglio, double fattoreValuta,
                          const QString& formato);

// The leaves of book `numeroCarnet` in table order (rows 1 to NumeroFogli), as
// FogliElencati holds them, and their lines, each carrying the leaf's row.
std::vector<FoglioElencato> fogliDelCarnet(qint16 numeroCarnet);

// A cheque as the user confirms it: the leaf (row of TabellaFogli), the date
// "DD/MM/YYYY", the amount in the display currency (0 for an annulled cheque), payee,
// note, and whether it is annulled.
struct DatiAssegno {
    int foglio = 0;
    QString data;
    double importo = 0;
    QString traente;
    QString note;
    bool annullato = false;
};

// The "AS" movement of a cheque numbered `numero`: dates from the cheque, the amount
// in stored units, the document number documentoAssegno, the payee as description,
// outgoing, suspended as `sospeso` says, not cancelled.
Movimento movimentoAssegno(const DatiAssegno& dati, qint32 numeroAssegno, qint16 numero,
                           double importoMemorizzato, const QString& sospeso);

// Writes a confirmed cheque. The leaf's record of ".FOG" is written first; then its
// "AS" movement: the movement the leaf is linked to, when the link is right or the
// movement is found by causale and document number, is rewritten at its own number
// with its `sospeso` kept; a leaf without a movement gets a new one appended
// (SalvaNuovoMovimento) and is linked to it. Should the movement fail, the leaf's
// record is put back. The leaf's row changes only once both are written; after a
// rewrite the movements are reloaded (balances, ".TOT").
// Returns the movement's number, 0 when nothing was stored (`errore` says why; it
// may also carry a warning after a success). Refuses, writing nothing: a leaf row
// out of range, an unusable display rate, an account with no room for a movement.
int salvaAssegno(const DatiAssegno& dati, QString* errore = nullptr);

// --- The form ----------------------------------------------------------------------

class Form15 : public Form {
    Q_OBJECT
public:
    explicit Form15(QWidget* parent = nullptr);

    void Form_Load() override;
    void Form_Activate() override;

    // Lists the leaves of book `numeroCarnet` (NrCarnet, NrFogliCarnet, List1,
    // FogliElencati) and selects the first leaf with no movement (NrAssegno and
    // IndiceFoglioScelto); with every leaf booked the selection stays as it was.
    void mostraCarnet(qint16 numeroCarnet);

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
    void mostraConto();
    void rifiuta(const QString& testo, bool beepPrima);

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
