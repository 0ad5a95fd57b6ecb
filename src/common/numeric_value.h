#pragma once
// The numeric value of a text, read from its leading characters as the classic Val
// function did: what follows the number is ignored, and text that does not start with
// a number is worth 0. Dates are split into day, month and year this way, and the
// start-up account code is compared by it.

#include <QString>

#include <optional>

namespace qv {

// Skips leading blanks and tabs, then reads an optional sign, digits, an optional "."
// with decimal digits and an optional exponent ("E" or "D", optional sign, digits),
// stopping at the first character that cannot continue the number.
// "  12ab" gives 12, "5/" gives 5, "A123" and "" give 0. A value too large to hold
// gives 0.
double valoreNumerico(const QString& text);

// The whole number a text stands for, as valoreNumerico reads it, when it is whole and
// fits 32 bits (the cheque number of a movement's document field, matched against the
// leaves); none otherwise ("12.5", "3E10").
std::optional<qint32> numeroIntero(const QString& text);

} // namespace qv
