#pragma once
// "Riordina archivi": the open account's cheque leaves tied again to the book whose
// range holds their cheque number, and leaves and books to their movements by the
// link rule (cheques/cheque_books.h). The records keep their order.

#include "common/esito.h"
#include "maintenance/file_set.h"

#include <QString>

namespace qv {

// The folder of the reorder's safety copies of an account: "riordino" in the account's
// copy folder. They are the reorder's own: the closing's copy set is never touched.
QString cartellaCopiaRiordino(const QString& cartellaDati, const QString& codice);

// Reorders the open account from its tables: refused when no account is open; else, as
// one change, the safety copies of the nine files as they are, then ".FOG" and ".CAR"
// rewritten with the new links, and the tables take them. A failure that `riprova` does
// not try again leaves every file and table as it was. The caller reloads the account.
Esito RiordinaArchivi(const Riprova& riprova = {});

// What the user is told once the reorder is done.
QString testoRiordinoEseguito();

} // namespace qv
