// The computation of the interest and cost statement: rate periods and their interest,
// withholding tax, debit interest within and beyond the credit line, the commissions,
// the fees, the summary and the final result, and the checks before a statement.
#include "interest/competenze.h"

#include "casi_competenze.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

using test::CasoCompetenze;
using test::causale;
using test::condizioniNeutre;
using test::decorrenze;
using test::giorno;
using test::movimento;
using test::tassi;

// A statement of `dal`..`al` on a constant balance (stored units) with neutral conditions.
CasoCompetenze saldoCostante(double saldo, const char* dal, const char* al) {
    CasoCompetenze c;
    c.parametri.staffa.dal = giorno(dal);
    c.parametri.staffa.al = giorno(al);
    c.parametri.staffa.saldoRiporto = saldo;
    c.parametri.staffa.divisoreNumeri = 1;
    c.parametri.condizioni = condizioniNeutre();
    return c;
}

struct PeriodoAtteso {
    const char* decorrenza;
    double numeri;
    double interessi;
};

void confrontaPeriodi(const std::vector<PeriodoTasso>& periodi,
                      const std::vector<PeriodoAtteso>& attesi) {
    ASSERT_EQ(periodi.size(), attesi.size());
    for (size_t i = 0; i < attesi.size(); ++i) {
        SCOPED_TRACE(attesi[i].decorrenza);
        EXPECT_EQ(periodi[i].decorrenza, QString::fromLatin1(attesi[i].decorrenza));
        EXPECT_NEAR(periodi[i].numeri, attesi[i].numeri, 1e-6);
        EXPECT_NEAR(periodi[i].interessi, attesi[i].interessi, 1e-9);
    }
}

// Credit interest: one line per rate period, the numbers of the rows whose days lie in
// it, interest = rate × numbers / day base × divisor / 100, whatever the divisor.
TEST(CompetenzeCreditori, InterestOfEachRatePeriod) {
    struct Caso {
        const char* nome;
        std::vector<const char*> date;
        std::vector<double> tassi;
        const char* base;
        qint16 divisore;
        std::vector<PeriodoAtteso> attesi;
    };
    // 1.000,00 over 01/01/2001..31/03/2001: 90 days, 90.000 numbers divided by 1.
    const std::vector<Caso> casi = {
        {"one rate, 365 days",
         {"01/01/2000"},
         {2.5},
         "2",
         1,
         {{"31/12/2000", 90000, 2.5 * 90000 / 365 / 100}}},
        {"one rate, 360 days", {"01/01/2000"}, {2.5}, "1", 1, {{"31/12/2000", 90000, 6.25}}},
        {"numbers divided by 1000: the same interest",
         {"01/01/2000"},
         {2.5},
         "1",
         4,
         {{"31/12/2000", 90, 6.25}}},
        {"a divisor code outside 1 to 4 divides by 100",
         {"01/01/2000"},
         {2.5},
         "1",
         9,
         {{"31/12/2000", 900, 6.25}}},
        {"a rate change inside the period splits the days at it",
         {"01/01/2000", "01/03/2001"},
         {2.0, 3.0},
         "1",
         1,
         {{"31/12/2000", 60000, 10.0 / 3}, {"01/03/2001", 30000, 2.5}}},
        {"a rate starting on dal takes the opening row of the day before",
         {"01/01/2000", "01/01/2001"},
         {2.0, 3.0},
         "1",
         1,
         {{"01/01/2001", 90000, 7.5}}},
        {"a rate starting before dal hides the first one",
         {"01/01/2000", "15/06/2000"},
         {2.0, 3.0},
         "1",
         1,
         {{"15/06/2000", 90000, 7.5}}},
        {"a rate starting after al shows with no numbers",
         {"01/01/2000", "01/04/2001"},
         {2.0, 3.0},
         "1",
         1,
         {{"31/12/2000", 90000, 5}, {"01/04/2001", 0, 0}}},
        {"an empty line between set ones ends nothing",
         {"01/01/2000", "__/__/____", "01/03/2001"},
         {2.0, 9.0, 3.0},
         "1",
         1,
         {{"31/12/2000", 60000, 10.0 / 3}, {"01/03/2001", 30000, 2.5}}},
        {"dates out of order: each runs to the next later one",
         {"01/01/2000", "01/03/2001", "01/02/2001"},
         {2.0, 3.0, 4.0},
         "1",
         1,
         {{"31/12/2000", 32000, 2 * 320.0 / 360},
          {"01/03/2001", 30000, 2.5},
          {"01/02/2001", 28000, 4 * 280.0 / 360}}},
        {"a date given twice: the later line holds",
         {"01/01/2000", "01/02/2001", "01/02/2001"},
         {2.0, 3.0, 4.0},
         "1",
         1,
         {{"31/12/2000", 32000, 2 * 320.0 / 360},
          {"01/02/2001", 0, 0},
          {"01/02/2001", 58000, 4 * 580.0 / 360}}},
        {"a start that is not a date is not set",
         {"01/01/2000", "31/02/2001"},
         {2.0, 3.0},
         "1",
         1,
         {{"31/12/2000", 90000, 5}}},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        CasoCompetenze caso = saldoCostante(1000, "01/01/2001", "31/03/2001");
        CondizioniConto& k = caso.parametri.condizioni;
        caso.parametri.staffa.divisoreNumeri = DivisoreNumeri(c.divisore);
        for (size_t i = 0; i < c.date.size(); ++i) {
            k.creditori.dataDecorrenza[i + 1] = QString::fromLatin1(c.date[i]);
            k.creditori.tasso[i + 1] = float(c.tassi[i]);
        }
        k.opzioni.baseGiorniCreditori = QString::fromLatin1(c.base);
        const RisultatoCompetenze r = caso.calcola();
        confrontaPeriodi(r.periodiCreditori, c.attesi);
        double totale = 0;
        for (const PeriodoAtteso& a : c.attesi)
            totale += a.interessi;
        EXPECT_NEAR(r.totaleInteressiCreditori, totale, 1e-9);
        // The extra rows at rate changes leave the totals of the numbers as they were.
        EXPECT_NEAR(r.totaleNumeriCreditori, 90000.0 / caso.parametri.staffa.divisoreNumeri, 1e-6);
    }
}

