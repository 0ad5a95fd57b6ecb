#pragma once
// The period closing: the settled movements up to a closing date leave the open
// account, printed for the paper archive ("Elenco Movimenti Eliminati"), and their net
// is carried forward; the rest are renumbered, the cheque books the closing finishes go
// with their leaves, and the carry-forward in force before is kept in ".chi" so that
// the closing can be undone.
//
// Everything is computed in memory first (calcolaChiusura), printed, and only then
// written (scriviChiusura), as one change: the account's files and its copy set (the
// nine files as they were, in the data folder's "Bak/" and the account's code) all
// change, or none does.

#include "cheques/cheque_books.h"
#include "common/amounts.h"
#include "common/esito.h"
#include "common/printed_document.h"
#include "common/records.h"
#include "maintenance/file_set.h"
#include "reports/report_frame.h"

#include <QString>

#include <vector>

namespace qv {

// The folder of an account's copy set: the data folder's "Bak/" and the account's code.
QString cartellaCopiaChiusura(const QString& cartellaDati, const QString& codice);

// The closing date as typed: "__/__/____" is refused with "Campo data obbligatorio"
// (title "ERRORE", a beep); a date that is not a real one with the program's date
// messages (the field emptied); a date before the last closing (`riporto`) is refused,
// since that closing could no longer be undone. A date equal to it is accepted.
Esito controllaDataChiusura(const QString& testo, const Riporto& riporto);

// The warning asked before a closing ("AVVERTIMENTO!", OK and Cancel, Cancel the default).
QString avvisoChiusura();

// What a closing works on.
struct DatiChiusura {
    QString dataChiusura; // "DD/MM/YYYY"
    QString codice;       // the account's trimmed code
    // The movements, row 0 unused, then 1 to n: a table of the caller's own in
    // `movimenti`, or the open account's table seen where it is (`tabella`, rows 1 to
    // `numeroMovimenti`), which datiChiusuraContoAperto gives so that a closing of
    // thousands of movements does not copy them all; that table must then stay as it
    // is until calcolaChiusura has run.
    std::vector<Movimento> movimenti;
    const std::vector<Movimento>* tabella = nullptr;
    int numeroMovimenti = 0;
    // The table the closing works on and its last row.
    const std::vector<Movimento>& righeMovimenti() const { return tabella ? *tabella : movimenti; }
    int ultimoMovimento() const;
    std::vector<CarnetAssegni> carnet; // books 1 to NumeroCarnet
    std::vector<FoglioAssegno> fogli;  // leaves 1 to NumeroFogli
    std::vector<VoceCausale> causali;  // causali 1 to NumeroCausali
    Riporto riporto;                   // the carry-forward in force
};

// The open account's tables as they are now, for a closing on `dataChiusura`.
DatiChiusura datiChiusuraContoAperto(const QString& dataChiusura);

// What the closing makes of the account.
struct PianoChiusura {
    std::vector<Movimento> rimasti;   // the new ".MOV": movements numbered 1 to k
    std::vector<Movimento> eliminati; // the movements that go, in table order
    NuoviNumeri nuovi;                // old number -> new number, 0 for one that goes
    double netto = 0;                 // net of the removed movements, stored units
    std::vector<CarnetAssegni> carnet;
    std::vector<FoglioAssegno> fogli;
    Riporto riporto;            // the new carry-forward (".RIP")
    RiportoPrecedente chiusura; // the carry-forward before it (".chi")
};

// The closing computed: the books it finishes and their movements (carnetEsauriti),
// every movement not suspended, neither "AS" nor "CA", dated on or before the closing
// date, and every movement already marked to go (annullato "S") leave; the others are
// renumbered in table order; the cheque files as assegniDopoChiusura leaves them; the
// net ("E" adds, any other flag subtracts; an amount no sum may count counts as 0)
// added to the carry-forward, which takes the closing date.
PianoChiusura calcolaChiusura(const DatiChiusura& dati);

// The printout "Elenco Movimenti Eliminati" of the removed movements: 57 lines a page,
// each with its dates, its amount as debit or credit, the running net, the causale's
// description, the document number and the description.
ReportHeader IntestazioneMovimentiEliminati(const ContestoStampa& contesto,
                                            const QString& dataChiusura);

// The same printout made a page at a time, when the printer asks for the page: a
// closing of thousands of movements never holds all its lines. It refers to the
// removed movements given, which must outlive it.
class PagineMovimentiEliminati {
public:
    PagineMovimentiEliminati(const ContestoStampa& contesto, const QString& dataChiusura,
                             const std::vector<Movimento>& eliminati,
                             const std::vector<VoceCausale>& causali);

    int pagine() const { return int(nettoPrima_.size()); }
    // Page k, from 0.
    PrintedPage pagina(int k) const;

private:
    QStringView descrizioneCausale(const QString& codice) const;

    const std::vector<Movimento>& eliminati_;
    ContestoStampa contesto_;
    ReportHeader intestazione_;
    NumberFormat formato_;
    // Each code with its description, the last causale that has it (its first 20
    // characters).
    std::vector<std::pair<QString, QString>> descrizioni_;
    // The net of the removed movements printed on the pages before each page.
    std::vector<double> nettoPrima_;
};

PrintedDocument StampaMovimentiEliminati(const ContestoStampa& contesto,
                                         const QString& dataChiusura,
                                         const std::vector<Movimento>& eliminati,
                                         const std::vector<VoceCausale>& causali);

// Writes the closing as one change in `cartellaDati`: the copy set of the nine files
// as they are, then ".MOV", ".MOR", ".FOG", ".NRF", ".CAR", ".NRC", ".chi" and ".RIP".
// On a failure that `riprova` does not try again, every file (the copy set included)
// goes back as it was and the result says so. ".Ord" and ".TOT" follow at the reload.
Esito scriviChiusura(const PianoChiusura& piano, const QString& cartellaDati, const QString& codice,
                     const Riprova& riprova = {});

// The reload of the open account once scriviChiusura of `piano` was done: memory takes the
// account from what the closing wrote (its new movements, cheque books, leaves and
// carry-forward, moved out of `piano`; the removed movements stay) as a load of those
// files leaves it (ApriArchiviContoScritto: ".TOT" and ".Ord" written, nothing read back
// but ".TOT" and ".RIP"). When the open account is not `codice` any more, its files are
// read (ApriArchiviConto).
Esito caricaContoChiuso(PianoChiusura&& piano, const QString& codice);

} // namespace qv
