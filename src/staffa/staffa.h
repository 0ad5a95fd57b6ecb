#pragma once
// The value-date balance statement ("staffa") of a period: one row for every value
// date with the balance in force from that date, the days to the next date and the
// debit or credit numbers (balance × days / divisor), the part of a balance beyond the
// credit line with its numbers, the totals, the largest excess and the largest
// overdraft. The computation works on numbers only; the staffa's list, its work list
// and its printout (staffa_text.h), and the interest statement, format its rows.
//
// One pass over the movements picks the period's movements and sums the ones before
// it; one sort puts the picked ones in date order; one walk makes the rows. The cost
// grows as n log n in the movements, whatever the number of dates, and nothing limits
// the number of movements or of dates.

#include "common/records.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <optional>
#include <span>
#include <vector>

namespace qv {

// The divisor of the numbers for an options record's `codiceDivisore`: 1, 10, 100 or
// 1000 for the codes 1 to 4. Any other code (the options of an account were never
// saved) divides by 100, the choice the conditions editor offers first.
int DivisoreNumeri(qint16 codiceDivisore);

// The date of a period field as the staffa checks it: day, month and year read from
// the text as the date check reads them, and a real date with a year of at least 1000.
std::optional<QDate> dataDelPeriodo(const QString& testo);

// The date at which a movement counts in a statement: its value date, or its operation
// date when the value date is not a date (an old record with "00/00/0000" or blanks);
// nothing when neither is a date.
std::optional<QDate> dataDelMovimento(const Movimento& m);

// What one staffa is computed from.
struct ParametriStaffa {
    QDate dal; // first day of the period, included
    QDate al;  // last day, included (it may lie before dal)
    // All the movements of the period; false: only those whose `sospeso` is "N". The
    // movements before the period count in the opening balance either way.
    bool tutti = true;
    double fattoreValuta = 1.0; // rate of the display currency
    double fido = 0;            // credit line, stored units
    double saldoRiporto = 0;    // balance carried forward by the last closing, stored units
    int divisoreNumeri = 100;
    // Whether a row for dal is added when the first movement of the period comes later
    // (the staffa and the interest statement on screen do; the row of the day before dal
    // then carries the opening balance for one day).
    bool rigaDal = true;
    // Dates inside the period (after the day before dal, up to al) that get a row of their
    // own although no movement falls on them, carrying the balance in force. The interest
    // statement passes its rate changes here, so that no row spans two rates; the staffa
    // passes none. The totals of the numbers stay what they are without these rows.
    std::vector<QDate> dateAggiuntive;
};

// The parameters of the open account (display rate, credit line, carry-forward and
// divisor of its options in memory) for a period and a choice of movements.
ParametriStaffa parametriContoAperto(QDate dal, QDate al, bool tutti);

// Rows 1 to NumeroMovimenti of the movement table.
std::span<const Movimento> movimentiContoAperto();

// One date of the staffa. Amounts are in the display currency unless said otherwise.
struct RigaStaffa {
    QDate data;
    double saldo = 0;     // balance in force from `data` on, stored units
    double saldoRiga = 0; // saldo × rate, but never below minus the credit line
    // The part of the balance beyond the credit line (negative) when `oltreFido`.
    double eccedenza = 0;
    bool oltreFido = false;     // the balance lies strictly beyond the credit line
    int giorni = 0;             // calendar days to the next date; 0 for the last date of the
                                // period and for a next date after al
    double numeri = 0;          // giorni × saldoRiga / divisor, with the sign of saldoRiga
    double numeriEccedenza = 0; // −(giorni × eccedenza / divisor): positive
    int movimenti = 0;          // movements of the period with this date

    // A debit row (balance below zero): its numbers go to the debit column.
    bool debitoria() const { return saldoRiga < 0; }
    double numeriDebitori() const { return debitoria() ? -numeri : 0.0; }
    double numeriCreditori() const { return debitoria() ? 0.0 : numeri; }
};

struct RisultatoStaffa {
    ParametriStaffa parametri;
    // The dates in ascending order; the first is the day before dal, with the opening
    // balance.
    std::vector<RigaStaffa> righe;
    // The movements of the period as indices into the movements given, in their order.
    std::vector<int> movimentiPeriodo;
    // Numbers of the movements left out because neither of their dates is a date.
    std::vector<qint16> movimentiSenzaData;

    double saldoInizialePeriodo = 0; // signed sum of the movements before dal
    double totaleNumeriDebitori = 0; // debit numbers, excess numbers included
    double totaleNumeriCreditori = 0;
    double massimoScoperto = 0;  // lowest saldoRiga below zero; 0 when none
    double massimaEccedenza = 0; // lowest eccedenza; 0 when none

    // Balance of the last date, not limited by the credit line.
    double saldoFinale() const;
    // The lowest balance of the period shown as a positive figure: minus (massimoScoperto
    // + massimaEccedenza).
    double scopertoMassimo() const { return -(massimoScoperto + massimaEccedenza); }
};

// The staffa of `movimenti` (the movement table's rows, in table order) for `p`.
// Amounts that no computation may count are taken as 0.
RisultatoStaffa calcolaStaffa(std::span<const Movimento> movimenti, const ParametriStaffa& p);

// The earliest and latest date at which the movements count (dataDelMovimento);
// nothing when no movement has a date.
std::optional<std::pair<QDate, QDate>> estremiStaffa(std::span<const Movimento> movimenti);

// The period a new staffa opens with: from the last closing (`dataRiporto`, when it is
// a date) or else the earliest date of the movements, to the latest date of the
// movements. With no dated movement the period ends today and starts at the closing or,
// without one, today as well.
std::pair<QDate, QDate> periodoIniziale(std::span<const Movimento> movimenti,
                                        const QString& dataRiporto, QDate oggi);

// The message that names the movements a staffa leaves out (at most twenty by number,
// then how many more); empty when there are none.
QString messaggioMovimentiSenzaData(const std::vector<qint16>& numeri);

} // namespace qv
