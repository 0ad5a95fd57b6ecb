// The statement as text: the exact lines of the statement window's list and of the
// printed statement for the worked quarters, and the same amounts on screen and on paper
// for several accounts and periods.
#include "interest/competenze_text.h"

#include "casi_competenze.h"
#include "common/amounts.h"
#include "righe_attese.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv {
namespace {

const QString kEuro = QStringLiteral("#,###,###,##0.00");

void confrontaRighe(const QStringList& righe, const QStringList& attese) {
    for (qsizetype i = 0; i < std::min(righe.size(), attese.size()); ++i)
        EXPECT_EQ(righe[i], attese[i]) << "line " << i + 1;
    EXPECT_EQ(righe.size(), attese.size());
}

// The quarter in credit: two credit rate periods, the withholding tax above 100, no
// overdraft (the EF commission the plain text "0"), the fee per operation with no
// operation, a closing fee and a zero fee, the result in credit.
TEST(CompetenzeLista, QuarterInCredit) {
    const QStringList attese = {
        "ELEMENTI PER IL CONTEGGIO DELLE COMPETENZE",
        "    ",
        "    INTERESSI CREDITORI",
        "    ",
        "       DECORRENZA    TASSO   NUMERI CREDITORI  INTERESSI CREDITORI",
        "    ",
        "    31/12/2000      02,500      6.000.000,00               410,96",
        "    01/03/2001      03,000      3.000.000,00               246,58",
        "                                               ___________________",
        "                               Totale Lordo                657,53",
        " ",
        "   RIT. FISCALE 27% Imponibile:       657,53  Totale       177,53",
        "                                               ___________________",
        "                               Totale Netto                480,00",
        "__________________________________________________________________",
        "    INTERESSI DEBITORI",
        "    ",
        "       DECORRENZA    TASSO    NUMERI DEBITORI   INTERESSI DEBITORI",
        "    ",
        " EF  31/12/2000     10,000              0,00                 0,00",
        " FF                 15,000              0,00                 0,00",
        "                                               ___________________",
        "                                      Totale                 0,00",
        " ",
        "EF = Entro Fido - FF = Fuori Fido",
        "__________________________________________________________________",
        "    COMMISSIONE MASSIMO SCOPERTO",
        "    ",
        "          DATA      ALIQUOTA  BASE DI CALCOLO  IMPORTO COMMISSIONE",
        "    ",
        " EF   __/__/____    00,500              0,00                    0",
        " FF                 01,500              0,00                 0,00",
        " FFGG               00,250              0,00                 0,00",
        "                                               ___________________",
        "                                                             0,00",
        "__________________________________________________________________",
        "    SPESE",
        "                              QUANTITA'      A LIRE        IMPORTO",
        "    ",
        "        OPERAZIONI                 0          1,50           0,00",
        "        SPESE FISSE DI CHIUSURA                              5,00",
        "        COSTO TENUTA FIDO                                    0,00",
        "                                               ___________________",
        "                               Totale Spese                  5,00",
        "         ",
        "__________________________________________________________________",
        "RIEPILOGO COMPETENZE                      A DEBITO      A CREDITO",
        "         ",
        "  INTERESSI NETTI A CREDITO                                480,00",
        "  INTERESSI NETTI A DEBITO                    0,00",
        "  COMMISSIONE DI MASSIMO SCOPERTO             0,00",
        "  SPESE                                       5,00",
        "                                    ______________  ______________",
        "                            TOTALI            5,00         480,00",
        "COMPETENZE A CREDITO                                       475,00",
        "==================================================================",
        " ",
        " ",
        " ",
        " ",
        " ",
    };
    confrontaRighe(righeListaCompetenze(test::trimestreACredito().calcola(), kEuro), attese);
}

// The quarter beyond the credit line at 360 days: debit interest within and beyond the
// line, the maximum-overdraft commission on the line and on the excess, the two free
// commissions, the flat refund, the debit result and the excess commission with the
// final result.
TEST(CompetenzeLista, QuarterBeyondTheCreditLine) {
    confrontaRighe(righeListaCompetenze(test::trimestreOltreFido().calcola(), kEuro),
                   test::listaTrimestreOltreFido());
}

// The printed statement of the quarter beyond the line: header, bold headings, its own
// columns, the base of the excess commission as computed, and the footer.
TEST(CompetenzeStampa, QuarterBeyondTheCreditLine) {
    struct Attesa {
        const char* testo;
        bool grassetto;
        int font; // 14 and 12: Arial; 8: Courier New
    };
    constexpr int kArial14 = 14;
    constexpr int kArial12 = 12;
    constexpr int kCourier8 = 8;
    const std::vector<Attesa> attese = {
        {"", false, kArial14},
        {"                              Calcolo interessi e costi ", false, kArial14},
        {"                                     ", false, kArial14},
        {"Banca di Prova                         Stampato il 09-12-2026         Valuta: Euro",
         false, kArial12},
        {"", false, kArial12},
        {"    dal 01/04/2001 al 30/06/2001   ", true, kCourier8},
        {" --------------------------------------------------------------------------------", false,
         kCourier8},
        {"ELEMENTI PER IL CONTEGGIO DELLE COMPETENZE", true, kCourier8},
        {"    ", true, kCourier8},
        {"    INTERESSI CREDITORI", true, kCourier8},
        {"    ", true, kCourier8},
        {"       DECORRENZA    TASSO   NUMERI CREDITORI  INTERESSI CREDITORI", true, kCourier8},
        {"    ", true, kCourier8},
        {"      31/03/2001     01,000              0,00                0,00", false, kCourier8},
        {"                                               ___________________", false, kCourier8},
        {"                                 Totale Lordo                0,00", false, kCourier8},
        {" ", false, kCourier8},
        {"   RIT. FISCALE 27% Imponibile:         0,00  Totale         0,00", false, kCourier8},
        {"                                               ___________________", false, kCourier8},
        {"                               Totale Netto                  0,00", false, kCourier8},
        {"__________________________________________________________________", false, kCourier8},
        {"    INTERESSI DEBITORI", true, kCourier8},
        {"    ", true, kCourier8},
        {"       DECORRENZA    TASSO    NUMERI DEBITORI   INTERESSI DEBITORI", true, kCourier8},
        {"    ", true, kCourier8},
        {" EF   31/03/2001     10,000            550,00               15,28", false, kCourier8},
        {" FF                  20,000            150,00                8,33", false, kCourier8},
        {"                                               ___________________", false, kCourier8},
        {"                                      Totale                23,61", false, kCourier8},
        {"EF = Entro Fido - FF = Fuori Fido", false, kCourier8},
        {"__________________________________________________________________", false, kCourier8},
        {"    COMMISSIONE MASSIMO SCOPERTO", true, kCourier8},
        {"    ", true, kCourier8},
        {"          DATA      ALIQUOTA  BASE DI CALCOLO  IMPORTO COMMISSIONE", true, kCourier8},
        {"    ", false, kCourier8},
        {" EF   11/04/2001     00,500          1.000,00                5,00", false, kCourier8},
        {" FF                  01,500            500,00                7,00", false, kCourier8},
        {" FFGG                00,250            500,00                1,00", false, kCourier8},
        {"                                               ___________________", false, kCourier8},
        {"                                                            13,00", false, kCourier8},
        {"    Commissione fido applicato alla massima scopertura", false, kCourier8},
        {"                    ALIQUOTA  BASE DI CALCOLO              IMPORTO", false, kCourier8},
        {"    ", false, kCourier8},
        {"                     00,100          1.500,00                1,50", false, kCourier8},
        {"    Spese debitori applicato sui numeri debitori", false, kCourier8},
        {"                    ALIQUOTA  BASE DI CALCOLO              IMPORTO", false, kCourier8},
        {"    ", false, kCourier8},
        {"                     02,000            700,00                3,89", false, kCourier8},
        {"__________________________________________________________________", false, kCourier8},
        {"    SPESE", true, kCourier8},
        {"                              QUANTITA'      A LIRE        IMPORTO", false, kCourier8},
        {"    ", false, kCourier8},
        {"        OPERAZIONI                 0          0,50           0,00", false, kCourier8},
        {"        COSTO TENUTA FIDO                                    4,00", false, kCourier8},
        {"        RIMBORSO FORFETTARIO                                 2,00", false, kCourier8},
        {"        Bollo                                                1,00", false, kCourier8},
        {"                                               ___________________", false, kCourier8},
        {"                               Totale Spese                  7,00", false, kCourier8},
        {"         ", false, kCourier8},
        {"__________________________________________________________________", false, kCourier8},
        {"RIEPILOGO COMPETENZE                      A DEBITO      A CREDITO", true, kCourier8},
        {"         ", false, kCourier8},
        {"  INTERESSI NETTI A CREDITO                                  0,00", false, kCourier8},
        {"  INTERESSI NETTI A DEBITO                   23,61", false, kCourier8},
        {"  COMMISSIONE DI MASSIMO SCOPERTO            13,00", false, kCourier8},
        {"  Commissione fido                            1,50", false, kCourier8},
        {"  Spese debitori                              3,89", false, kCourier8},
        {"  SPESE                                       7,00", false, kCourier8},
        {"                                    ______________  ______________", false, kCourier8},
        {"                            TOTALI           49,00           0,00", false, kCourier8},
        {"SBILANCIO COMPETENZE                         49,00", true, kCourier8},
        {"                           ", false, kCourier8},
        {" - COMMISSIONE ECCEDENZA O EXTRAFIDO ", true, kCourier8},
        {"   ALIQUOTA    BASE DI CALCOLO  IMPORTO COMMISSIONE", false, kCourier8},
        {"     02,000              500,00              10,00", false, kCourier8},
        {"        ", false, kCourier8},
        {"     SBILANCIO COMPETENZE A DEBITO           59,00", true, kCourier8},
        {"==================================================================", true, kCourier8},
        {" ", false, kCourier8},
        {" ", false, kCourier8},
        {" ", false, kCourier8},
        {" ", false, kCourier8},
        {" ", false, kCourier8},
        {" ----------------------------------------------------------------------------------------"
         "------",
         false, kCourier8},
        {"                                                       .....fine stampa", false,
         kCourier8},
    };
    const IntestazioneStampaStaffa intestazione{
        QStringLiteral("Banca di Prova"), test::giorno("09/12/2026"), QStringLiteral("Euro"),
        QStringLiteral("01/04/2001"), QStringLiteral("30/06/2001")};
    const std::vector<RigaStampaStaffa> stampa =
        stampaCompetenze(test::trimestreOltreFido().calcola(), intestazione, kEuro);
    ASSERT_EQ(stampa.size(), attese.size());
    for (size_t i = 0; i < attese.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(stampa[i].testo, QString::fromUtf8(attese[i].testo));
        EXPECT_EQ(stampa[i].grassetto, attese[i].grassetto);
        EXPECT_EQ(stampa[i].carattere, attese[i].font == kCourier8 ? QStringLiteral("Courier New")
                                                                   : QStringLiteral("Arial"));
        EXPECT_EQ(stampa[i].punti, attese[i].font);
        EXPECT_FALSE(stampa[i].nuovaPagina);
    }
}

// The commission on the excess beyond the credit line: the paper prints its base as
// computed, the screen in whole units; the commission is in whole units on both.
TEST(CompetenzeStampa, ExcessBaseAsComputedOnPaper) {
    test::CasoCompetenze c = test::trimestreOltreFido();
    c.movimenti[0].importo = 15247.73; // 14.247,73 beyond the credit line of 1.000,00
    const RisultatoCompetenze r = c.calcola();
    const IntestazioneStampaStaffa intestazione{QStringLiteral("Banca"), test::giorno("09/12/2026"),
                                                QStringLiteral("Euro"), QString(), QString()};
    QStringList carta;
    for (const RigaStampaStaffa& riga : stampaCompetenze(r, intestazione, kEuro))
        carta << riga.testo;
    const qsizetype titolo = carta.indexOf(QStringLiteral(" - COMMISSIONE ECCEDENZA O EXTRAFIDO "));
    ASSERT_GT(titolo, 0);
    ASSERT_LT(titolo + 2, carta.size());
    EXPECT_EQ(carta[titolo + 1],
              QStringLiteral("   ALIQUOTA    BASE DI CALCOLO  IMPORTO COMMISSIONE"));
    EXPECT_EQ(carta[titolo + 2],
              QStringLiteral("     02,000           14.247,73             284,00"));

    const QStringList schermo = righeListaCompetenze(r, kEuro);
    const qsizetype voce = schermo.indexOf(QStringLiteral(" - COMMISSIONE ECCEDENZA O EXTRAFIDO "));
    ASSERT_GT(voce, 0);
    ASSERT_LT(voce + 4, schermo.size());
    EXPECT_EQ(schermo[voce + 4],
              QStringLiteral("    02,000           14.247,00              284,00"));
}

// Charges and excess commission equal to the net interest: the final line stays on the
// credit side with 0, as the summary above it, on paper and on screen.
TEST(CompetenzeStampa, FinalLineOnTheSideOfTheSummaryWhenEven) {
    test::CasoCompetenze c = test::trimestreOltreFido();
    c.parametri.condizioni = test::condizioniNeutre(); // every rate and fee 0
    const RisultatoCompetenze r = c.calcola();
    ASSERT_TRUE(r.conEccedenza());
    const IntestazioneStampaStaffa intestazione{QStringLiteral("Banca"), test::giorno("09/12/2026"),
                                                QStringLiteral("Euro"), QString(), QString()};
    const std::vector<RigaStampaStaffa> stampa = stampaCompetenze(r, intestazione, kEuro);
    const std::vector<std::pair<const char*, bool>> coda = {
        {"                            TOTALI            0,00           0,00", false},
        {"COMPETENZE A CREDITO                                         0,00", true},
        {"                           ", false},
        {" - COMMISSIONE ECCEDENZA O EXTRAFIDO ", true},
        {"   ALIQUOTA    BASE DI CALCOLO  IMPORTO COMMISSIONE", false},
        {"     00,000              500,00               0,00", false},
        {"        ", false},
        {"     COMPETENZE FINALI A CREDITO              0,00", true},
        {"==================================================================", true},
        {" ", false},
        {" ", false},
        {" ", false},
        {" ", false},
        {" ", false},
        {" ----------------------------------------------------------------------------------------"
         "------",
         false},
        {"                                                       .....fine stampa", false},
    };
    ASSERT_GT(stampa.size(), coda.size());
    const size_t inizio = stampa.size() - coda.size();
    for (size_t i = 0; i < coda.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(stampa[inizio + i].testo, QString::fromLatin1(coda[i].first));
        EXPECT_EQ(stampa[inizio + i].grassetto, coda[i].second);
    }

    const QStringList schermo = righeListaCompetenze(r, kEuro);
    EXPECT_TRUE(schermo.contains(
        QStringLiteral("COMPETENZE A CREDITO                                         0,00")));
    EXPECT_TRUE(
        schermo.contains(QStringLiteral("COMPETENZE FINALI A CREDITO                   0,00")));
}

// Takes the line of the commission on the excess (the first line with text under its
// column heading) out of the statement's lines and gives it back; empty when the
// statement has none.
QString togliRigaEccedenza(QStringList& righe) {
    const qsizetype titolo =
        righe.indexOf(QStringLiteral("   ALIQUOTA    BASE DI CALCOLO  IMPORTO COMMISSIONE"));
    if (titolo < 0) return {};
    for (qsizetype k = titolo + 1; k < righe.size(); ++k)
        if (!righe[k].trimmed().isEmpty()) return righe.takeAt(k);
    return {};
}

// The figures of one line.
std::vector<double> valori(const QString& riga) {
    std::vector<double> out;
    for (const test::Importo& i : test::cifre({riga}))
        out.push_back(i.valore);
    return out;
}

// Screen and paper give the same rates, bases, numbers, interest, commissions, tax, fees,
// totals and final amount for every statement: both lay out one computation. Only the
// base of the commission on the excess differs when it has a fraction.
TEST(CompetenzeStampa, ScreenAndPaperAgreeOnEveryAmount) {
    struct Caso {
        const char* nome;
        test::CasoCompetenze caso;
        QString formato;
    };
    std::vector<Caso> casi;
    casi.push_back({"quarter in credit", test::trimestreACredito(), kEuro});
    casi.push_back({"quarter beyond the line", test::trimestreOltreFido(), kEuro});
    {
        test::CasoCompetenze c = test::trimestreOltreFido();
        c.parametri.staffa.fattoreValuta = 1936.27;
        casi.push_back(
            {"beyond the line in lire, no decimals", c, QStringLiteral("#,###,###,##0")});
    }
    {
        test::CasoCompetenze c = test::trimestreACredito();
        c.parametri.staffa.al = test::giorno("31/12/2001");
        c.movimenti = {test::movimento(1, "10/05/2001", 100250.75, "U"),
                       test::movimento(2, "20/05/2001", 90000, "E")};
        c.parametri.condizioni.oneri.descrizioneLibera2 = QStringLiteral("Diritti");
        c.parametri.condizioni.oneri.baseLibera2 = QStringLiteral("1");
        c.parametri.condizioni.oneri.aliquotaLibera2 = 3;
        casi.push_back(
            {"year in credit with a short excess", c, QStringLiteral("#,###,###,##0.000")});
    }
    const IntestazioneStampaStaffa intestazione{QStringLiteral("Banca"), test::giorno("09/12/2026"),
                                                QStringLiteral("Euro"), QString(), QString()};
    for (Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        const RisultatoCompetenze r = c.caso.calcola();
        const std::vector<RigaStampaStaffa> stampa = stampaCompetenze(r, intestazione, c.formato);
        QStringList carta;
        // The body: without the page header (7 lines) and the footer (2 lines).
        for (size_t i = 7; i + 2 < stampa.size(); ++i)
            carta << stampa[i].testo;
        QStringList lista = righeListaCompetenze(r, c.formato);
        // The line of the commission on the excess is the one that differs: the paper
        // prints its base as computed, the screen in whole units.
        const QString rigaCarta = togliRigaEccedenza(carta);
        const QString rigaSchermo = togliRigaEccedenza(lista);
        const std::vector<test::Importo> schermo = test::cifre(lista);
        EXPECT_GE(schermo.size(), 20U);
        EXPECT_EQ(test::cifre(carta), schermo);
        ASSERT_EQ(rigaCarta.isEmpty(), !r.conEccedenza());
        if (!r.conEccedenza()) continue;
        const std::vector<double> suCarta = valori(rigaCarta);
        const std::vector<double> suSchermo = valori(rigaSchermo);
        ASSERT_EQ(suCarta.size(), 3U);
        ASSERT_EQ(suSchermo.size(), 3U);
        EXPECT_EQ(suCarta[0], suSchermo[0]); // rate
        EXPECT_EQ(suCarta[2], suSchermo[2]); // commission
        EXPECT_EQ(suCarta[1], valori(formatNumber(r.eccedenza, c.formato)).at(0));
        EXPECT_EQ(suSchermo[1], valori(formatNumber(std::floor(r.eccedenza), c.formato)).at(0));
    }
}

} // namespace
} // namespace qv
