// The page frame every report shares, and each report's numbers in it: the page break
// at the report's threshold (the line before it stays, the line at it starts the next
// page), the empty line before "Pagina", the closing lines, a report with no lines; the
// date test and the printed numbers.
#include "report_builders.h"
#include "reports/archive_reports.h"
#include "reports/cheque_reports.h"
#include "reports/movement_report.h"
#include "reports/report_frame.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace qv {
namespace {

using test::ReportUnderTest;
using test::texts;

QString sp(int n) {
    return QString(n, QLatin1Char(' '));
}
const QString kRule94 = " " + QString(94, '-');
const QString kRule95 = " " + QString(95, '-');

TEST(ReportFrame, EachReportBreaksItsPageAtItsThreshold) {
    for (const ReportUnderTest& r : test::reportsUnderTest()) {
        SCOPED_TRACE(r.name);
        // threshold - 1 counted lines fit on the first page.
        const PrintedDocument full = r.build(r.threshold - 1);
        ASSERT_EQ(full.size(), 1u);
        // One more starts the second page: the first closes with the rule of 95, the
        // empty line where the report has one, and its number.
        const PrintedDocument broken = r.build(r.threshold);
        ASSERT_EQ(broken.size(), 2u);
        const QStringList first = texts(broken[0]);
        QStringList close{kRule95};
        if (r.blankBeforePage) close << "";
        close << sp(42) + "Pagina  1 ";
        EXPECT_EQ(first.mid(first.size() - close.size()), close);
        EXPECT_EQ(first.size(), r.bodyStart + r.threshold - 1 + close.size());
        EXPECT_EQ(texts(full[0]).mid(0, r.bodyStart + r.threshold - 1),
                  first.mid(0, r.bodyStart + r.threshold - 1));

        // The second page: the header again, the pending line, the end with page 2.
        const QStringList second = texts(broken[1]);
        EXPECT_EQ(second.mid(0, 10), first.mid(0, 10));
        EXPECT_FALSE(second[10].trimmed().isEmpty());
        EXPECT_EQ(second.last(), sp(43) + "Pagina  2 " + sp(17) + ".....fine stampa");
        // After the last body line and the report's own closing lines (the totals),
        // closing count - 1 empty lines and one more.
        const QStringList tail = second.mid(11 + r.ownLines);
        ASSERT_EQ(tail.size(), r.closing - 1 + 1 + 3);
        for (int i = 0; i < r.closing; ++i)
            EXPECT_EQ(tail[i], "") << i;
        EXPECT_EQ(tail.mid(r.closing), QStringList({kRule94, "", second.last()}));
    }
}

TEST(ReportFrame, AReportWithNoLinesPrintsItsHeaderClosingLinesAndEnd) {
    for (const ReportUnderTest& r : test::reportsUnderTest()) {
        SCOPED_TRACE(r.name);
        const PrintedDocument doc = r.build(0);
        ASSERT_EQ(doc.size(), 1u);
        const QStringList page = texts(doc[0]);
        const int own = r.ownLines;
        ASSERT_EQ(page.size(), r.bodyStart + own + r.closing + 1 + 3);
        for (int i = r.bodyStart + own; i < r.bodyStart + own + r.closing + 1; ++i)
            EXPECT_EQ(page[i], "") << i;
        EXPECT_EQ(page.last(), sp(43) + "Pagina  1 " + sp(17) + ".....fine stampa");
    }
}

TEST(ReportFrame, CountedLinesNeverBreakAndTheEndBlockFollowsTheLayout) {
    // A frame laid out as the period closing's printout: break at 4, an end of its own.
    ReportLayout layout;
    layout.soglia = 4;
    layout.righeChiusura = 4;
    layout.rigaVuotaFinale = false;
    layout.trattiniFinali = 95;
    layout.spaziPaginaFinale = 42;
    layout.fineStampa = sp(17) + "....fine stampa";
    ReportFrame frame(layout, {{"Titolo", "Arial", 18, false}});
    frame.rigaCorpo("a");
    frame.rigaContata("nota 1");
    frame.rigaContata("nota 2");
    frame.rigaContata("nota 3"); // the count is past the threshold: still this page
    frame.rigaCorpo("b");        // the next body line breaks
    frame.riga("totale");        // not counted
    EXPECT_EQ(frame.contatore(), 1);
    const PrintedDocument doc = frame.chiudi();
    ASSERT_EQ(doc.size(), 2u);
    EXPECT_EQ(texts(doc[0]), QStringList({"Titolo", "a", "nota 1", "nota 2", "nota 3", kRule95, "",
                                          sp(42) + "Pagina  1 "}));
    EXPECT_EQ(texts(doc[1]), QStringList({"Titolo", "b", "totale", "", "", "", kRule95, "",
                                          sp(42) + "Pagina  2 " + sp(17) + "....fine stampa"}));
    // The header keeps its font; everything else is in the body font.
    EXPECT_EQ(doc[1][0], (PrintedLine{"Titolo", "Arial", 18, false}));
    EXPECT_EQ(doc[1][1], (PrintedLine{"b", "Courier New", 9.75, false}));
}

TEST(ReportFrame, TheDateTestPassesWhenADateCannotBeRead) {
    struct Case {
        const char* data;
        const char* dal;
        const char* al;
        bool passes;
    };
    const Case cases[] = {
        {"01/03/2026", "01/03/2026", "31/03/2026", true}, // both ends included
        {"31/03/2026", "01/03/2026", "31/03/2026", true},
        {"28/02/2026", "01/03/2026", "31/03/2026", false},
        {"01/04/2026", "01/03/2026", "31/03/2026", false},
        {"1/3/2026", "01/03/2026", "31/03/2026", true},    // one-digit day and month
        {"05/03/2027", "01/03/2026", "31/03/2026", false}, // compared as dates, not texts
        {"00/00/0000", "01/03/2026", "31/03/2026", true},  // a leaf not issued
        {"15/06/2026", "__/__/____", "31/03/2026", true},  // an empty field
        {"15/06/2026", "01/03/2026", "31/02/2026", true},  // a day that does not exist
        {"", "01/03/2026", "31/03/2026", true},
        {"10/03/2026", "31/03/2026", "01/03/2026", false}, // a range that is no range
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataNelPeriodo(c.data, c.dal, c.al), c.passes) << c.data << " " << c.dal;
}

TEST(ReportFrame, NumbersCarryTheirSignPlace) {
    struct Case {
        int numero;
        const char* conSegno;
        const char* stampato;
    };
    const Case cases[] = {{0, " 0", " 0 "},
                          {7, " 7", " 7 "},
                          {12, " 12", " 12 "},
                          {-1, "-1", "-1 "},
                          {32767, " 32767", " 32767 "}};
    for (const Case& c : cases) {
        EXPECT_EQ(numeroConSegno(c.numero), c.conSegno);
        EXPECT_EQ(numeroStampato(c.numero), c.stampato);
    }
}

TEST(ReportFrame, TheCausaleChoiceFindsTheFirstMatchingDescription) {
    std::vector<VoceCausale> causali(3);
    causali[0].codiceCausale = "B1";
    causali[0].descrizione = "Bonifico";
    causali[1].codiceCausale = "B2 ";
    causali[1].descrizione = "Bonifico";
    causali[2].codiceCausale = "VE";
    causali[2].descrizione = " Versamento";
    EXPECT_EQ(codiceCausaleScelto(causali, " TUTTE"), std::nullopt);
    EXPECT_EQ(codiceCausaleScelto(causali, " TUTTE    "), std::nullopt);
    EXPECT_EQ(codiceCausaleScelto(causali, "Bonifico                 "), QString("B1"));
    EXPECT_EQ(codiceCausaleScelto(causali, " Versamento"), QString("VE"));
    // No causale of that description: only movements without a code would pass.
    EXPECT_EQ(codiceCausaleScelto(causali, "Prelievo"), QString(""));
}

} // namespace
} // namespace qv
