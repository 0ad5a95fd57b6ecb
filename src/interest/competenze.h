#pragma once
// The interest and cost statement of a period ("ELEMENTI PER IL CONTEGGIO DELLE
// COMPETENZE"): credit interest by rate period with the withholding tax, debit interest
// within and beyond the credit line, the maximum-overdraft commission, the two free
// commissions, the fees, the summary of competences and the commission on the excess
// over the credit line with the final result.
//
// One computation gives every figure; the statement window's list and the printed
// statement (competenze_text.h) only lay them out, so screen and paper always agree.
// Everything is computed in double precision, in the display currency, from the rows of
// a staffa of the same period that has a row at every rate change, so that each day is
// charged at the rate in force on it.

#include "conditions/conditions.h"
#include "staffa/staffa.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace qv {

// What a statement is computed from.
struct ParametriCompetenze {
    // Period, choice of movements, display rate, credit line, carry-forward and divisor.
    ParametriStaffa staffa;
    CondizioniConto condizioni;
    // The causali (the table's rows 1 to NumeroCausali): which movements pay the fee per
    // operation.
    std::span<const VoceCausale> causali;
};

// The parameters of the open account: its staffa parameters for the period, the
// conditions in memory and the causali table.
ParametriCompetenze parametriCompetenzeContoAperto(QDate dal, QDate al, bool tutti);

// Why a statement cannot be computed, as the user is told.
struct RifiutoCompetenze {
    QString testo;
    QString titolo;
};

// The check of the rate start dates that comes before a statement: the first start date
// of the credit rates, then that of the debit rates, must be a date not later than the
// start of the period `dal` (a text that is not a date cannot be compared and fails).
std::optional<RifiutoCompetenze> controllaDecorrenze(const CondizioniConto& condizioni,
                                                     const QString& dal);

// A rate as the user typed it. The conditions keep rates in single precision, where
// 0,7 is 0.699999988; the statement takes the shortest decimal that the stored value
// stands for (0.7) in double precision, so that a whole-unit commission on 1.000 at 0,7%
// is 7, not 6.
double tassoDecimale(float tasso);

// The days of the year of the interest for a day-base code: "1" 360, anything else 365.
int giorniBase(const QString& codice);

// Whether a fee is charged by a statement: a flag "1" or one that holds no digit (a
// record never saved, which the conditions show as "Trimestrale") at every statement,
// any other digit ("0", "Annuale") only at the statement that ends on 31 December.
bool spesaDovuta(const QString& addebitoTrimestrale, bool chiusuraFineAnno);

// One rate period of the credit or debit rates. Numbers are positive figures.
struct PeriodoTasso {
    int indice = 0;     // line 1 to 5 of the rate record
    QString decorrenza; // start shown: the day before dal for line 1, else as stored
    double tasso = 0;   // credit rate, or debit rate within the credit line, percent
    double numeri = 0;  // credit numbers, or debit numbers within the credit line
    double interessi = 0;
    // Debit side only: the rate, numbers and interest beyond the credit line.
    double tassoFuoriFido = 0;
    double numeriFuoriFido = 0;
    double interessiFuoriFido = 0;
};

// How far the balance went below zero in the period.
enum class Scoperto {
    Mai,       // never below zero
    EntroFido, // below zero, never beyond the credit line
    OltreFido, // beyond the credit line on some row
};

// A free commission. Not applied when its description is blank.
struct CommissioneLibera {
    QString descrizione; // as stored, trimmed
    QString base;        // BaseCommissione "1" to "6"; any other code has no base
    double aliquota = 0;
    double imponibile = 0;
    double importo = 0;
    bool applicata() const { return !descrizione.isEmpty(); }
};

// A fixed fee charged by the statement.
struct SpesaFissa {
    int voce = 0; // its entry of the summary: 5 closing, 6 account keeping, 7 credit-line
                  // keeping, 8 flat refund, 9 and 10 the fees named by the user
    double importo = 0;
};

struct RisultatoCompetenze {
    // The statement's staffa: its rows have a date at every rate change of the period.
    RisultatoStaffa staffa;
    int giorniBaseCreditori = 365;
    int giorniBaseDebitori = 365;
    double fattoreDivisore = 1; // divisor of the numbers / 100
    bool chiusuraFineAnno = false;
    QDate inizioPrimoPeriodo; // the day before dal

    double totaleNumeriCreditori = 0;
    double totaleNumeriDebitori = 0;  // negative: debit numbers, beyond the line included
    double totaleNumeriFuoriFido = 0; // negative
    // Lowest whole balance of a row (before the cap at the credit line), 0 when never
    // below zero; the date of the row that reached it first, none when that was the row
    // of the day before dal or no row was below zero.
    double massimoScoperto = 0;
    std::optional<QDate> dataMassimoScoperto;
    double massimaEccedenza = 0; // lowest part of a balance beyond the credit line, or 0

    // Credit interest and withholding tax.
    std::vector<PeriodoTasso> periodiCreditori;
    double totaleInteressiCreditori = 0;
    double aliquotaRitenuta = 0;
    double imponibileRitenuta = 0; // the gross interest, shown as 0 below 100
    double ritenutaCalcolata = 0;  // 0 when below 1
    double interessiCreditoriNetti = 0;

    // Debit interest.
    std::vector<PeriodoTasso> periodiDebitori;
    double totaleInteressiDebitori = 0;

    // Maximum-overdraft commission: EF on the overdraft within the credit line, FF and
    // FFGG on the largest excess beyond it.
    Scoperto scoperto = Scoperto::Mai;
    double fidoValuta = 0;      // the credit line in the display currency
    double scopertoMassimo = 0; // largest overdraft, positive
    double eccedenza = 0;       // largest excess beyond the credit line, positive
    double aliquotaMassimoScoperto = 0;
    double aliquotaScopertoFuoriFido = 0;
    double aliquotaScopertoFuoriFidoGiorni = 0;
    double baseEntroFido = 0; // whole units
    double importoEntroFido = 0;
    double baseFuoriFido = 0; // whole units, for FF and FFGG
    double importoFuoriFido = 0;
    double importoFuoriFidoGiorni = 0;

    std::array<CommissioneLibera, 2> libere;

    // Fees.
    bool operazioniAddebitate = false; // the fee per operation is due at this statement
    int numeroOperazioni = 0;          // 0 when fewer than the minimum
    double costoOperazione = 0;
    std::vector<SpesaFissa> speseFisse; // in the order they are shown
    QString descrizioneSpesa1;
    QString descrizioneSpesa2;

    // ImportiCompetenze 1 to 10: 1 maximum-overdraft commission, 2 and 3 free
    // commissions, 4 operations, 5 to 10 the fixed fees (SpesaFissa::voce).
    std::array<double, 11> importiCompetenze{};
    double totaleSpese = 0;
    double totaleAddebiti = 0;
    bool competenzeACredito = true; // charges not above the net credit interest
    double saldoCompetenze = 0;     // positive, on the side above

    // Commission on the excess, charged when the balance went beyond the credit line.
    double aliquotaEccedenza = 0;
    double commissioneEccedenza = 0; // whole units
    bool finaliACredito = true;
    double competenzeFinali = 0; // positive, on the side above

    bool conEccedenza() const { return scoperto == Scoperto::OltreFido; }
};

// The statement of `movimenti` (the movement table's rows in table order) for `p`. The
// period is taken as given: the caller has checked the dates (controllaDecorrenze and the
// period fields).
RisultatoCompetenze calcolaCompetenze(std::span<const Movimento> movimenti,
                                      const ParametriCompetenze& p);

} // namespace qv
