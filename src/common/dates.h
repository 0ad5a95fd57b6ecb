#pragma once
// Dates as the program keeps them: ten-character texts "DD/MM/YYYY", "00/00/0000" for
// no date. DataInNumero turns a text into a day number that orders dates; counts of
// days use a true calendar difference instead (giorniTra), because the day number
// gains a day at every common-year boundary.

#include <QDate>
#include <QString>
#include <optional>

namespace qv {

// Day, month and year of a date text, each the numeric value of its piece: the day
// from the first two characters, the month from the two characters after the "/" that
// follows a two-digit day (else from the third and fourth characters), the year from
// the last four. Reads "DD/MM/YYYY", "D/MM/YYYY", "DD/M/YYYY", "D/M/YYYY" and
// "DDMMYYYY"; blanks, "_" and empty pieces are worth 0.
struct DateParts {
    double giorno = 0;
    double mese = 0;
    double anno = 0;
};
DateParts splitDateText(const QString& data);

// Day number of a date text: year × 366 + days before the month + day, in single
// precision. "00/00/0000", "__/__/____" and a blank text give 0, below every real
// date. Differences count days exactly only within one year.
float DataInNumero(const QString& data);
// The same number for a valid date, without going through its text.
float DataInNumero(QDate data);

// Gregorian leap year. The year is taken to the nearest whole number first.
bool AnnoBisestile(double anno);

// A real calendar date with a year of at least 1000.
bool dataValida(int giorno, int mese, int anno);

// The same test on the numeric values read from a date text: a value that is not a
// whole number (or not finite) is a bad date as well.
bool dateValuesValid(double giorno, double mese, double anno);

// True when the text is exactly "DD/MM/YYYY" with digits in every place (a masked
// date field filled in completely); says nothing about the date being real.
bool isCompleteDateText(const QString& testo);

// The date of a complete, valid "DD/MM/YYYY" text; nullopt otherwise.
std::optional<QDate> dataDaTesto(const QString& testo);

// "DD/MM/YYYY" of a date; "00/00/0000" for an invalid one.
QString testoDaData(QDate data);

// Calendar days from `da` to `a` (negative when `a` comes first), the texts read as
// DataInNumero reads them; 0 when either is not a valid date.
int giorniTra(const QString& da, const QString& a);

} // namespace qv
