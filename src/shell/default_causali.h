#pragma once
// The three causali the program reserves for itself: "AS" (a cheque), "CA" (the
// cost of a cheque book) and "GC" (a transfer between accounts).

#include "common/esito.h"

#include <QString>

namespace qv {

// Writes the three reserved causali as records 1 to 3 of Causali.DAT in the
// program folder and the count 3 into RecCausa.dat; rows 1 to 3 of
// TabellaCausali and NumeroCausali follow. Records beyond the third stay in the
// file, no longer counted. On a failed write the tables are left as they were
// and the result fails, saying why; done once both files were written.
Esito CreaCausaliPredefinite();

} // namespace qv
