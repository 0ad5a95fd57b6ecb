#pragma once
// The conversion of a data folder of the previous release into the current record
// layouts, and the list of the accounts a folder holds.
//
// The conversion reads and checks every file before it writes any: a folder already
// converted, a folder whose files do not have the old layouts' sizes, an account code
// that cannot name a file, a file that cannot be read, one that holds fewer records
// than its count file says, or a count that is negative or cut short stop it with
// nothing written. A count of 0 makes the file it counts empty.
// Then every file is rewritten inside one transaction (a copy of each original in the
// folder's snapshot folder, each new file written whole before it replaces the old
// one), the marker Conv.con last, and the transaction is committed. A failure puts
// every original back; a run killed midway leaves its snapshots, and the next run puts
// the originals back from them before it converts afresh. The folder's lock is held
// for the whole run, so that Quorvanta cannot use the folder meanwhile.
//
// Files are matched ignoring letter case and keep the names they have. A file that
// does not exist stays missing: the program reads a missing file as an empty one (a
// file of movements, cheque books or leaves whose count is not 0 must be there).

#include "common/esito.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace qv {

// The marker's name when the conversion creates it.
inline constexpr QLatin1String FileMarcaConversione{"Conv.con"};

// The texts of the refusals.
inline constexpr const char16_t* kDatiGiaConvertiti =
    u"I dati selezionati sono stati già convertiti";
inline constexpr const char16_t* kTitoloAttenzione = u"Attenzione!";

struct EsitoConversione {
    // Done: every account converted and the folder marked. Refused: nothing written, the
    // text says why, in a box with its title. Failed: a file could not be read or
    // written, the text says which.
    Esito esito;
    // Fallita: what failed. A system call (its error number, errno, 0 when unknown,
    // and whether the name that failed was a folder); a file that ends before the
    // records its count gives (a file cut short); or a count that is not a number of
    // records (negative).
    enum class Guasto { Sistema, FineFile, Conteggio };
    Guasto guasto = Guasto::Sistema;
    int osErrno = 0;
    bool percorso = false;
    // Fallita: the files that could not be put back (empty: the folder is as it was).
    QStringList nonRipristinati;
    // Fatta: the accounts converted (0: the folder holds none, nothing was written).
    int contiConvertiti = 0;
    // The files put back from a conversion that had been interrupted.
    QStringList ripristinati;
};

// Called after each file the conversion has written, with its path.
using AvanzamentoConversione = std::function<void(const QString& file)>;

// Converts the folder (every account of its account archive).
EsitoConversione convertiCartella(const QString& cartella,
                                  const AvanzamentoConversione& avanzamento = {});

// The account list of a folder: one line per account in record order, the code as
// stored (12 characters) & " - " & the bank name as stored (45 characters). Reads the
// folder without creating or changing anything; a folder without an account archive
// has no lines. A folder already in the current layout is read in that layout.
struct ListaContiCartella {
    QStringList righe;
    Esito esito; // failed: the file that could not be read and why
    int osErrno = 0;
};
ListaContiCartella leggiListaConti(const QString& cartella);

} // namespace qv
