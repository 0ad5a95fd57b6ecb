// The staffa computation: which dates it has, their balances, days and numbers, the
// credit line and its excess rows, the totals, the choice of movements, the divisor,
// and movements whose dates are not dates.
#include "staffa/staffa.h"
#include "staffa_support.h"
#include "support/fixture.h"

#include <cmath>

namespace qv {
namespace {

using test::d;
using test::mov;

ParametriStaffa periodo(const char* dal, const char* al, double riporto = 1000) {
    ParametriStaffa p;
    p.dal = d(dal);
    p.al = d(al);
    p.saldoRiporto = riporto;
    p.divisoreNumeri = 100;
    return p;
}

struct DataAttesa {
    const char* data;
    double saldo; // stored units
    int giorni;
};

void confronta(const RisultatoStaffa& st, const std::vector<DataAttesa>& attese) {
    ASSERT_EQ(st.righe.size(), attese.size());
    for (size_t k = 0; k < attese.size(); ++k) {
        SCOPED_TRACE(attese[k].data);
        EXPECT_EQ(st.righe[k].data, d(attese[k].data));
        EXPECT_DOUBLE_EQ(st.righe[k].saldo, attese[k].saldo);
        EXPECT_EQ(st.righe[k].giorni, attese[k].giorni);
    }
}

// Which dates a staffa has, the balance in force from each and the days to the next.
TEST(StaffaDate, OneRowPerValueDateBetweenTheDayBeforeDalAndAl) {
    struct Caso {
        const char* nome;
        std::vector<Movimento> movimenti;
        const char* dal;
        const char* al;
        std::vector<DataAttesa> attese;
    };
    const std::vector<Caso> casi = {
        {"no movement, al after dal: the day before dal, dal and al",
         {},
         "01/01/2001",
         "31/03/2001",
         {{"31/12/2000", 1000, 1}, {"01/01/2001", 1000, 89}, {"31/03/2001", 1000, 0}}},
        {"no movement, dal = al",
         {},
         "15/06/2001",
         "15/06/2001",
         {{"14/06/2001", 1000, 1}, {"15/06/2001", 1000, 0}}},
        {"movements on dal and on al add no row of their own",
         {mov(1, "01/01/2001", 500, "E"), mov(2, "31/03/2001", 200, "U")},
         "01/01/2001",
         "31/03/2001",
         {{"31/12/2000", 1000, 1}, {"01/01/2001", 1500, 89}, {"31/03/2001", 1300, 0}}},
        {"several movements on one date make one row",
         {mov(1, "10/01/2001", 100, "E"), mov(2, "20/01/2001", 40, "U"),
          mov(3, "10/01/2001", 200, "E"), mov(4, "10/01/2001", 50, "U")},
         "01/01/2001",
         "31/01/2001",
         {{"31/12/2000", 1000, 1},
          {"01/01/2001", 1000, 9},
          {"10/01/2001", 1250, 10},
          {"20/01/2001", 1210, 11},
          {"31/01/2001", 1210, 0}}},
        {"movements out of table order, before dal and after al",
         {mov(1, "20/01/2001", 10, "E"), mov(2, "30/12/2000", 300, "U"),
          mov(3, "05/01/2001", 20, "U"), mov(4, "01/02/2001", 999, "E")},
         "01/01/2001",
         "31/01/2001",
         {{"31/12/2000", 700, 1},
          {"01/01/2001", 700, 4},
          {"05/01/2001", 680, 15},
          {"20/01/2001", 690, 11},
          {"31/01/2001", 690, 0}}},
        {"a period of two centuries, a few movements in it",
         {mov(1, "20/01/2001", 10, "E"), mov(2, "05/01/2001", 20, "U"),
          mov(3, "20/01/2001", 5, "E")},
         "01/01/1900",
         "31/12/2099",
         {{"31/12/1899", 1000, 1},
          {"01/01/1900", 1000, 36894},
          {"05/01/2001", 980, 15},
          {"20/01/2001", 995, 36139},
          {"31/12/2099", 995, 0}}},
        {"dal after al: the day before dal and dal, both with 0 days",
         {mov(1, "10/05/2001", 50, "E")},
         "01/06/2001",
         "31/05/2001",
         {{"31/05/2001", 1050, 0}, {"01/06/2001", 1050, 0}}},
        {"the day before 01/03/2000 is 29/02/2000",
         {},
         "01/03/2000",
         "02/03/2000",
         {{"29/02/2000", 1000, 1}, {"01/03/2000", 1000, 1}, {"02/03/2000", 1000, 0}}},
        {"days across a common-year boundary are calendar days",
         {mov(1, "28/12/2001", 1, "E"), mov(2, "03/01/2002", 1, "E")},
         "28/12/2001",
         "03/01/2002",
         {{"27/12/2001", 1000, 1}, {"28/12/2001", 1001, 6}, {"03/01/2002", 1002, 0}}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        confronta(calcolaStaffa(c.movimenti, periodo(c.dal, c.al)), c.attese);
    }

    // Without the row of dal the day before dal carries the opening balance up to the
    // first movement.
    ParametriStaffa p = periodo("01/01/2001", "31/01/2001");
    p.rigaDal = false;
    confronta(calcolaStaffa(std::vector<Movimento>{mov(1, "10/01/2001", 5, "E")}, p),
              {{"31/12/2000", 1000, 10}, {"10/01/2001", 1005, 21}, {"31/01/2001", 1005, 0}});
}

// Over a whole staffa the days add up to the days from the day before dal to al.
TEST(StaffaDate, AQuarterCountsItsCalendarDays) {
    struct Caso {
        const char* dal;
        const char* al;
        int giorni;
    };
    const std::vector<Movimento> movimenti = {mov(1, "15/02/2000", 5, "E"),
                                              mov(2, "15/02/2001", 5, "E")};
    for (const Caso& c :
         {Caso{"01/01/2001", "31/03/2001", 90}, Caso{"01/01/2000", "31/03/2000", 91},
          Caso{"01/01/2001", "31/12/2001", 365}}) {
        SCOPED_TRACE(c.dal);
        const RisultatoStaffa st = calcolaStaffa(movimenti, periodo(c.dal, c.al));
        int somma = 0;
        for (const RigaStaffa& r : st.righe)
            somma += r.giorni;
        EXPECT_EQ(somma, c.giorni);
    }
}

// The opening balance: the carry-forward whatever its date, and every movement before
// dal, suspended or not; "Non sosopesi" leaves out the suspended movements of the
// period only.
TEST(StaffaSaldi, OpeningBalanceAndTheChoiceOfMovements) {
    const std::vector<Movimento> movimenti = {
        mov(1, "20/12/2000", 100, "U", "S"), // suspended, before dal
        mov(2, "10/01/2001", 300, "E", "S"), // suspended, in the period
        mov(3, "15/01/2001", 50, "E", "N"),
        mov(4, "16/01/2001", 7, "X", "N"), // anything but "E" is an outflow
    };
    struct Caso {
        const char* nome;
        bool tutti;
        std::vector<DataAttesa> attese;
    };
    const std::vector<Caso> casi = {
        {"Tutti",
         true,
         {{"31/12/2000", 900, 1},
          {"01/01/2001", 900, 9},
          {"10/01/2001", 1200, 5},
          {"15/01/2001", 1250, 1},
          {"16/01/2001", 1243, 15},
          {"31/01/2001", 1243, 0}}},
        {"Non sosopesi",
         false,
         {{"31/12/2000", 900, 1},
          {"01/01/2001", 900, 14},
          {"15/01/2001", 950, 1},
          {"16/01/2001", 943, 15},
          {"31/01/2001", 943, 0}}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriStaffa p = periodo("01/01/2001", "31/01/2001");
        p.tutti = c.tutti;
        const RisultatoStaffa st = calcolaStaffa(movimenti, p);
        confronta(st, c.attese);
        EXPECT_DOUBLE_EQ(st.saldoInizialePeriodo, -100);
        const std::vector<int> presi = c.tutti ? std::vector<int>{1, 2, 3} : std::vector<int>{2, 3};
        EXPECT_EQ(st.movimentiPeriodo, presi);
    }
}

// Balance, numbers and the credit line, row by row, in the display currency.
TEST(StaffaNumeri, BalanceNumbersAndExcessOfEachRow) {
    struct RigaAttesa {
        double saldoRiga;
        bool oltreFido;
        double eccedenza;
        double debitori;
        double creditori;
        double numeriEccedenza;
    };
    struct Caso {
        const char* nome;
        double riporto;
        double fido;
        double fattore;
        RigaAttesa attesa; // of the row of dal, 10 days long
        double massimoScoperto;
        double massimaEccedenza;
    };
    const std::vector<Caso> casi = {
        {"credit balance", 1000, 0, 1, {1000, false, 0, 0, 100, 0}, 0, 0},
        {"zero balance: a credit row with 0 numbers", 0, 0, 1, {0, false, 0, 0, 0, 0}, 0, 0},
        {"debit within the credit line", -300, 500, 1, {-300, false, 0, 30, 0, 0}, -300, 0},
        {"exactly minus the credit line: no excess",
         -500,
         500,
         1,
         {-500, false, 0, 50, 0, 0},
         -500,
         0},
        {"beyond the credit line", -800, 500, 1, {-500, true, -300, 50, 0, 30}, -500, -300},
        {"no credit line: a zero credit row and the whole overdraft beyond it",
         -300,
         0,
         1,
         {0, true, -300, 0, 0, 30},
         0,
         -300},
        {"display rate 2 doubles every amount",
         -800,
         500,
         2,
         {-1000, true, -600, 100, 0, 60},
         -1000,
         -600},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriStaffa p = periodo("11/01/2001", "21/01/2001", c.riporto);
        p.fido = c.fido;
        p.fattoreValuta = c.fattore;
        const RisultatoStaffa st = calcolaStaffa({}, p);
        ASSERT_EQ(st.righe.size(), 3U);
        const RigaStaffa& r = st.righe[1];
        ASSERT_EQ(r.giorni, 10);
        const RigaAttesa& a = c.attesa;
        EXPECT_DOUBLE_EQ(r.saldoRiga, a.saldoRiga);
        // A zero balance or zero numbers are never -0, which would sort and sum as 0 but
        // show the sign of a debit.
        EXPECT_EQ(std::signbit(r.saldoRiga), a.saldoRiga < 0);
        EXPECT_FALSE(std::signbit(r.numeriCreditori()));
        EXPECT_EQ(r.oltreFido, a.oltreFido);
        EXPECT_DOUBLE_EQ(r.eccedenza, a.eccedenza);
        EXPECT_DOUBLE_EQ(r.numeriDebitori(), a.debitori);
        EXPECT_DOUBLE_EQ(r.numeriCreditori(), a.creditori);
        EXPECT_DOUBLE_EQ(r.numeriEccedenza, a.numeriEccedenza);
        // Every row of this staffa has the same balance: the extremes are this row's.
        EXPECT_DOUBLE_EQ(st.massimoScoperto, c.massimoScoperto);
        EXPECT_DOUBLE_EQ(st.massimaEccedenza, c.massimaEccedenza);
        EXPECT_DOUBLE_EQ(st.saldoFinale(), c.riporto * c.fattore);
        // Three rows of 1, 10 and 0 days.
        EXPECT_DOUBLE_EQ(st.totaleNumeriDebitori, 1.1 * (a.debitori + a.numeriEccedenza));
        EXPECT_DOUBLE_EQ(st.totaleNumeriCreditori, 1.1 * a.creditori);
    }
}

// The divisor of the numbers: the four codes of the options, and the editor's default
// for a code that was never saved.
TEST(StaffaNumeri, DivisorOfTheNumbers) {
    const std::vector<std::pair<qint16, int>> casi = {{1, 1},   {2, 10},  {3, 100}, {4, 1000},
                                                      {0, 100}, {5, 100}, {-1, 100}};
    for (const auto& [codice, divisore] : casi) {
        SCOPED_TRACE(codice);
        EXPECT_EQ(DivisoreNumeri(codice), divisore);
    }
}

// The largest overdraft over several rows: the lowest capped balance plus the largest
// excess, which is the lowest balance of the period.
TEST(StaffaNumeri, LargestOverdraftAndExcessOverThePeriod) {
    const std::vector<Movimento> movimenti = {mov(1, "05/01/2001", 1200, "U"),
                                              mov(2, "10/01/2001", 700, "U"),
                                              mov(3, "20/01/2001", 2000, "E")};
    ParametriStaffa p = periodo("01/01/2001", "31/01/2001", 1000);
    p.fido = 500;
    const RisultatoStaffa st = calcolaStaffa(movimenti, p);
    // Balances 1000, 1000, -200 (5 days), -900 (10 days, 400 beyond), 1100, 1100.
    ASSERT_EQ(st.righe.size(), 6U);
    EXPECT_DOUBLE_EQ(st.massimoScoperto, -500);
    EXPECT_DOUBLE_EQ(st.massimaEccedenza, -400);
    EXPECT_DOUBLE_EQ(st.scopertoMassimo(), 900);
    EXPECT_DOUBLE_EQ(st.totaleNumeriDebitori, (200 * 5 + 500 * 10 + 400 * 10) / 100.0);
    EXPECT_DOUBLE_EQ(st.totaleNumeriCreditori, (1000 * 1 + 1000 * 4 + 1100 * 11) / 100.0);
}

// A movement counts at its value date, at its operation date when the value date is
// not a date, and not at all (named for the message) when neither is; an amount no
// computation may count is 0.
TEST(StaffaMovimenti, MovementsWithoutAUsableDateOrAmount) {
    const std::vector<Movimento> movimenti = {
        mov(1, "00/00/0000", 100, "E", "N", "10/01/2001"),
        mov(2, "", 20, "E", "N", "20/12/2000"),
        mov(3, "31/02/2001", 5, "U", "N", "00/00/0000"),
        mov(4, "12/01/2001", 1e300, "E"),
        mov(5, "12/01/2001", 40, "U"),
        mov(6, "  /  /    ", 1, "E", "N", ""),
    };
    const RisultatoStaffa st = calcolaStaffa(movimenti, periodo("01/01/2001", "31/01/2001"));
    confronta(st, {{"31/12/2000", 1020, 1},
                   {"01/01/2001", 1020, 9},
                   {"10/01/2001", 1120, 2},
                   {"12/01/2001", 1080, 19},
                   {"31/01/2001", 1080, 0}});
    EXPECT_EQ(st.movimentiSenzaData, (std::vector<qint16>{3, 6}));
    EXPECT_EQ(dataDelMovimento(movimenti[0]), d("10/01/2001"));
    EXPECT_EQ(dataDelMovimento(movimenti[2]), std::nullopt);
    EXPECT_EQ(estremiStaffa(movimenti), std::pair(d("20/12/2000"), d("12/01/2001")));

    const QString messaggio = messaggioMovimentiSenzaData(st.movimentiSenzaData);
    EXPECT_EQ(messaggio, QStringLiteral("I seguenti movimenti non hanno né una data valuta né "
                                        "una data operazione valida e non sono compresi nella "
                                        "staffa: nr. 3, 6.\nCorreggi le date di questi "
                                        "movimenti."));
    std::vector<qint16> molti(25);
    for (int i = 0; i < 25; ++i)
        molti[size_t(i)] = qint16(i + 1);
    EXPECT_TRUE(messaggioMovimentiSenzaData(molti).contains(
        QStringLiteral("nr. 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, "
                       "20 e altri 5.")));
    EXPECT_TRUE(messaggioMovimentiSenzaData({}).isEmpty());
}

// The period a staffa opens with, and how its fields are read.
TEST(StaffaPeriodo, OpeningPeriodAndPeriodDates) {
    const std::vector<Movimento> movimenti = {mov(1, "03/02/2005", 1, "E"),
                                              mov(2, "01/02/2005", 1, "E", "N", "09/02/2005"),
                                              mov(3, "28/02/2005", 1, "U")};
    const QDate oggi = d("09/12/2026");
    struct Caso {
        const char* nome;
        std::vector<Movimento> movimenti;
        const char* riporto;
        const char* dal;
        const char* al;
    };
    const std::vector<Caso> casi = {
        {"from the earliest to the latest value date", movimenti, "", "01/02/2005", "28/02/2005"},
        {"from the last closing", movimenti, "31/12/2004", "31/12/2004", "28/02/2005"},
        {"a closing date that is no date is no closing", movimenti, "00/00/0000", "01/02/2005",
         "28/02/2005"},
        {"no movement and no closing: today", {}, "", "09/12/2026", "09/12/2026"},
        {"no movement: from the closing to today", {}, "30/06/2026", "30/06/2026", "09/12/2026"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        EXPECT_EQ(periodoIniziale(c.movimenti, QString::fromLatin1(c.riporto), oggi),
                  std::pair(d(c.dal), d(c.al)));
    }

    const std::vector<std::pair<const char*, QDate>> date = {
        {"01/03/2001", d("01/03/2001")}, {"1/03/2001", d("01/03/2001")},
        {"29/02/2000", d("29/02/2000")}, {"29/02/2001", QDate()},
        {"31/02/2001", QDate()},         {"__/__/____", QDate()},
        {"01/01/0999", QDate()},         {"", QDate()}};
    for (const auto& [testo, attesa] : date) {
        SCOPED_TRACE(testo);
        EXPECT_EQ(dataDelPeriodo(QString::fromLatin1(testo)).value_or(QDate()), attesa);
    }
}

} // namespace
} // namespace qv