// The worked quarter in credit, and a balance of hundreds of millions, where single
// precision would lose cents: numbers and interest are kept in double precision.
TEST(CompetenzeCreditori, WorkedQuarterAndLargeBalances) {
    CasoCompetenze caso = test::trimestreACredito();
    RisultatoCompetenze r = caso.calcola();
    confrontaPeriodi(r.periodiCreditori, {{"31/12/2000", 6000000, 2.5 * 6000000 / 365 / 100},
                                          {"01/03/2001", 3000000, 3.0 * 3000000 / 365 / 100}});

    caso = saldoCostante(123456789.01, "01/01/2001", "31/03/2001");
    caso.parametri.condizioni.creditori.tasso = tassi({1.25});
    r = caso.calcola();
    ASSERT_EQ(r.periodiCreditori.size(), 1U);
    EXPECT_DOUBLE_EQ(r.periodiCreditori[0].numeri, 123456789.01 * 90);
    EXPECT_DOUBLE_EQ(r.totaleInteressiCreditori, 1.25 * (123456789.01 * 90) / 365 * 0.01);
}

// Withholding tax: rate × gross interest / 100, 0 when below 1; the taxable amount is
// shown as 0 below 100 but the tax is computed on the gross interest all the same.
TEST(CompetenzeCreditori, WithholdingTax) {
    struct Caso {
        double saldo; // 10 days at 36% on 360 days: gross interest = saldo / 100
        double lordo;
        double imponibile;
        double ritenuta;
    };
    for (const Caso& c : {Caso{9999, 99.99, 0, 26.9973}, Caso{300, 3, 0, 0},
                          Caso{10000, 100, 100, 27}, Caso{5000, 50, 0, 13.5}, Caso{0, 0, 0, 0}}) {
        SCOPED_TRACE(c.saldo);
        CasoCompetenze caso = saldoCostante(c.saldo, "01/01/2001", "10/01/2001");
        CondizioniConto& k = caso.parametri.condizioni;
        k.creditori.tasso = tassi({36});
        k.opzioni.baseGiorniCreditori = QStringLiteral("1");
        k.oneri.ritenutaFiscale = 27;
        const RisultatoCompetenze r = caso.calcola();
        EXPECT_NEAR(r.totaleInteressiCreditori, c.lordo, 1e-9);
        EXPECT_DOUBLE_EQ(r.imponibileRitenuta, c.imponibile > 0 ? r.totaleInteressiCreditori : 0);
        EXPECT_NEAR(r.ritenutaCalcolata, c.ritenuta, 1e-9);
        EXPECT_NEAR(r.interessiCreditoriNetti, c.lordo - c.ritenuta, 1e-9);
        EXPECT_DOUBLE_EQ(r.aliquotaRitenuta, 27);
    }
}

