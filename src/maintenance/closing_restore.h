#pragma once
// Undoing the last period closing of an account: its nine files come back from the
// account's own copy set, its carry-forward from the closing record ".chi", and ".chi"
// goes, so that the same closing cannot be undone twice.

#include "common/esito.h"
#include "maintenance/file_set.h"

#include <QString>

namespace qv {

// The warning asked first ("AVVERTIMENTO!", OK and Cancel, Cancel the default).
QString avvisoRipristinoChiusura();

// What a closing record that is not the account's is answered with (title "Errore").
QString testoChiusuraDiAltroConto();

// Whether there is a closing of account `codice` in `cartellaDati` to put back, as
// RipristinaChiusuraPrecedente checks it before it changes anything: done when there
// is; refused (or failed, when a file cannot be read) with what the restore would
// answer. Nothing is written.
Esito controllaRipristinoChiusura(const QString& cartellaDati, const QString& codice);

// Puts back the last closing of account `codice` in `cartellaDati`. Refused, with
// nothing changed, when ".chi" is missing or names another account, and when the
// account's copy set is missing or incomplete. Every copy is read and checked before
// anything changes; then, as one change, the nine files take the copies' bytes (a file
// the account did not have goes), ".RIP" takes the carry-forward of ".chi" and ".chi"
// goes. A failure that `riprova` does not try again leaves every file as it was.
Esito RipristinaChiusuraPrecedente(const QString& cartellaDati, const QString& codice,
                                   const Riprova& riprova = {});

} // namespace qv
