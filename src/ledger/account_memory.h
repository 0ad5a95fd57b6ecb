#pragma once
// What the ledger remembers of the open account between two of its changes:
// - that memory holds the account as its files are now, so that showing the entry form
//   again reads no file when nothing changed;
// - what appending one more movement needs to know of the others (the movement that
//   ends the list by operation date, the date bounds), so that it goes over none of
//   them.
// Each is noted with fileWriteCount() of the data folder: once the program writes any file
// there but the ones the ledger rebuilds from memory (".Ord", ".TOT", through
// scritturaDerivata), it no longer holds; files elsewhere (the settings, the currencies)
// do not matter. It is kept in the shared state, so a reset forgets it.

#include "ledger/balances.h"

#include <QString>
#include <QtGlobal>

#include <functional>

namespace qv {

// --- Memory between loads --------------------------------------------------------------

// Asks the C library to keep the memory the program frees for its next allocations
// instead of giving it back to the system at once: a load of a full account frees and
// takes again some 15 MB (the movement table and its texts), and every page given back
// costs a fault when it is taken again, which made a load up to four times slower. Up to
// 64 MB stays with the program. Done once; nothing where the C library has no such
// setting.
void tieniMemoriaTraCaricamenti();

// --- The last load -----------------------------------------------------------------

// Notes that memory holds the open account as its files are now: the end of
// ApriArchiviConto, and a new movement's save when memory held the account before it
// (its record and count written are the row and count in memory).
void segnaCaricamento();

// Whether memory holds the open account as the last load left it and as its files are
// now: the same data folder, account and day; since the load the program wrote no file
// but those it rebuilds from memory; none of the account's files was changed, made or
// removed on disk by anyone (size and times of each); the movement table, its count and
// the counts of cheque books and leaves are the ones loaded.
bool contoInvariatoDalCaricamento();

// --- Files rebuilt from memory -------------------------------------------------------

// Runs `scrivi`, a write of `percorso`, a file the ledger rebuilds from memory (".Ord",
// ".TOT"). What the ledger remembers still holds afterwards when it held before: only
// that file changed, and from memory. False when `scrivi` fails.
bool scritturaDerivata(const QString& percorso, const std::function<bool()>& scrivi);

// --- Appending -----------------------------------------------------------------------

struct IndiceAccodamento {
    qint16 ultimo = 0;      // the movement that ends the list by operation date, 0 for none
    EstremiDate operazione; // the bounds of the operation dates of every movement
    EstremiDate valuta;     // and of the value dates
};

// The index for the table as it is now, or null when it does not hold any more: the
// program wrote other files since it was noted, ".Ord" is no longer as the program
// wrote it, or the table, its count or the open account are not the same.
const IndiceAccodamento* indiceAccodamento();

// Notes `indice` for the table as it is now and ".Ord" as it is on disk now.
void segnaIndiceAccodamento(IndiceAccodamento indice);

// Forgets all of the above: another account opens, the account closes, its files are
// read again.
void dimenticaMemoriaConto();
// Forgets only the index (the table is read again).
void dimenticaIndiceAccodamento();

} // namespace qv