// Rows are debit rows when their balance is below zero: a balance of 0,50 earns credit
// numbers, -0,50 costs debit numbers.
TEST(CompetenzeRighe, ABalanceBelowZeroIsDebit) {
    for (const double saldo : {0.5, 0.0, -0.5}) {
        SCOPED_TRACE(saldo);
        CasoCompetenze caso = saldoCostante(saldo, "01/01/2001", "10/01/2001");
        caso.parametri.staffa.fido = 1000;
        const RisultatoCompetenze r = caso.calcola();
        EXPECT_DOUBLE_EQ(r.totaleNumeriCreditori, saldo > 0 ? saldo * 10 : 0);
        EXPECT_DOUBLE_EQ(r.totaleNumeriDebitori, saldo < 0 ? saldo * 10 : 0);
        ASSERT_EQ(r.periodiDebitori.size(), 1U);
        EXPECT_DOUBLE_EQ(r.periodiDebitori[0].numeri, saldo < 0 ? -saldo * 10 : 0);
    }
}

// Debit interest: EF on the numbers within the credit line, FF on those beyond it, each
// at its own rate of the period.
TEST(CompetenzeDebitori, InterestWithinAndBeyondTheCreditLine) {
    struct Caso {
        const char* nome;
        double saldo; // for 36 days, 360-day year, numbers divided by 1
        double fido;
        double numeriEF;
        double interessiEF; // at 10%
        double numeriFF;
        double interessiFF; // at 20%
    };
    const std::vector<Caso> casi = {
        {"within the line", -1000, 1000, 36000, 10, 0, 0},
        {"beyond the line", -800, 500, 18000, 5, 10800, 6},
        {"no credit line: all beyond it", -800, 0, 0, 0, 28800, 16},
        {"in credit", 800, 0, 0, 0, 0, 0},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        CasoCompetenze caso = saldoCostante(c.saldo, "01/01/2001", "05/02/2001");
        caso.parametri.staffa.fido = c.fido;
        CondizioniConto& k = caso.parametri.condizioni;
        k.debitori.tassoEntroFido = tassi({10});
        k.debitori.tassoFuoriFido = tassi({20});
        k.opzioni.baseGiorniDebitori = QStringLiteral("1");
        const RisultatoCompetenze r = caso.calcola();
        ASSERT_EQ(r.periodiDebitori.size(), 1U);
        const PeriodoTasso& p = r.periodiDebitori[0];
        EXPECT_EQ(p.decorrenza, QStringLiteral("31/12/2000"));
        EXPECT_DOUBLE_EQ(p.numeri, c.numeriEF);
        EXPECT_NEAR(p.interessi, c.interessiEF, 1e-9);
        EXPECT_DOUBLE_EQ(p.numeriFuoriFido, c.numeriFF);
        EXPECT_NEAR(p.interessiFuoriFido, c.interessiFF, 1e-9);
        EXPECT_NEAR(r.totaleInteressiDebitori, c.interessiEF + c.interessiFF, 1e-9);
        EXPECT_DOUBLE_EQ(r.totaleNumeriDebitori, -(c.numeriEF + c.numeriFF));
        EXPECT_DOUBLE_EQ(r.totaleNumeriFuoriFido, -c.numeriFF);
    }

    // A debit rate change inside the period: the day before dal and 01/01 to 20/01 at the
    // first rates, 21/01 to 05/02 (al, the last row, counts no day) at the second.
    CasoCompetenze caso = saldoCostante(-800, "01/01/2001", "05/02/2001");
    caso.parametri.staffa.fido = 500;
    CondizioniConto& k = caso.parametri.condizioni;
    k.debitori.dataDecorrenza = decorrenze({"01/01/2000", "21/01/2001"});
    k.debitori.tassoEntroFido = tassi({10, 5});
    k.debitori.tassoFuoriFido = tassi({20, 40});
    k.opzioni.baseGiorniDebitori = QStringLiteral("1");
    const RisultatoCompetenze r = caso.calcola();
    ASSERT_EQ(r.periodiDebitori.size(), 2U);
    EXPECT_DOUBLE_EQ(r.periodiDebitori[0].numeri, 500 * 21);
    EXPECT_DOUBLE_EQ(r.periodiDebitori[0].numeriFuoriFido, 300 * 21);
    EXPECT_EQ(r.periodiDebitori[1].decorrenza, QStringLiteral("21/01/2001"));
    EXPECT_DOUBLE_EQ(r.periodiDebitori[1].numeri, 500 * 15);
    EXPECT_DOUBLE_EQ(r.periodiDebitori[1].numeriFuoriFido, 300 * 15);
    EXPECT_NEAR(r.totaleInteressiDebitori,
                (10 * 10500 + 20 * 6300 + 5 * 7500 + 40 * 4500) / 360.0 / 100, 1e-9);
}

