#pragma once
// The account archive: Conti.dat with its count RecConti.dat in the data folder,
// held in TabellaConti (row k = record k) and NumeroConti, and the two account
// lists that show it (the editor's ListaConti and the selection's List1).

#include "common/count_file.h"
#include "common/esito.h"
#include "common/records.h"

#include <QFileDevice>
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
// rigaEsclusa. A code that cannot name a file (a separator, a control character) is
// NonValido before it is compared with the others.
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

// One line of an account list and the row of TabellaConti it stands for.
struct RigaConto {
    QString testo;
    int riga = 0;
};
// The lines of rows 1 to NumeroConti, in row order (the lists sort them).
std::vector<RigaConto> righeConti();

// What reading the archive of PercorsoDati found.
struct LetturaConti {
    enum class Stato {
        Letto,           // NumeroConti and TabellaConti hold the archive
        NessunaCartella, // no data folder in use: no account
        Danneggiato,     // the count cannot be trusted (see `esame`): no account loaded
        Illeggibile,     // Conti.dat cannot be read: no account loaded
    };
    Stato stato = Stato::Letto;
    EsameConteggio esame; // the count judged with the archive
    // Illeggibile: why (errno, or Qt's error when there is none) and the file.
    int osErrno = 0;
    QFileDevice::FileError errore = QFileDevice::NoError;
    // A count larger than the accounts the file holds: what the user is told (the
    // accounts there are loaded).
    QString avviso;
    // A change of the data folder that had been interrupted was put back (or could not
    // be) before the archive was read: what the user is told (testoRipristino).
    QString ripristino;
};

// Reads RecConti.dat and Conti.dat of PercorsoDati into NumeroConti and TabellaConti.
// First an interrupted change of the data folder is put back (a kill midway through a
// deletion leaves its marker) and the temporary files left by a stopped rewrite of the
// two files are removed. A missing archive is no account and nothing is created. The
// count is judged with Conti.dat (count_file.h): a count larger than the accounts the
// file holds is taken as those (`avviso` says so); a damaged count, or an archive that
// cannot be read, loads no account and changes nothing.
LetturaConti leggiArchivioConti();

// The question asked before the damaged count of the archive is rebuilt.
QString domandaRicostruzioneConti(const EsameConteggio& esame);
// Rebuilds the damaged count from the accounts Conti.dat holds (the damaged file kept
// beside it). Failed, saying why and that the archive was not opened.
Esito ricostruisciConteggioConti(const EsameConteggio& esame);

// Appends a new account (its numero is set here) as record NumeroConti + 1 and writes
// the new count. Refused, with nothing changed, for a code controllaCodiceConto refuses
// (esitoCodice says why; the focus goes back to CodConto, emptied for a duplicate), a
// full archive, an archive whose count cannot be trusted or that changed on disk since
// it was loaded; failed, with nothing changed, when a file cannot be written.
Esito AggiungiConto(const Conto& nuovo, EsitoCodice* esitoCodice = nullptr);

// Rewrites the account of row IndiceContoAttivo with the values given (numero set
// here); IndiceContoAttivo becomes 0. The count is not written. A code other than the
// stored one is checked as for a new account. Refused and failed as AggiungiConto.
Esito AggiornaConto(const Conto& campi, EsitoCodice* esitoCodice = nullptr);

// Refused (testoNessunContoScelto) when row IndiceContoAttivo holds no account: the
// deletion is not even asked about.
Esito controllaContoDaCancellare();

// Deletes the account of row IndiceContoAttivo, once the user has confirmed
// (testoConfermaCancellazione): refused when no account is picked, when it is the open
// account ("attenzione", no icon) or when the archive cannot be trusted. As one change
// (common/transaction.h): Conti.dat rewritten whole with the other accounts renumbered,
// RecConti.dat, then every file of the account (accountFilesIn) removed; when any step
// fails, every file is put back and the failure names the step (and the files left
// changed, should putting them back fail). The table follows; IndiceContoAttivo is left
// to the caller.
Esito CancellaConto();

} // namespace qv
