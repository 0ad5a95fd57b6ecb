#pragma once
// The backup of the data files to a folder the user chooses, and their restore from it:
// the open account's nine files with its condition files and closing record when it has
// them, or those of every account of the archive together with the archive
// ("RecConti.dat" and "Conti.dat"). A list of the copies with the size and SHA-256 of
// each ("Copie.lst") is written last, and a restore checks every copy against it before
// anything changes. The account is always named by its code: nothing here changes which
// account is open.

#include "common/esito.h"
#include "maintenance/file_set.h"

#include <QString>
#include <QStringList>

#include <array>

namespace qv {

// What the backup or the restore covers.
enum class CopiaDi { ContoAttivo, TuttiConti };

// The files an account's copy holds beside its nine when the account has them: the five
// condition files and the closing record.
extern const std::array<QLatin1String, 6> EstensioniFacoltative;

// The list of the copies in the backup folder: one line for each copy with its name,
// its size and its SHA-256. A folder without it holds copies made before it was kept.
inline constexpr QLatin1String ElencoCopieSicurezza{"Copie.lst"};

// The folder refused: none chosen, or the data folder itself (the copies would take
// the place of the files they copy). Done when it may be used.
Esito controllaCartellaCopie(const QString& cartella, const QString& cartellaDati);

// The warning asked before a restore ("AVVERTIMENTO!", OK and Cancel, Cancel the default).
QString avvisoRipristinoCopie();

// Whether `cartella` holds something to restore: the copy of the open account
// (ContoAttivo) or the copy of all accounts (TuttiConti). Refused, saying why, when it
// does not, or when the folder cannot be used; asked before the restore's warning.
Esito controllaCopieDaRipristinare(const QString& cartella, CopiaDi copia);

// The backup into `cartella`: the nine files of the open account (ContoAttivo), or the
// archive as held in memory (NumeroConti into "RecConti.dat", its rows into
// "Conti.dat") and the nine files of each of its accounts; with each account its
// condition files and closing record when it has them (an older copy of one it no
// longer has goes). A file of the nine an account does not have is copied as an empty
// file. The list of the copies is written last. A symbolic link in the folder in place
// of a copy is replaced, never written through. One change in `cartella`: a failure
// that `riprova` does not try again leaves the folder as it was; a folder whose earlier
// change could not be put back is refused. An account whose code cannot name a file
// is left out, and the done result's text names it. Done, saying how many accounts were
// copied.
Esito EseguiCopie(const QString& cartella, CopiaDi copia, const Riprova& riprova = {});

// The restore from `cartella` into the data folder: the open account (ContoAttivo), or
// every account of the folder's own archive (read into a table of its own). Each
// account comes back with all its nine files or not at all, and with the condition
// files and closing record its copy has: one whose copy lacks a file, or whose code
// cannot name a file, is left out, and the done result's text lists those left out and
// why; the open account lacking a file refuses the restore. For all accounts, every
// account restored that the data folder's archive lacks is added at its end (the
// accounts it has stay as they are); the table in memory is left to the caller. Every
// copy is read, and checked against the list of the copies when the folder has one,
// before anything changes; a damaged copy, or a folder whose earlier change could not
// be put back, refuses the restore. The files change as one change. Done, saying how
// many accounts were restored.
Esito RipristinaCopie(const QString& cartella, CopiaDi copia, const Riprova& riprova = {});

} // namespace qv