// The maximum-overdraft commission: nothing when never overdrawn; within the line the
// largest overdraft (shown in whole units) at the EF rate; beyond it the line itself
// at the EF rate and the largest excess, in whole units, at the FF and FFGG rates.
TEST(CompetenzeCommissioni, MaximumOverdraftCommission) {
    struct Caso {
        const char* nome;
        double riporto;
        std::vector<Movimento> movimenti;
        double fido;
        Scoperto scoperto;
        std::optional<QDate> data;
        double baseEF, importoEF, baseFF, importoFF, importoFFGG, totale;
    };
    const std::vector<Caso> casi = {
        {"never overdrawn", 10, {}, 0, Scoperto::Mai, std::nullopt, 0, 0, 0, 0, 0, 0},
        {"within the line",
         0,
         {movimento(1, "05/01/2001", 1234.56, "U")},
         5000,
         Scoperto::EntroFido,
         giorno("05/01/2001"),
         1234,
         6,
         0,
         0,
         0,
         6.1728},
        {"within the line, the total not truncated",
         0,
         {movimento(1, "05/01/2001", 1350, "U")},
         5000,
         Scoperto::EntroFido,
         giorno("05/01/2001"),
         1350,
         6,
         0,
         0,
         0,
         6.75},
        {"beyond the line",
         0,
         {movimento(1, "05/01/2001", 1500, "U"), movimento(2, "07/01/2001", 200, "E")},
         1000,
         Scoperto::OltreFido,
         giorno("05/01/2001"),
         1000,
         5,
         500,
         7,
         1,
         13},
        {"overdrawn from the start: no date",
         -300,
         {},
         5000,
         Scoperto::EntroFido,
         std::nullopt,
         300,
         1,
         0,
         0,
         0,
         1.5},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        CasoCompetenze caso = saldoCostante(c.riporto, "01/01/2001", "10/01/2001");
        caso.movimenti = c.movimenti;
        caso.parametri.staffa.fido = c.fido;
        OneriPassivi& o = caso.parametri.condizioni.oneri;
        o.aliquotaMassimoScoperto = 0.5F;
        o.aliquotaScopertoFuoriFido = 1.5F;
        o.aliquotaScopertoFuoriFidoGiorni = 0.25F;
        const RisultatoCompetenze r = caso.calcola();
        EXPECT_EQ(r.scoperto, c.scoperto);
        EXPECT_EQ(r.dataMassimoScoperto, c.data);
        EXPECT_DOUBLE_EQ(r.baseEntroFido, c.baseEF);
        EXPECT_DOUBLE_EQ(r.importoEntroFido, c.importoEF);
        EXPECT_DOUBLE_EQ(r.baseFuoriFido, c.baseFF);
        EXPECT_DOUBLE_EQ(r.importoFuoriFido, c.importoFF);
        EXPECT_DOUBLE_EQ(r.importoFuoriFidoGiorni, c.importoFFGG);
        EXPECT_NEAR(r.importiCompetenze[1], c.totale, 1e-9);
    }
}

