#pragma once
// The files of the open account's movements: ".MOV" (record k is movement k),
// ".MOR" (their count) and ".Ord" (every movement, in the order of the list by
// operation date). New movements are appended here, and every write is checked:
// the shared table, the count and the balances change only once the movement's
// record and the new count are on disk.

#include "common/esito.h"
#include "common/records.h"
#include "common/shared_state.h" // contoAttivoAperto, fileContoAttivo

#include <QString>
#include <QtGlobal>

namespace qv {

class Transaction;

// The most movements an account can hold: counts and record numbers are 16-bit.
inline constexpr int LimiteMovimentiConto = 32767;

// With no account open (contoAttivoAperto) nothing is written: SalvaNuovoMovimento and
// riscriviMovimento refuse, SalvaOrdine and the totals file do nothing.

// Whether the open account has room for one more movement.
bool spazioPerNuovoMovimento();
// What the user is told when it has none.
QString messaggioContoPieno();

// The message for an amount that no file may hold (importoUtilizzabile): one that is
// not finite or reaches 1e13.
QString testoImportoNonMemorizzabile();

// The message for a file that could not be written: which file and why.
QString testoErroreScrittura(const QString& percorso, const QString& motivo);

// A new movement as the program stores it: numbered `numero`, never cancelled
// ("N"), in/out only "E" or "U" (any other flag becomes `entrataUscitaPredefinita`,
// "E" unless told otherwise), suspended "S" or "N" ("S" for anything else).
Movimento movimentoDaSalvare(Movimento m, qint16 numero,
                             const QString& entrataUscitaPredefinita = QStringLiteral("E"));

// Appends `nuovo` as the open account's movement n = NumeroMovimenti + 1, in this
// order: record n of ".MOV", n into ".MOR"; then, and only then, row n of
// TabellaMovimenti and NumeroMovimenti; then the balances (AggiungiMovimentoAiSaldi,
// which rewrites ".TOT" and the main window's panels) and ".Ord" (SalvaOrdine).
// The movement is stored as movimentoDaSalvare(nuovo, n) makes it.
// Refused when the movement cannot be stored: no account open, no room (32767 movements),
// an amount no file may hold (importoUtilizzabile); failed when ".MOV" or ".MOR" could not
// be written; nothing in memory has changed and the text says why. Done once the movement
// is stored; should ".Ord" or ".TOT" fail afterwards, its warning says so (the movement stays
// stored; both files are rebuilt from the movements at the next change or load). The caller
// refreshes the lists. With `modifica`, the movement is the last part of a change of several files
// (a transfer, a cheque book, a cheque): ".MOV" and ".MOR" are written through it, and the change
// is committed before memory changes; when anything fails, the caller rolls the change back
// (annullaModifica).
Esito SalvaNuovoMovimento(const Movimento& nuovo, Transaction* modifica = nullptr);

// Writes movement `m` back at its own number (1 to NumeroMovimenti) of ".MOV";
// once written, row m.numero of TabellaMovimenti takes it and ".Ord" is rewritten.
// The balances are the caller's. Refused or failed, with nothing changed in memory, when
// the amount is one no file may hold or the record cannot be written; a failure of ".Ord"
// is the warning of a result that is done. With `modifica`, ".MOV" is written through it and the
// change committed before memory changes, as for SalvaNuovoMovimento.
Esito riscriviMovimento(const Movimento& m, Transaction* modifica = nullptr);

// Rewrites ".Ord" whole with every movement of the open account (rows 1 to
// NumeroMovimenti), in the order of the complete list by operation date
// (movimentiInOrdine): record i is the i-th movement of that order, and the file
// ends with the last one. The old file stays whole when the new one cannot be
// written; failed, with the reason, then.
Esito SalvaOrdine();

} // namespace qv
