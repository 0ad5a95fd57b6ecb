#pragma once
// The account archive: Conti.dat with its count RecConti.dat in the data folder,
// held in TabellaConti (row k = record k) and NumeroConti, and the two account
// lists that show it (the editor's ListaConti and the selection's List1).

#include "common/records.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace qv {

// Counts and record numbers are 16-bit on disk.
inline constexpr int MassimoConti = 32767;

QString percorsoConti();    // PercorsoDati + "Conti.dat"
QString percorsoRecConti(); // PercorsoDati + "RecConti.dat"

// The line an account shows in both lists: the code as a 12-character field,
// " - ", the bank name as a 45-character field.
QString lineaConto(const Conto& conto);
// The account code a list line stands for: its first twelve characters, trimmed.
QString codiceDellaLinea(const QString& linea);

// What stands in the way of storing a code (already cut to its 12 characters).
enum class EsitoCodice {
    Valido,
    Vuoto,     // nothing but blanks
    Duplicato, // equal, trimmed and ignoring case, to another account's code
    NonValido, // leading blanks, . / \ : * ? " < > |, control characters, or
               // characters the archive cannot hold
    Riservato, // the name of one of the archive's own files
};
// Checks a code against the rules and against rows 1 to NumeroConti other than
// rigaEsclusa.
EsitoCodice controllaCodiceConto(const QString& codice, int rigaEsclusa = 0);
// The message a refused code is answered with.
QString messaggioCodiceConto(EsitoCodice esito);

// The messages of the archive.
QString testoContoEsistente();
QString testoCodiceObbligatorio();
QString testoConfermaCancellazione();
QString testoContoAperto();
QString testoNessunContoScelto();
QString testoArchivioPieno();
// What a write of the archive is answered with while no data folder is in use.
QString testoNessunaCartellaDati();

// Rows 1 to numeroConti of tabella without the one at position riga, renumbered
// from 1 in order.
std::vector<Conto> contiSenzaRiga(const std::vector<Conto>& tabella, int numeroConti, int riga);

// Removes the files of the account with the given code from the data folder
// (code, ".", any extension; literal, ignoring case). A code that shares its
// name with the archive's own files removes only the account's own extensions,
// never Conti.dat or RecConti.dat. The names not removed go to nonEliminati.
bool eliminaFileConto(const QString& cartella, const QString& codice, QStringList* nonEliminati);

// How a write of the archive ended.
enum class EsitoConto {
    Fatto,
    Annullato,       // the user answered Cancel
    CodiceRifiutato, // see controllaCodiceConto; the message was shown
    Rifiutato,       // no account picked, the open account, a full archive
    Errore,          // a file could not be read or written; the reason was shown
};

// Reads RecConti.dat and Conti.dat of PercorsoDati into NumeroConti and
// TabellaConti (a missing archive is no account and nothing is created) and refills
// both account lists. The count is judged with Conti.dat first (count_file.h): a
// count larger than the accounts the file holds is said and taken as those; a count
// that is missing, unreadable, cut short or negative next to accounts is named, and
// the user is asked whether to rebuild it from them (Sì: the damaged file is kept
// beside it and the count written, then the archive loads; No: nothing is loaded
// and nothing changes, and every write of the archive stays refused). An archive
// that cannot be read goes to the "Errore Disco" dialog: Retry reads again from the
// start, anything else ends the load with no account loaded. Without a data folder
// (another program holds it) nothing is loaded. Temporary files left by a stopped
// rewrite of the two files are removed first.
void CaricaElencoConti();

// Appends a new account (its numero is set here) as record NumeroConti + 1 and
// writes the new count; its line goes to both lists. A refused code or a file
// that cannot be written leaves table, files and lists as they were; for a
// refused code, esitoCodice tells why.
EsitoConto AggiungiConto(const Conto& nuovo, EsitoCodice* esitoCodice = nullptr);

// Rewrites the account of row IndiceContoAttivo with the values given (numero
// set here) and rebuilds both lists; IndiceContoAttivo becomes 0. The count is
// not written. A code other than the stored one is checked as for a new account.
EsitoConto AggiornaConto(const Conto& campi, EsitoCodice* esitoCodice = nullptr);

// Deletes the account of row IndiceContoAttivo after asking: refused when no
// account is picked or when it is the open account. Conti.dat is rewritten whole
// with the other accounts renumbered, then the count, then the account's files
// are removed; the first step that fails stops the deletion and is named to the
// user. The table, both lists and the account sheet follow. IndiceContoAttivo is
// left to the caller.
EsitoConto CancellaConto();

// Refills both account lists from rows 1 to NumeroConti; each line carries its row.
void riempiListeConti();

} // namespace qv