// The free commissions on each base, in either slot; a blank description leaves the
// commission out, a base code outside "1" to "6" has no base and no amount.
TEST(CompetenzeCommissioni, FreeCommissionOnEachBase) {
    // 01/01..10/01/2001: 1.000,00 for 6 days, then -800,00 for 4 days with a credit line
    // of 500,00 (or 1.000,00, within it). Credit 3,65% and debit 36,5% / 73% on 365 days.
    const auto caso = [](double fido) {
        CasoCompetenze c = saldoCostante(1000, "01/01/2001", "10/01/2001");
        c.movimenti = {movimento(1, "06/01/2001", 1800, "U")};
        c.parametri.staffa.fido = fido;
        CondizioniConto& k = c.parametri.condizioni;
        k.creditori.tasso = tassi({3.65});
        k.debitori.tassoEntroFido = tassi({36.5});
        k.debitori.tassoFuoriFido = tassi({73});
        return c;
    };
    struct Caso {
        const char* base;
        double fido;
        double imponibile;
        double importo; // at 10%
    };
    const std::vector<Caso> casi = {
        {"1", 500, 0.6, 0.06},           // credit interest: 6.000 numbers at 3,65%
        {"2", 500, 4.4, 0.44},           // debit interest: 2 within and 2,4 beyond
        {"3", 500, 300, 30},             // the excess
        {"3", 1000, 0, 0},               // no excess within the line
        {"4", 500, 6000, 6000 / 3650.0}, // credit numbers
        {"5", 500, 3200, 3200 / 3650.0}, // debit numbers, made positive
        {"6", 500, 800, 80},             // the maximum overdraft, beyond the line
        {"6", 1000, 800, 80},            // and within it
        {"7", 500, 0, 0},
        {"", 500, 0, 0},
    };
    for (const Caso& c : casi) {
        for (size_t slot = 0; slot < 2; ++slot) {
            SCOPED_TRACE(std::string("base ") + c.base + ", fido " + std::to_string(c.fido) +
                         ", commission " + std::to_string(slot + 1));
            CasoCompetenze x = caso(c.fido);
            OneriPassivi& o = x.parametri.condizioni.oneri;
            (slot == 0 ? o.descrizioneLibera1 : o.descrizioneLibera2) = QStringLiteral("Libera");
            (slot == 0 ? o.baseLibera1 : o.baseLibera2) = QString::fromLatin1(c.base);
            (slot == 0 ? o.aliquotaLibera1 : o.aliquotaLibera2) = 10;
            const RisultatoCompetenze r = x.calcola();
            const CommissioneLibera& l = r.libere[slot];
            EXPECT_TRUE(l.applicata());
            EXPECT_FALSE(r.libere[1 - slot].applicata());
            EXPECT_NEAR(l.imponibile, c.imponibile, 1e-9);
            EXPECT_NEAR(l.importo, c.importo, 1e-9);
            EXPECT_DOUBLE_EQ(r.importiCompetenze[2 + slot], l.importo);
            EXPECT_DOUBLE_EQ(r.importiCompetenze[3 - slot], 0);
        }
    }

    // A blank description: not applied, whatever its base and rate.
    CasoCompetenze x = caso(500);
    x.parametri.condizioni.oneri.descrizioneLibera1 = QStringLiteral("   ");
    x.parametri.condizioni.oneri.baseLibera1 = QStringLiteral("6");
    x.parametri.condizioni.oneri.aliquotaLibera1 = 10;
    const RisultatoCompetenze r = x.calcola();
    EXPECT_FALSE(r.libere[0].applicata());
    EXPECT_DOUBLE_EQ(r.importiCompetenze[2], 0);
}

