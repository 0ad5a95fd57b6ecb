#pragma once
// Deleting a movement of the open account: the movement file compacted and
// renumbered, its count, and the cheque leaves and books that refer to movements
// by number kept pointing at the same movements.

#include "common/esito.h"

#include <QString>
#include <QtGlobal>

namespace qv {

// The question asked before a movement is deleted.
QString testoConfermaCancellazioneMovimento();

// A reference to a movement by number after movement `cancellato` was deleted:
// the deleted one becomes 0 (no movement), a higher one goes down by 1, a lower
// one (or 0) stays.
qint16 riferimentoDopoCancellazione(qint16 riferimento, int cancellato);

// Deletes movement `numero` (1 to NumeroMovimenti) of the open account:
//  - ".MOV" is replaced as a whole by the other movements renumbered 1 to n-1;
//  - ".MOR" holds n-1;
//  - in ".FOG" (leaf `movimento`) and ".CAR" (book `movimentoCosto`) every
//    reference is fixed with riferimentoDopoCancellazione, the other bytes of each
//    record left as they are;
//  - TabellaMovimenti, NumeroMovimenti, TabellaFogli and TabellaCarnet follow;
//  - the movements held out of the balances by other windows keep pointing at
//    the same movements.
// The balances and the list-order file are not touched (the caller refreshes
// them). The files change as one change (common/transaction.h): when one cannot be
// written, the files already written are put back as they were (and a program stopped
// midway has them put back when the account is next opened), nothing in memory
// changes, and the result is failed, saying why, naming the files left changed
// should putting them back fail.
Esito eliminaMovimento(int numero);

} // namespace qv
