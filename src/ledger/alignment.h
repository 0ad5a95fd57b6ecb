#pragma once
// Aligning the open account's suspended movements with the bank statement: the list
// of movements not yet seen on the statement, taking one out of the balances while
// the user corrects it, and writing it back as aligned, with the cheque leaf and
// cheque book of a cheque movement.

#include "common/esito.h"
#include "common/records.h"
#include "ledger/movement_lists.h"

#include <QString>
#include <QtGlobal>

#include <vector>

namespace qv {

// The name under which the alignment window holds its movement out of the balances.
inline constexpr const char* FinestraAllineamento = "Form4";

// The line of a suspended movement:
//   1-10   operation date, 12-21 value date, 23-26 number as "0000"
//   28-47  the first 20 characters of the causale's description (20 blanks when the
//          code is not in the causali archive), 51 entrataUscita,
//   54-61  document number in 8, 63-78 amount × FattoreValuta in FormatoImporti,
//          right-aligned in 16 (a longer amount is not cut).
QString lineaMovimentoSospeso(const Movimento& m);

// The lines of the suspended movements (sospeso "S") of rows 1 to NumeroMovimenti,
// in row order, each carrying its movement's number.
std::vector<RigaMovimento> ElencaMovimentiSospesi();

// Loads movement `numero` for alignment: it must be a suspended movement of the open
// account (1 to NumeroMovimenti). Its effect is taken out of the balances and it is
// held under FinestraAllineamento (a movement held there before goes back first).
// Done, with the movement as stored; refused, with nothing to say, when there is no
// such suspended movement. Done with a warning when ".TOT" could not be written (the
// movement is held all the same).
EsitoCon<Movimento> RichiamaMovimentoDaAllineare(qint16 numero);

// The row of TabellaFogli (1 to NumeroFogli) of the cheque leaf of the "AS" movement
// `m` (as stored, numbered): the leaf linked to m.numero whose cheque number is m's
// document number; failing that, a booked leaf of that cheque number whose link names
// no "AS" movement of its number (a stale link); 0 when none.
int foglioDelMovimento(const Movimento& m);

// The cheque-book record after one of its leaves was aligned: fogliDaAllineare = 10
// less the book's aligned leaves (never below 0), and allineato "S" once none is left.
CarnetAssegni carnetAggiornato(CarnetAssegni carnet, int fogliAllineati);

// Writes the movement the alignment window holds (`numero`) as aligned, with the
// corrections in `corretto` (dates, causale, amount in the base unit, document,
// description, in/out); sospeso and annullato become "N". One change of the files
// (common/transaction.h), each write checked:
//  1. for the causale "AS": the movement's cheque leaf (foglioDelMovimento of the
//     movement as stored) gets allineato "S" and the confirmed amount in ".FOG",
//     then its book the count of leaves to align (and allineato) in ".CAR", each
//     record read from its file and only those fields changed;
//  2. the movement at its record of ".MOV"; the change is then done (".Ord" follows);
//  3. the cheque tables take the leaf and the book, the hold ends and the movement,
//     as now stored, goes back into the four balances: ".TOT" and the main window's
//     panels.
// A failure before the change is done puts every file back: the tables are as they
// were and the movement is still held (failed, with the reason), so the user may
// confirm again. Done, with the warning of what failed after the movement was written;
// refused, with nothing to say, when `numero` is not the movement the window holds.
Esito AllineaMovimento(qint16 numero, const Movimento& corretto);

// Gives the movement the alignment window holds back to the balances unchanged.
// Failed, with the reason, when ".TOT" could not be written.
Esito rinunciaAllineamento();

} // namespace qv