// Fees: each charged at every statement or at the year end only, as its flag says; the
// fee per operation on the period's movements whose causale is subject to cost, or the
// flat refund when there are fewer than the minimum.
TEST(CompetenzeSpese, FeesAtQuarterAndYearEnd) {
    struct Caso {
        const char* nome;
        const char* al;
        const char* flag; // fees 0 to 6
        int soggetti;     // movements of the period with a causale subject to cost
        qint16 minimo;
        bool operazioni; // fee per operation due
        int numeroOperazioni;
        std::vector<int> voci; // fixed fees charged, in order
        double totale;
    };
    // Fees 0 to 6: 1, 2, 1,50 per operation, 4, 8, 16, 32; both free fees named.
    const std::vector<Caso> casi = {
        {"quarter end, all yearly", "30/06/2001", "0000000", 12, 10, false, 0, {}, 0},
        {"quarter end, only the flat refund quarterly",
         "30/06/2001",
         "0000100",
         12,
         10,
         false,
         0,
         {8},
         8},
        {"year end, all yearly",
         "31/12/2001",
         "0000000",
         12,
         10,
         true,
         12,
         {5, 6, 7, 9, 10},
         18 + 1 + 2 + 4 + 16 + 32},
        {"minimum not reached: no operation charged, the flat refund instead",
         "30/06/2001",
         "1111111",
         5,
         10,
         true,
         0,
         {5, 6, 7, 8, 9, 10},
         1 + 2 + 4 + 8 + 16 + 32},
        {"year end, minimum not reached",
         "31/12/2001",
         "0000000",
         5,
         10,
         true,
         0,
         {5, 6, 7, 8, 9, 10},
         1 + 2 + 4 + 8 + 16 + 32},
        {"minimum reached: no flat refund",
         "30/06/2001",
         "1111111",
         12,
         10,
         true,
         12,
         {5, 6, 7, 9, 10},
         18 + 1 + 2 + 4 + 16 + 32},
        {"flags never saved count as quarterly",
         "30/06/2001",
         "       ",
         12,
         0,
         true,
         12,
         {5, 6, 7, 9, 10},
         18 + 1 + 2 + 4 + 16 + 32},
        {"any other digit counts as yearly", "30/06/2001", "2222222", 12, 0, false, 0, {}, 0},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        CasoCompetenze caso = saldoCostante(100, "01/04/2001", c.al);
        caso.causali = {causale(1, "PR", "1"), causale(2, "VE", "0"), causale(3, " AS ", "1")};
        for (int i = 0; i < c.soggetti; ++i)
            caso.movimenti.push_back(
                movimento(qint16(i + 1), "10/04/2001", 1, "E", i % 2 ? "PR" : "AS"));
        caso.movimenti.push_back(movimento(99, "10/04/2001", 1, "E", "VE"));
        caso.movimenti.push_back(movimento(100, "10/03/2001", 1, "E", "PR")); // before dal
        CondizioniConto& k = caso.parametri.condizioni;
        k.opzioni.minimoMovimenti = c.minimo;
        k.spese.importoSpesa = {1, 2, 1.5, 4, 8, 16, 32};
        for (size_t i = 0; i < 7; ++i)
            k.spese.addebitoTrimestrale[i] = QString(QLatin1Char(c.flag[i])).trimmed();
        k.spese.descrizioneSpesa1 = QStringLiteral("Bollo");
        k.spese.descrizioneSpesa2 = QStringLiteral("Invio estratto conto");
        const RisultatoCompetenze r = caso.calcola();
        EXPECT_EQ(r.chiusuraFineAnno, c.al[0] == '3' && c.al[1] == '1');
        EXPECT_EQ(r.operazioniAddebitate, c.operazioni);
        EXPECT_EQ(r.numeroOperazioni, c.numeroOperazioni);
        EXPECT_DOUBLE_EQ(r.costoOperazione, c.operazioni ? 1.5 : 0);
        EXPECT_DOUBLE_EQ(r.importiCompetenze[4], 1.5 * c.numeroOperazioni);
        std::vector<int> voci;
        for (const SpesaFissa& s : r.speseFisse)
            voci.push_back(s.voce);
        EXPECT_EQ(voci, c.voci);
        EXPECT_DOUBLE_EQ(r.totaleSpese, c.totale);
    }
}

