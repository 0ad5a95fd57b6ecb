// The staffa as text: the exact lines of the staffa list with its closing lines for the
// edge cases of a staffa, the work-list items, and the printed lines of a staffa whose
// excess row starts a new page.
#include "staffa/staffa_text.h"
#include "staffa_support.h"
#include "support/fixture.h"

namespace qv {
namespace {

using namespace test;

// The staffa list of the edge cases of a staffa, line by line.
TEST(StaffaLista, LinesOfTheStaffaListForItsEdgeCases) {
    struct Caso {
        const char* nome;
        std::vector<Movimento> movimenti;
        const char* dal;
        const char* al;
        double riporto;
        double fido;
        double fattore;
        bool tutti;
        QStringList attese;
    };
    const std::vector<Caso> casi = {
        {"no movement",
         {},
         "01/01/2001",
         "31/03/2001",
         1000,
         0,
         1,
         true,
         QStringList{credito("31/12/2000", "1.000,00", "1", "10,00"),
                     credito("01/01/2001", "1.000,00", "89", "890,00"),
                     credito("31/03/2001", "1.000,00", "0", "0,00")} +
             chiusura("1.000,00", "0,00", "900,00", "0,00")},
        {"dal = al",
         {},
         "15/06/2001",
         "15/06/2001",
         1000,
         0,
         1,
         true,
         QStringList{credito("14/06/2001", "1.000,00", "1", "10,00"),
                     credito("15/06/2001", "1.000,00", "0", "0,00")} +
             chiusura("1.000,00", "0,00", "10,00", "0,00")},
        {"a movement on dal and one on al",
         {mov(1, "01/01/2001", 500, "E"), mov(1, "31/03/2001", 200, "U")},
         "01/01/2001",
         "31/03/2001",
         1000,
         0,
         1,
         true,
         QStringList{credito("31/12/2000", "1.000,00", "1", "10,00"),
                     credito("01/01/2001", "1.500,00", "89", "1.335,00"),
                     credito("31/03/2001", "1.300,00", "0", "0,00")} +
             chiusura("1.300,00", "0,00", "1.345,00", "0,00")},
        {"several movements on one date",
         {mov(1, "10/01/2001", 100, "E"), mov(1, "10/01/2001", 200, "E"),
          mov(1, "10/01/2001", 50, "U")},
         "01/01/2001",
         "31/01/2001",
         1000,
         0,
         1,
         true,
         QStringList{credito("31/12/2000", "1.000,00", "1", "10,00"),
                     credito("01/01/2001", "1.000,00", "9", "90,00"),
                     credito("10/01/2001", "1.250,00", "21", "262,50"),
                     credito("31/01/2001", "1.250,00", "0", "0,00")} +
             chiusura("1.250,00", "0,00", "362,50", "0,00")},
        {"Non sosopesi: a suspended movement before dal still counts",
         {mov(1, "20/12/2000", 100, "U", "S"), mov(1, "10/01/2001", 300, "E", "S"),
          mov(1, "15/01/2001", 50, "E")},
         "01/01/2001",
         "31/01/2001",
         1000,
         0,
         1,
         false,
         QStringList{credito("31/12/2000", "900,00", "1", "9,00"),
                     credito("01/01/2001", "900,00", "14", "126,00"),
                     credito("15/01/2001", "950,00", "16", "152,00"),
                     credito("31/01/2001", "950,00", "0", "0,00")} +
             chiusura("950,00", "0,00", "287,00", "0,00")},
        {"a balance exactly at minus the credit line",
         {mov(1, "11/01/2001", 1500, "U")},
         "01/01/2001",
         "31/01/2001",
         1000,
         500,
         1,
         true,
         QStringList{credito("31/12/2000", "1.000,00", "1", "10,00"),
                     credito("01/01/2001", "1.000,00", "10", "100,00"),
                     debito("11/01/2001", "-500,00", "20", "100,00"),
                     debito("31/01/2001", "-500,00", "0", "0,00")} +
             chiusura("-500,00", "100,00", "110,00", "0,00", "500,00")},
        {"no credit line and an overdraft",
         {mov(1, "11/01/2001", 300, "U")},
         "01/01/2001",
         "31/01/2001",
         0,
         0,
         1,
         true,
         QStringList{credito("31/12/2000", "0,00", "1", "0,00"),
                     credito("01/01/2001", "0,00", "10", "0,00"),
                     credito("11/01/2001", "0,00", "20", "0,00"),
                     eccedenza("11/01/2001", "-300,00", "20", "60,00"),
                     credito("31/01/2001", "0,00", "0", "0,00"),
                     eccedenza("31/01/2001", "-300,00", "0", "0,00")} +
             chiusura("-300,00", "60,00", "0,00", "300,00")},
        {"display rate 2",
         {mov(1, "11/01/2001", 1500, "U")},
         "01/01/2001",
         "31/01/2001",
         1000,
         500,
         2,
         true,
         QStringList{credito("31/12/2000", "2.000,00", "1", "20,00"),
                     credito("01/01/2001", "2.000,00", "10", "200,00"),
                     debito("11/01/2001", "-1.000,00", "20", "200,00"),
                     debito("31/01/2001", "-1.000,00", "0", "0,00")} +
             chiusura("-1.000,00", "200,00", "220,00", "0,00", "1.000,00")},
        {"beyond the credit line: the overdraft is the capped balance plus the excess",
         {mov(1, "11/01/2001", 1800, "U")},
         "10/01/2001",
         "12/01/2001",
         1000,
         500,
         1,
         true,
         QStringList{credito("09/01/2001", "1.000,00", "1", "10,00"),
                     credito("10/01/2001", "1.000,00", "1", "10,00"),
                     debito("11/01/2001", "-500,00", "1", "5,00"),
                     eccedenza("11/01/2001", "-300,00", "1", "3,00"),
                     debito("12/01/2001", "-500,00", "0", "0,00"),
                     eccedenza("12/01/2001", "-300,00", "0", "0,00")} +
             chiusura("-800,00", "8,00", "20,00", "300,00", "800,00")},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        ParametriStaffa p;
        p.dal = d(c.dal);
        p.al = d(c.al);
        p.saldoRiporto = c.riporto;
        p.fido = c.fido;
        p.fattoreValuta = c.fattore;
        p.tutti = c.tutti;
        p.divisoreNumeri = 100;
        EXPECT_EQ(righeListaStaffa(calcolaStaffa(c.movimenti, p), kFormato), c.attese);
    }
}

// The work-list item of a date: its day number and the date, 18 characters for the
// years 1000 to 2731.
TEST(StaffaLista, WorkListItemOfADate) {
    const std::vector<std::pair<const char*, const char*>> casi = {
        {"05/03/2000", " 732065 05/03/2000"}, // 2000 × 366 + 60 + 5
        {"31/12/2000", " 732366 31/12/2000"}, // 2000 is a leap year
        {"01/01/2001", " 732367 01/01/2001"},
        {"01/01/1000", " 366001 01/01/1000"},
    };
    for (const auto& [data, voce] : casi) {
        SCOPED_TRACE(data);
        EXPECT_EQ(voceDataStaffa(d(data)), QString::fromLatin1(voce));
    }
}

// The printed staffa when an excess row is the 54th row line: its balance row ends page
// 1 and the excess row starts page 2 after the page end and the header.
TEST(StaffaStampa, AnExcessRowStartsTheNextPage) {
    std::vector<Movimento> movimenti;
    for (int giorno = 1; giorno <= 26; ++giorno)
        movimenti.push_back(mov(1,
                                QStringLiteral("%1/01/2001")
                                    .arg(giorno, 2, 10, QLatin1Char('0'))
                                    .toLatin1()
                                    .constData(),
                                0, "E"));
    ParametriStaffa p;
    p.dal = d("01/01/2001");
    p.al = d("26/01/2001");
    p.saldoRiporto = -100;
    p.divisoreNumeri = 100;
    const RisultatoStaffa st = calcolaStaffa(movimenti, p);
    ASSERT_EQ(st.righe.size(), 27U);
    const IntestazioneStampaStaffa intestazione{
        QStringLiteral("Banca di Prova"), d("09/12/2026"), QStringLiteral("Euro"),
        QStringLiteral("01/01/2001"), QStringLiteral("26/01/2001")};
    const std::vector<RigaStampaStaffa> stampa = stampaStaffa(st, intestazione, kFormato);

    const QString arial = QStringLiteral("Arial");
    const QString courier = QStringLiteral("Courier New");
    const auto corpo = [&](const QString& t) { return RigaStampaStaffa{t, courier, 9.75}; };
    const auto header = [&](bool nuovaPagina) {
        return std::vector<RigaStampaStaffa>{
            {QString(), arial, 18, false, nuovaPagina},
            {sp(40) + QStringLiteral("Staffa "), arial, 18},
            {sp(37), arial, 18},
            {QStringLiteral("Banca di Prova") + sp(25) + QStringLiteral("Stampato il 09-12-2026") +
                 sp(9) + QStringLiteral("Valuta: Euro"),
             arial, 12},
            {QString(), arial, 12},
            {QStringLiteral("    dal 01/01/2001 al 26/01/2001   "), courier, 9.75, true},
            corpo(' ' + QString(80, QLatin1Char('-'))),
            corpo(QStringLiteral(" De   Valuta      Saldi Valuta  giorni   Numeri Debitori   "
                                 "Numeri Creditori")),
            corpo(' ' + QString(80, QLatin1Char('-'))),
            corpo(QString()),
        };
    };
    std::vector<RigaStampaStaffa> attese = header(false);
    const auto data = [](int k) { // the date of row k, from 0
        return QDate(2000, 12, 31).addDays(k).toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
    };
    for (int k = 0; k < 27; ++k) {
        const QByteArray giorno = data(k);
        const char* giorni = k < 26 ? "1" : "0";
        const char* numeri = k < 26 ? "1,00" : "0,00";
        attese.push_back(corpo(' ' + credito(giorno.constData(), "0,00", giorni, "0,00")));
        if (k == 26) {
            attese.push_back(corpo(' ' + QString(95, QLatin1Char('-'))));
            attese.push_back(corpo(QString()));
            attese.push_back(corpo(sp(42) + QStringLiteral("Pagina  1 ")));
            const auto seconda = header(true);
            attese.insert(attese.end(), seconda.begin(), seconda.end());
        }
        attese.push_back(corpo(' ' + eccedenza(giorno.constData(), "-100,00", giorni, numeri)));
    }
    const QString regola(87, QLatin1Char('-'));
    attese.push_back(corpo(regola));
    attese.push_back(corpo(QStringLiteral("Liq. finale      ") + pad("-100,00", 16)));
    attese.push_back(corpo(regola));
    attese.push_back(
        corpo(sp(30) + QStringLiteral("Totali   ") + pad("26,00", 16) + ' ' + pad("0,00", 16)));
    attese.push_back(corpo(regola));
    attese.push_back(
        corpo(QStringLiteral(" massima eccedenza/extra fido  Lire    ") + pad("100,00", 16)));
    // One row line counted on page 2: empty lines down to line 47, and one more.
    for (int k = 0; k < 47; ++k)
        attese.push_back(corpo(QString()));
    attese.push_back(corpo(' ' + QString(94, QLatin1Char('-'))));
    attese.push_back(
        corpo(sp(43) + QStringLiteral("Pagina  2 ") + sp(17) + QStringLiteral(".....fine stampa")));

    ASSERT_EQ(stampa.size(), attese.size());
    for (size_t k = 0; k < attese.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(stampa[k].testo, attese[k].testo);
        EXPECT_EQ(stampa[k], attese[k]);
    }
}

// The summary of the print with a negative balance ends with the largest overdraft.
TEST(StaffaStampa, SummaryWithTheLargestOverdraft) {
    ParametriStaffa p;
    p.dal = d("10/01/2001");
    p.al = d("12/01/2001");
    p.saldoRiporto = -800;
    p.fido = 500;
    p.divisoreNumeri = 100;
    const std::vector<RigaStampaStaffa> stampa = stampaStaffa(calcolaStaffa({}, p), {}, kFormato);
    QStringList testi;
    for (const RigaStampaStaffa& r : stampa)
        testi << r.testo;
    // Header, three dates with their excess rows, then the summary.
    const QStringList sommario = testi.mid(16, 8);
    const QString regola(87, QLatin1Char('-'));
    EXPECT_EQ(
        sommario,
        (QStringList{
            regola, QStringLiteral("Liq. finale      ") + pad("-800,00", 16), regola,
            sp(30) + QStringLiteral("Totali   ") + pad("24,00", 16) + ' ' + pad("0,00", 16), regola,
            QStringLiteral(" massima eccedenza/extra fido  Lire    ") + pad("300,00", 16),
            ' ' + QString(94, QLatin1Char('-')),
            QStringLiteral("     Massimo scoperto          Lire    ") + pad("800,00", 16)}));
    // Six row lines leave the count at 7: empty lines from there to 47, and one more.
    EXPECT_EQ(testi.size(), 16 + 8 + 40 + 1 + 2);
}

} // namespace
} // namespace qv
