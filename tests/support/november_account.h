#pragma once
// The account "CC1" that the period-list and listed-change tests start from, written out
// by hand: a carry-forward of 1.000,00 at 31/10/2026 and four movements of November
// 2026 (today is 09/12/2026, so every date is past), one of them a cheque and one
// annulled.

#include "bytes.h"

namespace qv::test {

inline constexpr MovimentoFields kMovimentiNovembre[] = {
    {1, "01/11/2026", "02/11/2026", "VE", 500.0, "", "stipendio", "N", "E", "N"},
    {2, "05/11/2026", "06/11/2026", "AS", 120.5, "1234", "idraulico", "S", "U", "N"},
    {3, "10/11/2026", "12/11/2026", "PR", 200.0, "", "prelievo bancomat", "N", "U", "N"},
    {4, "02/11/2026", "02/11/2026", "VE", 1234.5, "B7", "bonifico", "N", "E", "S"},
};

// Writes CC1.MOV and CC1.MOR with the four movements, CC1.Ord in the list order by
// operation date (1, 4, 2, 3) and CC1.RIP with the carry-forward, into `dataFolder`.
void writeNovemberAccount(const QString& dataFolder);

} // namespace qv::test