// The fee per operation counts only the movements of the period that the choice takes,
// and a free fee with a blank name is not charged; amounts follow the display rate.
TEST(CompetenzeSpese, ChoiceOfMovementsNamesAndDisplayRate) {
    CasoCompetenze caso = saldoCostante(100, "01/04/2001", "30/06/2001");
    caso.causali = {causale(1, "PR", "1")};
    caso.movimenti = {movimento(1, "10/04/2001", 1, "E", "PR"),
                      movimento(2, "11/04/2001", 1, "E", "PR", "S")};
    caso.parametri.staffa.tutti = false;
    caso.parametri.staffa.fattoreValuta = 2;
    SpeseVarie& s = caso.parametri.condizioni.spese;
    s.importoSpesa = {0, 0, 1.5, 0, 0, 16, 32};
    s.descrizioneSpesa1 = QStringLiteral(" ");
    s.descrizioneSpesa2 = QStringLiteral("Bollo");
    const RisultatoCompetenze r = caso.calcola();
    EXPECT_EQ(r.numeroOperazioni, 1);
    EXPECT_DOUBLE_EQ(r.costoOperazione, 3);
    EXPECT_DOUBLE_EQ(r.importiCompetenze[9], 0);
    EXPECT_DOUBLE_EQ(r.importiCompetenze[10], 64);
    EXPECT_DOUBLE_EQ(r.totaleSpese, 3 + 64);
}

// The summary: everything charged against the net credit interest; beyond the credit
// line the excess commission, in whole units, and the final result with it.
TEST(CompetenzeRiepilogo, ResultWithAndWithoutExcess) {
    struct Caso {
        const char* nome;
        double saldoDopo; // balance of the last 10 of the 20 days (no credit line)
        double spese;     // closing fee
        bool aCredito;
        double saldo;
        bool eccedenza;
        double commissione; // 2,5% of the excess, in whole units
        bool finaliACredito;
        double finali;
    };
    // Net credit interest 10: 1.000,00 for the first 10 days at 36% on 360 days.
    const std::vector<Caso> casi = {
        {"credit result", 0, 4, true, 6, false, 0, true, 0},
        {"charges equal to the net interest", 0, 10, true, 0, false, 0, true, 0},
        {"debit result", 0, 15, false, 5, false, 0, true, 0},
        {"credit result and excess", -100, 4, true, 6, true, 2, true, 4},
        {"credit result turned debit by the excess commission", -410, 4, true, 6, true, 10, false,
         4},
        {"charges and commission equal to the net interest", -240, 4, true, 6, true, 6, true, 0},
        {"debit result and excess", -100, 15, false, 5, true, 2, false, 7},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        CasoCompetenze caso = saldoCostante(1000, "01/01/2001", "20/01/2001");
        caso.movimenti = {movimento(1, "10/01/2001", 1000 - c.saldoDopo, "U")};
        CondizioniConto& k = caso.parametri.condizioni;
        k.creditori.tasso = tassi({36});
        k.opzioni.baseGiorniCreditori = QStringLiteral("1");
        k.oneri.aliquotaEccedenza = 2.5F;
        k.spese.importoSpesa[0] = c.spese;
        const RisultatoCompetenze r = caso.calcola();
        EXPECT_NEAR(r.interessiCreditoriNetti, 10, 1e-9);
        EXPECT_NEAR(r.totaleAddebiti, c.spese, 1e-9);
        EXPECT_EQ(r.competenzeACredito, c.aCredito);
        EXPECT_NEAR(r.saldoCompetenze, c.saldo, 1e-9);
        EXPECT_EQ(r.conEccedenza(), c.eccedenza);
        EXPECT_DOUBLE_EQ(r.commissioneEccedenza, c.commissione);
        EXPECT_EQ(r.finaliACredito, c.finaliACredito);
        EXPECT_NEAR(r.competenzeFinali, c.finali, 1e-9);
    }
}

