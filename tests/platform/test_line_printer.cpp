// The line printer: the capture back end the report tests read, the global
// printer switch, and the PDF output used when the machine has no printer.
#include "platform/line_printer.h"
#include "platform/message_box.h"
#include "platform/qt_printer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qv {
namespace {

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
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            GTEST_SKIP() << "pdftotext is not installed";
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

    static QString run(const QString& program, const QStringList& args) {
        QProcess proc;
        proc.start(program, args);
        proc.waitForFinished(-1);
        return QString::fromUtf8(proc.readAllStandardOutput());
    }
    // The PDF's pages, each as its non-empty lines with runs of blanks made one:
    // text extraction keeps the words and their order, not the exact columns.
    static std::vector<QStringList> pdfPages(const QString& path) {
        std::vector<QStringList> pages;
        for (const QString& page :
             run("pdftotext", {"-layout", path, "-"}).split('\f', Qt::SkipEmptyParts)) {
            QStringList lines;
            for (const QString& line : page.split('\n'))
                if (!line.trimmed().isEmpty()) lines << line.simplified();
            pages.push_back(lines);
        }
        return pages;
    }

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
        EXPECT_TRUE(run("pdffonts", {path}).contains("Mono-Bold"));
    }
}

TEST_F(PdfPrinter, BreaksPagesAtNewPageAndAtTheBottomOfThePaper) {
    p.setFontName("Courier New");
    p.setFontSize(9.75);
    p.printLine("prima pagina");
    p.newPage();
    for (int i = 1; i <= 120; ++i)
        p.printLine(QStringLiteral(" riga %1").arg(i));
    p.newPage(); // right before the end: no blank page
    p.endDoc();
    const auto pages = pdfPages(p.lastPdfPath());
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], QStringList{"prima pagina"});
    // The run of lines fills page 2 and goes on at the top of page 3.
    QStringList run = pages[1] + pages[2];
    ASSERT_EQ(run.size(), 120);
    for (int i = 0; i < 120; ++i)
        EXPECT_EQ(run[i], QStringLiteral("riga %1").arg(i + 1));
    EXPECT_GT(pages[1].size(), 60);

    // A second document in the same second gets a file of its own.
    const QString first = p.lastPdfPath();
    p.printLine("altra stampa");
    p.endDoc();
    EXPECT_NE(p.lastPdfPath(), first);
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_EQ(pdfPages(p.lastPdfPath()), std::vector<QStringList>{{"altra stampa"}});
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
