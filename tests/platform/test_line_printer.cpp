// The line printer: the capture back end the report tests read, the global
// printer switch, and the PDF output used when the machine has no printer.
#include "platform/line_printer.h"
#include "platform/message_box.h"
#include "platform/qt_printer.h"
#include "support/pdf_text.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qv {
namespace {

using test::pdfPageCount;
using test::pdfPages;

TEST(CapturePrinter, RecordsLinesWithTheirFontPageByPageAndDocumentByDocument) {
    CapturePrinter p;
    p.setFontName("Arial");
    p.setFontSize(18);
    p.printLine("");
    p.printLine("   Titolo");
    p.setFontName("Courier New");
    p.setFontSize(9.75);
    p.setBold(true);
    p.printLine(" dal 01/01/2024");
    p.setBold(false);
    p.newPage();
    p.printLine(" riga");
    EXPECT_TRUE(p.documentOpen());
    p.endDoc();
    EXPECT_FALSE(p.documentOpen());
    p.printLine("seconda stampa");

    ASSERT_EQ(p.documents().size(), 2u);
    const auto& first = p.documents().front();
    ASSERT_EQ(first.size(), 2u);
    const PrintedPage page1{{"", "Arial", 18, false},
                            {"   Titolo", "Arial", 18, false},
                            {" dal 01/01/2024", "Courier New", 9.75, true}};
    EXPECT_EQ(first[0], page1);
    EXPECT_EQ(first[1], (PrintedPage{{" riga", "Courier New", 9.75, false}}));

    // Font settings carry over into the next document, which is still open.
    EXPECT_TRUE(p.documentOpen());
    ASSERT_EQ(p.lastDocument().size(), 1u);
    EXPECT_EQ(p.lastDocument()[0], (PrintedPage{{"seconda stampa", "Courier New", 9.75, false}}));

    p.clear();
    EXPECT_TRUE(p.documents().empty());
    EXPECT_TRUE(p.lastDocument().empty());
    EXPECT_FALSE(p.documentOpen());
}

TEST(CapturePrinter, PageEndedRightBeforeTheEndLeavesNoBlankPage) {
    CapturePrinter p;
    p.endDoc(); // nothing open: no document
    EXPECT_TRUE(p.documents().empty());

    p.printLine("a");
    p.newPage();
    p.newPage();
    p.endDoc();
    ASSERT_EQ(p.documents().size(), 1u);
    // The first newPage ended page 1, the second printed a blank page 2; ending the
    // document adds nothing more.
    ASSERT_EQ(p.lastDocument().size(), 2u);
    EXPECT_EQ(CapturePrinter::texts(p.lastDocument()[0]), QStringList{"a"});
    EXPECT_TRUE(p.lastDocument()[1].empty());
}

TEST(CapturePrinter, ADocumentMadeAPageAtATimeIsAskedForEachPageAsItPrints) {
    CapturePrinter p;
    std::vector<int> asked;
    std::vector<size_t> pagesWhenAsked;
    const auto page = [&](int k) {
        asked.push_back(k);
        // The pages the printer holds when a page is asked for: those before it, and
        // the fresh page it goes on.
        pagesWhenAsked.push_back(p.documents().empty() ? 0 : p.lastDocument().size());
        if (k == 0)
            return PrintedPage{{"", "Arial", 18, false}, {" uno", "Courier New", 9.75, true}};
        return PrintedPage{{" due", "Courier New", 9.75, false}};
    };
    EXPECT_TRUE(p.printPages(2, page));

    EXPECT_EQ(asked, (std::vector<int>{0, 1}));
    EXPECT_EQ(pagesWhenAsked, (std::vector<size_t>{0, 2}));
    EXPECT_FALSE(p.documentOpen());
    ASSERT_EQ(p.documents().size(), 1u);
    const PrintedDocument expected{
        {{"", "Arial", 18, false}, {" uno", "Courier New", 9.75, true}},
        {{" due", "Courier New", 9.75, false}}};
    EXPECT_EQ(p.lastDocument(), expected);
    EXPECT_EQ(p.fontName(), "Courier New");
    EXPECT_FALSE(p.bold());
}

TEST(PrinterOverride, InstallsAndRemovesTheTestPrinter) {
    CapturePrinter capture;
    setPrinterOverride(&capture);
    printer().printLine("x");
    setPrinterOverride(nullptr);
    EXPECT_EQ(&printer(), static_cast<LinePrinter*>(&qtPrinter()));
    ASSERT_EQ(capture.documents().size(), 1u);
    EXPECT_EQ(CapturePrinter::texts(capture.lastDocument()[0]), QStringList{"x"});
}

// PDF output into a temporary folder, with the message boxes answered and recorded.
class PdfPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::pdfToolsAvailable()) GTEST_SKIP() << "poppler-utils is not installed";
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + "/dati/stampe/";
        p.setPdfOnly(true);
        p.setPdfFolder(folder);
        setMessageResponder([this](const MessageRecord& m) {
            messages.push_back(m);
            return MessageAnswer::Ok;
        });
    }
    void TearDown() override { setMessageResponder({}); }

    QTemporaryDir dir;
    QString folder;
    QtLinePrinter p;
    std::vector<MessageRecord> messages;
};

