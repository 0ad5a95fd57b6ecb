#pragma once
// The printed conditions sheet "Elenco Costi e condizioni": the 67 lines of one page,
// computed from the five condition records as they are stored (never from the
// editor's fields), the bank of the open account and the display currency.

#include "common/print_lines.h"
#include "conditions/conditions.h"

#include <QString>

namespace qv {

// The trimmed bank name of the open account; empty when no account is open.
QString bancaContoAperto();

// The sheet's lines: title and bank in Arial 18 bold, a blank line in Arial 12 bold,
// the currency line and the rules in Courier New 9.75 bold, the body in Courier New 10
// with its section headings bold. Rates print as "00.00" followed by "%", start dates
// as stored (a blank date as ten blanks), fees multiplied by the display rate in the
// amount pattern, right-aligned in 13 characters (a longer text whole), descriptions
// as their 25 stored characters.
RigheStampa righeFoglioCondizioni(const CondizioniConto& c, const QString& banca,
                                  const QString& valuta, double fattoreValuta,
                                  const QString& formatoImporti);

} // namespace qv
