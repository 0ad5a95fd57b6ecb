#pragma once
// The backup of the data files to a folder the user chooses, and their restore from it:
// the open account's nine files, or those of every account of the archive together
// with the archive ("RecConti.dat" and "Conti.dat"). The account is always named by its
// code: nothing here changes which account is open.

#include "common/esito.h"
#include "maintenance/file_set.h"

#include <QString>
#include <QStringList>

namespace qv {

// What the backup or the restore covers.
enum class CopiaDi { ContoAttivo, TuttiConti };

// The folder refused: none chosen, or the data folder itself (the copies would take
// the place of the files they copy). Done when it may be used.
Esito controllaCartellaCopie(const QString& cartella, const QString& cartellaDati);

// The warning asked before a restore ("AVVERTIMENTO!", OK and Cancel, Cancel the default).
QString avvisoRipristinoCopie();

// The backup into `cartella`: the nine files of the open account (ContoAttivo), or the
// archive as held in memory (NumeroConti into "RecConti.dat", its rows into
// "Conti.dat") and the nine files of each of its accounts. A file an account does not
// have is copied as an empty file. One change in `cartella`: a failure that `riprova`
// does not try again leaves the folder as it was. An account whose code cannot name a
// file is left out, and the done result's warning names it.
Esito EseguiCopie(const QString& cartella, CopiaDi copia, const Riprova& riprova = {});

// The restore from `cartella` into the data folder: the open account (ContoAttivo), or
// every account of the folder's own archive (read into a table of its own; the data
// folder's archive is not replaced). Each account comes back with all its nine files or
// not at all: one whose copy lacks a file, or whose code cannot name a file, is left
// out, and the done result's warning lists those left out and why; the open account
// lacking a file refuses the restore. Every copy is read before anything changes, and
// the files change as one change.
Esito RipristinaCopie(const QString& cartella, CopiaDi copia, const Riprova& riprova = {});

} // namespace qv