TEST_F(PdfPrinter, WritesTheLinesIntoAPdfFileAndSaysWhereItIs) {
    p.setFontName("Arial");
    p.setFontSize(18);
    p.printLine("");
    p.printLine("                        Elenco Movimenti");
    p.setFontName("Courier New");
    p.setFontSize(9.75);
    p.setBold(true);
    p.printLine("    dal 01/01/2024 al 31/12/2024");
    p.setBold(false);
    p.printLine(" " + QString(94, '-'));
    p.printLine(" 02/01/2024  Versamento contanti     1.234,56");
    EXPECT_TRUE(messages.empty()); // nothing said before the document ends
    p.endDoc();

    const QString path = p.lastPdfPath();
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFileInfo(path).absolutePath() + "/", folder);
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith("stampa-"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);

    const auto pages = pdfPages(path);
    ASSERT_EQ(pages.size(), 1u);
    const QStringList expected{"Elenco Movimenti", "dal 01/01/2024 al 31/12/2024", QString(94, '-'),
                               "02/01/2024 Versamento contanti 1.234,56"};
    EXPECT_EQ(pages[0], expected);

    // "Courier New" in bold resolves to a real bold face, not a synthetic one.
    if (!QStandardPaths::findExecutable("pdffonts").isEmpty()) {
        EXPECT_TRUE(test::runProgram("pdffonts", {path}).contains("Mono-Bold"));
    }
}

TEST_F(PdfPrinter, EachPageIsOneSheetHoweverFullOrWide) {
    p.setFontName("Courier New");
    p.setFontSize(9.75);
    p.printLine("prima pagina");
    p.newPage();
    // More lines than a sheet holds at this size, and a line wider than the paper:
    // the page is printed smaller, on one sheet, with nothing cut off.
    for (int i = 1; i <= 120; ++i)
        p.printLine(QStringLiteral(" riga %1").arg(i));
    const QString larga = QString(70, 'x') + " centro " + QString(70, 'y') + " fine";
    p.printLine(larga);
    p.newPage(); // right before the end: no blank page
    p.endDoc();
    const auto pages = pdfPages(p.lastPdfPath());
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0], QStringList{"prima pagina"});
    ASSERT_EQ(pages[1].size(), 121);
    for (int i = 0; i < 120; ++i)
        EXPECT_EQ(pages[1][i], QStringLiteral("riga %1").arg(i + 1));
    EXPECT_EQ(pages[1][120], larga);

    // A second document in the same second gets a file of its own.
    const QString first = p.lastPdfPath();
    p.printLine("altra stampa");
    p.endDoc();
    EXPECT_NE(p.lastPdfPath(), first);
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_EQ(pdfPages(p.lastPdfPath()), std::vector<QStringList>{{"altra stampa"}});
}

TEST_F(PdfPrinter, PrintsAWholeDocumentAsTheLinesWouldBe) {
    const PrintedDocument document{
        {{"Titolo", "Arial", 18, false}, {"", "Courier New", 9.75, false}},
        {},
        {{" ultima", "Courier New", 9.75, true}}};
    EXPECT_TRUE(p.print(document));
    EXPECT_EQ(pdfPageCount(p.lastPdfPath()), 3);
    const auto pages = pdfPages(p.lastPdfPath());
    EXPECT_EQ(pages, (std::vector<QStringList>{{"Titolo"}, {}, {"ultima"}}));
}

TEST_F(PdfPrinter, WhetherItCanPrintAndWhyNotInTheProgramsWords) {
    EXPECT_TRUE(p.available().ok());
    QFile blocker(dir.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString stampe = dir.path() + "/file/stampe/";
    p.setPdfFolder(stampe);
    const Esito pronta = p.available();
    EXPECT_TRUE(pronta.fallito());
    EXPECT_EQ(pronta.testo, QStringLiteral("Nessuna stampante disponibile e impossibile scrivere "
                                           "nella cartella delle stampe:\n") +
                                QDir::toNativeSeparators(stampe));
    EXPECT_TRUE(messages.empty());

    // Printing there all the same: one box, with the error icon and the program's title.
    EXPECT_FALSE(p.print({{{"riga", "Arial", 10, false}}}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Nessuna stampante disponibile e impossibile "
                                               "creare la cartella delle stampe:\n%1\n\n"
                                               "La stampa non è stata eseguita.")
                                    .arg(QDir::toNativeSeparators(stampe)));
    EXPECT_EQ(messages[0].title, applicationTitle());
    EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages[0].buttons, MessageButtons::Ok);

    // The capture back end says what the test told it.
    CapturePrinter capture;
    EXPECT_TRUE(capture.available().ok());
    capture.setUnavailable(QStringLiteral("La stampante \"Ufficio\" non è disponibile."));
    EXPECT_TRUE(capture.available().fallito());
    EXPECT_EQ(capture.available().testo,
              QStringLiteral("La stampante \"Ufficio\" non è disponibile."));
    capture.setUnavailable({});
    EXPECT_TRUE(capture.available().ok());
}

TEST_F(PdfPrinter, AFolderThatCannotBeMadeIsReportedAndNothingIsClaimed) {
    QFile blocker(dir.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    p.setPdfFolder(dir.path() + "/file/stampe");
    p.printLine("riga");
    p.printLine("riga");
    p.endDoc();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(messages[0].text.contains("non è stata eseguita"));
    EXPECT_TRUE(p.lastPdfPath().isEmpty());
    EXPECT_FALSE(p.documentOpen());

    // The next document starts afresh.
    messages.clear();
    p.setPdfFolder(folder);
    p.printLine("riga");
    p.endDoc();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(QFile::exists(p.lastPdfPath()));
}

} // namespace
} // namespace qv