// The check before a statement: the first start date of the credit rates, then of the
// debit rates, must be a date not later than dal.
TEST(CompetenzeControlli, FirstRateStartDates) {
    const QString& creditori = test::kDecorrenzaCreditori;
    const QString& debitori = test::kDecorrenzaDebitori;
    struct Caso {
        const char* nome;
        const char* creditori;
        const char* debitori;
        const char* dal;
        const QString* messaggio;
    };
    const std::vector<Caso> casi = {
        {"both before dal", "01/01/2000", "01/01/2000", "01/01/2001", nullptr},
        {"both on dal", "01/01/2001", "01/01/2001", "01/01/2001", nullptr},
        {"credit rates later", "02/01/2001", "01/01/2000", "01/01/2001", &creditori},
        {"credit start not set", "__/__/____", "01/01/2000", "01/01/2001", &creditori},
        {"both later: the credit one is named", "02/01/2001", "02/01/2001", "01/01/2001",
         &creditori},
        {"debit rates later", "01/01/2000", "02/01/2001", "01/01/2001", &debitori},
        {"debit start not a date", "01/01/2000", "31/02/2000", "01/01/2001", &debitori},
        {"dal empty: cannot be compared", "01/01/2000", "01/01/2000", "__/__/____", &creditori},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        CondizioniConto k;
        k.creditori.dataDecorrenza = decorrenze({c.creditori});
        k.debitori.dataDecorrenza = decorrenze({c.debitori});
        const auto rifiuto = controllaDecorrenze(k, QString::fromLatin1(c.dal));
        ASSERT_EQ(rifiuto.has_value(), c.messaggio != nullptr);
        if (!rifiuto) continue;
        EXPECT_EQ(rifiuto->testo, *c.messaggio);
        EXPECT_EQ(rifiuto->titolo, QStringLiteral("Attenzione"));
    }
}

// Rates, day bases and fee flags as the statement reads them.
TEST(CompetenzeCondizioni, RatesDayBasesAndFeeFlags) {
    for (const auto& [tasso, atteso] : std::vector<std::pair<float, double>>{
             {0.7F, 0.7}, {2.5F, 2.5}, {12.125F, 12.125}, {27.3F, 27.3}, {0, 0}}) {
        SCOPED_TRACE(atteso);
        EXPECT_EQ(tassoDecimale(tasso), atteso);
    }
    EXPECT_EQ(tassoDecimale(std::nanf("")), 0);

    for (const auto& [codice, giorni] :
         std::vector<std::pair<const char*, int>>{{"1", 360}, {"2", 365}, {"", 365}, {"3", 365}}) {
        SCOPED_TRACE(codice);
        EXPECT_EQ(giorniBase(QString::fromLatin1(codice)), giorni);
    }

    struct Flag {
        const char* flag;
        bool trimestre;
        bool fineAnno;
    };
    for (const Flag& f : {Flag{"1", true, true}, Flag{"0", false, true}, Flag{"", true, true},
                          Flag{"X", true, true}, Flag{"5", false, true}}) {
        SCOPED_TRACE(f.flag);
        EXPECT_EQ(spesaDovuta(QString::fromLatin1(f.flag), false), f.trimestre);
        EXPECT_EQ(spesaDovuta(QString::fromLatin1(f.flag), true), f.fineAnno);
    }

    // A commission in whole units at 0,7% of 1.000,00 is 7, as typed.
    CasoCompetenze caso = saldoCostante(-1000, "01/01/2001", "10/01/2001");
    caso.parametri.condizioni.oneri.aliquotaScopertoFuoriFido = 0.7F;
    EXPECT_DOUBLE_EQ(caso.calcola().importoFuoriFido, 7);
}

} // namespace
} // namespace qv
