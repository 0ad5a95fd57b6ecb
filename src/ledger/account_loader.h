#pragma once
// Loading the open account: its movements, carry-forward, totals, cheque books and
// cheque leaves into the shared tables, with the balances recomputed.

#include <QString>

#include <functional>

namespace qv {

// Reads every file of the open account (PercorsoDati, CodiceContoAttivo) into the
// shared state: ".MOR" and ".MOV" (one read), ".RIP" into TabellaRiporto row 1,
// ".TOT" into TotaliContoAttivo and the date bounds (an operation-date bound that
// holds no date becomes today), then CaricaMovimenti, then ".NRC" and ".CAR" into
// NumeroCarnet and TabellaCarnet, ".NRF" and ".FOG" into NumeroFogli and
// TabellaFogli (tables sized to their counts plus row 0). Last, the action set with
// impostaDopoApriArchiviConto runs (the cheque lists and counters).
// Movements held out of the balances by windows stay out when the account is the
// one they were held for; for another account they are forgotten.
// False, with the reason, when a file exists but cannot be read or ".TOT" cannot
// be written; the tables then hold what could be read.
bool ApriArchiviConto(QString* errore = nullptr);

// Rereads ".MOR" and ".MOV" into NumeroMovimenti and TabellaMovimenti (rows 1 to
// the count, one read), recomputes the four balances from every movement not held
// out by a window plus the carry-forward of TabellaRiporto row 1, recomputes the
// date bounds from the movements and rewrites ".TOT". With `aggiornaPannelli` the
// main window's balance panels are refreshed too.
// False, with the reason, when ".MOV" cannot be read (the table is then left empty,
// count 0, so that nothing is written over the unread records) or ".TOT" cannot be
// written.
bool CaricaMovimenti(bool aggiornaPannelli = true, QString* errore = nullptr);

// The action run at the end of ApriArchiviConto: the cheque subsystem refreshes its
// lists and counters there. Empty by default.
void impostaDopoApriArchiviConto(std::function<void()> azione);

} // namespace qv
