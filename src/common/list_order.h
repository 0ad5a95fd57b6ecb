#pragma once
// The order in which a sorted list keeps its lines, for the lists on screen and for
// the procedures that must give their lines in the same order.

#include <QString>

namespace qv {

// The order of a sorted list: letters compared without regard to case or
// accents, blanks and punctuation before digits and digits before letters; lines
// that differ only in case put the lower case first, as a Windows sorted list did.
int compareListText(const QString& a, const QString& b);

} // namespace qv
