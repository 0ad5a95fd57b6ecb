#pragma once
// Connects the cheques to the ledger: the lists and counters rebuilt every time
// an account's files are loaded, and what the movement form's cheque causali and
// buttons open. The main window calls it once when it is created.

namespace qv {

void collegaAssegni();

} // namespace qv
