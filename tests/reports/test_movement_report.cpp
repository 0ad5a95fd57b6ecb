// The printed movement list ("Elenco Movimenti") of the account written byte by byte:
// from the print menu and from the movement list by period, page by page and line by
// line, with its page break at 53 counted lines, its totals and its end.
#include "report_fixture.h"

#include "ledger/period_list_form.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "reports/print_menu_form.h"
#include "shell/main_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>

namespace qv::test {
namespace {

const QString kTitolo = sp(37) + "Elenco Movimenti ";
const QString kConto = " BANCA DI PROVA" + sp(2) + sp(23) + "Stampato il 09-12-2026" + sp(9) +
                       "Valuta: Euro - Unione Europea";
const QString kColonne = "    Data       Valuta        Mov. Dare  Mov. Avere       Saldo    "
                         "Descr. Movimento";
const QString kRiporto = " 31/10/2026" + sp(12) + sp(12) + "       1.000,00" +
                         "       1.000,00 Riporto Chiusura precedente";

// The header of every page for a selection line.
QStringList header(const QString& selezione) {
    return {"", kTitolo, sp(37), kConto, "", selezione, rule94(), kColonne, rule94(), ""};
}

// An amount column: right-aligned in 15.
QString r15(const QString& amount) {
    return amount.rightJustified(15);
}

class MovementReport : public ReportTest {};

TEST_F(MovementReport, TheWholeAccountFromThePrintMenu) {
    withPrintMenu([](Form21& menu) { menu.Saldi->click(); });
    ASSERT_EQ(documents(), 1);
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    const QStringList body{
        kRiporto,
        " 01/11/2026 02/11/2026*" + sp(12) + r15("500,00") + r15("1.500,00") +
            " Versamento  stipendio" + sp(11),
        " 02/11/2026 02/11/2026*" + sp(12) + r15("1.234,50") + r15("2.734,50") +
            " Versamento B7 bonifico" + sp(12),
        " 05/11/2026 06/11/2026 " + QString(" ") + r15("120,50") + sp(11) + r15("2.614,00") +
            " Assegno 1234 idraulico" + sp(11),
        sp(68) + "pagato idraulico",
        sp(68) + "secondo carnet",
        " 10/11/2026 12/11/2026*" + QString(" ") + r15("200,00") + sp(11) + r15("2.414,00") +
            " Prelievo  prelievo bancomat" + sp(3),
        rule94(),
        "    Importo dei movimenti non elencati" + sp(12) + "           0,00  = Euro 0,00",
        rule94(),
        " Saldo Contabile       " + sp(27) + "       2.414,00   Nr. Movimenti: 4",
        sp(46) + "  = Euro 2.414,00",
    };
    const QString selezione = "    dal 01/11/2026 al 10/11/2026  Causali selezionate:  TUTTE"
                              "  * movimenti non sospesi";
    // Four movement lines and two notes count: 42 filling lines.
    EXPECT_EQ(p[0], header(selezione) + body + endOfReport(6, 48, 1));

    // Titles in Arial 18, the account line in 12, the selection in bold Courier New 9,75,
    // everything after it in plain Courier New 9,75.
    const PrintedPage& page = printed.lastDocument()[0];
    EXPECT_EQ(page[1], (PrintedLine{kTitolo, "Arial", 18, false}));
    EXPECT_EQ(page[3], (PrintedLine{kConto, "Arial", 12, false}));
    EXPECT_EQ(page[4], (PrintedLine{"", "Arial", 12, false}));
    EXPECT_EQ(page[5], (PrintedLine{selezione, "Courier New", 9.75, true}));
    for (size_t i = 6; i < page.size(); ++i)
        EXPECT_EQ(page[i].fontName + (page[i].bold ? " bold " : " ") +
                      QString::number(page[i].fontSize),
                  "Courier New 9.75")
            << i;
    EXPECT_FALSE(formHost().loaded<Form21>());
}

TEST_F(MovementReport, FromTheMovementListWithItsRangeAndCausale) {
    Form11& lista = formHost().form<Form11>();
    formHost().show(lista);
    lista.DataOper->setTesto("05/11/2026");
    lista.Combo1->setCurrentIndex(lista.Combo1->findText("Prelievo", Qt::MatchStartsWith));
    ASSERT_TRUE(lista.PulStampe->isEnabled());
    lista.PulStampe->click();
    const auto p = pages();
    ASSERT_EQ(p.size(), 1u);
    // Only the withdrawal is listed; the rest enters the book balance through the
    // total of the movements left out: 500 + 1.234,50 - 120,50.
    const QStringList body{
        kRiporto,
        " 10/11/2026 12/11/2026*" + QString(" ") + r15("200,00") + sp(11) + r15("800,00") +
            " Prelievo  prelievo bancomat" + sp(3),
        rule94(),
        "    Importo dei movimenti non elencati" + sp(12) + "       1.614,00  = Euro 1.614,00",
        rule94(),
        " Saldo Contabile       " + sp(27) + "       2.414,00   Nr. Movimenti: 1",
        sp(46) + "  = Euro 2.414,00",
    };
    EXPECT_EQ(p[0], header("    dal 05/11/2026 al 10/11/2026  Causali selezionate: Prelievo"
                           "  * movimenti non sospesi") +
                        body + endOfReport(1, 48, 1));
}

// A movement of causale "VE" on day `day` of January 2026, of `amount`.
QByteArray january(int n, int day, double amount) {
    const QByteArray data = QStringLiteral("%1/01/2026").arg(day, 2, 10, QChar('0')).toLatin1();
    return movimentoBytes(
        {qint16(n), data.constData(), data.constData(), "VE", amount, "", "riga", "S", "E", "N"});
}

TEST_F(MovementReport, FiftyTwoCountedLinesFillAPageTheFiftyThirdStartsTheNext) {
    // The balance after movement n: 1.000,00 carried forward and n times 1,00.
    const auto saldo = [](int n) { return QStringLiteral("1.%1,00").arg(n, 3, 10, QChar('0')); };
    const auto line = [&](int n) {
        return " 01/01/2026 01/01/2026 " + sp(12) + r15("1,00") + r15(saldo(n)) +
               " Versamento  riga" + sp(16);
    };
    struct Case {
        int movements;
        int pages;
    };
    for (const Case c : {Case{52, 1}, Case{53, 2}}) {
        SCOPED_TRACE(c.movements);
        std::vector<QByteArray> movements;
        for (int n = 1; n <= c.movements; ++n)
            movements.push_back(january(n, 1, 1.0));
        writeMovements(movements);
        printed.clear();
        stampaMovimenti({"01/01/2026", "31/01/2026", " TUTTE"});
        const auto p = pages();
        ASSERT_EQ(int(p.size()), c.pages);
        const QString selezione = "    dal 01/01/2026 al 31/01/2026  Causali selezionate:  TUTTE"
                                  "  * movimenti non sospesi";
        QStringList first = header(selezione) + QStringList{kRiporto};
        for (int n = 1; n <= 52; ++n)
            first << line(n);
        const QStringList totals{
            rule94(),
            "    Importo dei movimenti non elencati" + sp(12) + r15("0,00") + "  = Euro 0,00",
            rule94(),
            " Saldo Contabile       " + sp(27) + r15(saldo(c.movements)) +
                "   Nr. Movimenti: " + QString::number(c.movements),
            sp(46) + "  = Euro " + saldo(c.movements),
        };
        if (c.pages == 1) {
            EXPECT_EQ(p[0], first + totals + endOfReport(52, 48, 1));
            continue;
        }
        // No empty line between the rule and "Pagina" in this report.
        EXPECT_EQ(p[0], first + QStringList({rule95(), pageBreak(1)}));
        EXPECT_EQ(p[1], header(selezione) + QStringList{line(53)} + totals + endOfReport(1, 48, 2));
    }
}

TEST_F(MovementReport, LinesOfUnknownCausaliUnusableAmountsAndOpenRanges) {
    writeMovements({
        movimentoBytes({1, "03/02/2026", "04/02/2026", "XX", 10, "", "ignota", "N", "U", "N"}),
        movimentoBytes({2, "05/02/2026", "05/02/2026", "VE", 1e14, "", "rovinato", "N", "E", "N"}),
        movimentoBytes({3, "06/02/2026", "06/02/2026", "VE", 5, "", "", "N", "E", "N"}),
    });
    struct Case {
        const char* dal;
        const char* al;
        QStringList lines; // the movement lines
    };
    const QString ignota = " 03/02/2026 04/02/2026*" + QString(" ") + r15("10,00") + sp(11) +
                           r15("990,00") + "   ignota" + sp(14);
    const QString rovinato = " 05/02/2026 05/02/2026*" + sp(12) + r15("0,00") + r15("990,00") +
                             " Versamento  rovinato" + sp(12);
    const QString cinque =
        " 06/02/2026 06/02/2026*" + sp(12) + r15("5,00") + r15("995,00") + " Versamento  " + sp(20);
    const Case cases[] = {
        // An unknown causale shows no description, an amount no record can hold counts 0.
        {"01/02/2026", "28/02/2026", {ignota, rovinato, cinque}},
        // A bound that is no date lets every movement in; so does an empty field.
        {"__/__/____", "03/02/2026", {ignota, rovinato, cinque}},
        {"31/02/2026", "01/01/2000", {ignota, rovinato, cinque}},
        // A range that is no range lists nothing; everything is left out.
        {"01/03/2026", "01/02/2026", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dal);
        printed.clear();
        stampaMovimenti({c.dal, c.al, " TUTTE"});
        const QStringList page = pages().at(0);
        EXPECT_EQ(page.mid(11, c.lines.size()), c.lines);
        const QString fuori =
            c.lines.isEmpty() ? r15("-5,00") + "  = Euro -5,00" : r15("0,00") + "  = Euro 0,00";
        EXPECT_EQ(page.at(12 + c.lines.size()),
                  "    Importo dei movimenti non elencati" + sp(12) + fuori);
        EXPECT_EQ(page.at(15 + c.lines.size()), sp(46) + "  = Euro 995,00");
    }
}

TEST_F(MovementReport, EuroTotalsAlwaysShowTwoDecimalsWhateverTheDisplay) {
    // Shown in a currency of 2 units per Euro with no decimals; the Euro amounts of the
    // totals keep the pattern "#,###,###,##0.00" (12 is "12,00", 0 is "0,00").
    stato().FattoreValuta = 2.0;
    stato().FormatoImporti = "#,###,###,##0";
    writeBytes(file(".RIP"), text("", 10) + leDouble(0));
    reload();
    writeMovements(
        {movimentoBytes({1, "03/02/2026", "03/02/2026", "VE", 12, "", "", "S", "E", "N"})});
    stampaMovimenti({"01/02/2026", "28/02/2026", "Versamento"});
    const QStringList page = pages().at(0);
    // A carry-forward of 0 (an account never closed) stands in the "Mov. Dare" place.
    EXPECT_EQ(page.at(10), " " + sp(10) + sp(12) + " " + r15("0") + sp(11) + r15("0") +
                               " Riporto Chiusura precedente");
    EXPECT_EQ(page.at(11), " 03/02/2026 03/02/2026 " + sp(12) + r15("24") + r15("24") +
                               " Versamento  " + sp(20));
    EXPECT_EQ(page.at(13),
              "    Importo dei movimenti non elencati" + sp(12) + r15("0") + "  = Euro 0,00");
    EXPECT_EQ(page.at(15), " Saldo Contabile       " + sp(27) + r15("24") + "   Nr. Movimenti: 1");
    EXPECT_EQ(page.at(16), sp(46) + "  = Euro 12,00");
}

TEST_F(MovementReport, AnUnreadableListFileIsReportedAndNothingPrinted) {
    QFile::remove(file(".Ord"));
    ASSERT_TRUE(QDir(dataFolder()).mkdir("CC1.Ord"));
    stampaMovimenti({"01/11/2026", "10/11/2026", " TUTTE"});
    EXPECT_TRUE(printed.documents().empty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].contains("CC1.Ord")) << messages.texts()[0].toStdString();
    EXPECT_TRUE(messages.texts()[0].contains("La stampa non è stata eseguita."));
}

} // namespace
} // namespace qv::test
