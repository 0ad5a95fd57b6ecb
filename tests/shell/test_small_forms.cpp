// The list colours, the help text, the web browser and the currency flags.
#include "support/bytes.h"
#include "support/fixture.h"
#include "support/wired_windows.h"

#include "common/shared_state.h"
#include "platform/desktop.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "shell/browser_form.h"
#include "shell/colours_form.h"
#include "shell/flags_form.h"
#include "shell/help_form.h"
#include "shell/notice_form.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QUrl>
#include <QWebEngineView>

#include <vector>

namespace qv {
namespace {

using test::ProgramTest;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

// ---------------------------------------------------------------- Form5

class ColoursTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Colori& c = stato().ColoriElenchi;
        c.coloreSfondo = 0;      // black
        c.coloreCarattere = 255; // red
        c.coloriPredefiniti = QStringLiteral("S");
        c.riservato = QByteArray("\x07", 1);
        setColorChooser([this](const QColor& initial) {
            initials.push_back(initial);
            std::optional<QColor> answer;
            if (!answers.empty()) {
                answer = answers.front();
                answers.erase(answers.begin());
            }
            return answer;
        });
    }

    Form5& form() { return formHost().form<Form5>(); }
    void click(const char* name) { form().findChild<QPushButton*>(name)->click(); }
    QColor swatch(const char* name) {
        return form().findChild<QLabel*>(name)->palette().color(QPalette::Window);
    }
    QString colourFile() const { return programFolder() + "colori.col"; }

    std::vector<std::optional<QColor>> answers; // nullopt: the user cancels
    std::vector<QColor> initials;
};

TEST_F(ColoursTest, ConfermaWritesTheChosenBackgroundAsRecordOne) {
    Form5& f = form();
    EXPECT_EQ(f.caption(), "Cambia colori");
    EXPECT_EQ(swatch("VediColori_0"), QColor(0, 0, 0));
    EXPECT_EQ(swatch("VediColori_1"), QColor(255, 0, 0));

    answers.push_back(QColor(0, 0, 255));
    click("sfondo");
    ASSERT_EQ(initials.size(), 1u);
    EXPECT_EQ(initials[0], QColor(0, 0, 0));
    EXPECT_EQ(swatch("VediColori_0"), QColor(0, 0, 255));
    EXPECT_EQ(swatch("esempio"), QColor(0, 0, 255));
    EXPECT_EQ(stato().ColoriElenchi.coloriPredefiniti, "N");

    click("OK");
    // 16711680.0 (blue), 255.0 (red), "N", the reserved byte as it was.
    EXPECT_EQ(readBytes(colourFile()), hex("00000000 00e06f41"
                                           "00000000 00e06f40"
                                           "4e"
                                           "07"));
    EXPECT_EQ(formHost().loaded<Form5>(), nullptr);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ColoursTest, WithoutAColourFileConfermaStoresReadableColours) {
    // As a missing colori.col reads: zeros and no flag.
    stato().ColoriElenchi = Colori{};
    Form5& f = form();
    EXPECT_EQ(swatch("VediColori_0"), QColor(255, 255, 255));
    EXPECT_EQ(swatch("VediColori_1"), QColor(0, 0, 0));
    // The lists keep their own colours until a choice is confirmed.
    EXPECT_EQ(stato().ColoriElenchi.coloriPredefiniti.trimmed(), "");
    f.OK->click();
    // 16777215.0 (white), 0.0 (black), "N".
    EXPECT_EQ(readBytes(colourFile()).left(17), hex("000000e0ffff6f41"
                                                    "0000000000000000"
                                                    "4e"));
}

TEST_F(ColoursTest, ACancelledDialogChangesNothing) {
    answers = {std::nullopt, std::nullopt};
    click("sfondo");
    click("carattere");
    EXPECT_EQ(initials.size(), 2u);
    EXPECT_EQ(stato().ColoriElenchi.coloriPredefiniti, "S");
    EXPECT_EQ(stato().ColoriElenchi.coloreSfondo, 0.0);
    EXPECT_EQ(stato().ColoriElenchi.coloreCarattere, 255.0);
    EXPECT_EQ(swatch("VediColori_0"), QColor(0, 0, 0));
    EXPECT_EQ(swatch("VediColori_1"), QColor(255, 0, 0));
    click("Command2");
    EXPECT_FALSE(QFile::exists(colourFile()));
}

TEST_F(ColoursTest, ASecondDialogOpensOnTheColourChosenFirst) {
    answers = {QColor(0, 255, 0), std::nullopt};
    click("sfondo");
    click("sfondo");
    ASSERT_EQ(initials.size(), 2u);
    EXPECT_EQ(initials[1], QColor(0, 255, 0));
    EXPECT_EQ(swatch("VediColori_0"), QColor(0, 255, 0));
}

TEST_F(ColoursTest, PredefinitiWritesSKeepingTheChosenColours) {
    answers = {QColor(0, 255, 0), QColor(255, 255, 255)};
    click("sfondo");
    click("carattere");
    click("predef");
    // 65280.0 (green), 16777215.0 (white), "S".
    EXPECT_EQ(readBytes(colourFile()), hex("00000000 00e0ef40"
                                           "000000e0 ffff6f41"
                                           "53"
                                           "07"));
    EXPECT_EQ(stato().ColoriElenchi.coloriPredefiniti, "S");
    EXPECT_EQ(stato().ColoriElenchi.coloreCarattere, 16777215.0);
}

TEST_F(ColoursTest, UscitaWritesNothingButTheChoiceStaysForThisRun) {
    writeBytes(colourFile(), QByteArray(18, '\0'));
    answers.push_back(QColor(255, 255, 0));
    click("sfondo");
    click("Command2");
    EXPECT_EQ(readBytes(colourFile()), QByteArray(18, '\0'));
    EXPECT_EQ(formHost().loaded<Form5>(), nullptr);
    EXPECT_EQ(stato().ColoriElenchi.coloreSfondo, 65535.0);
    EXPECT_EQ(stato().ColoriElenchi.coloriPredefiniti, "N");
}

TEST_F(ColoursTest, AFailedWriteSaysWhyAndKeepsTheForm) {
    ASSERT_TRUE(QDir().mkpath(colourFile())); // a folder where the file should be
    click("predef");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "Errore");
    EXPECT_TRUE(messages.shown()[0].text.contains("colori.col"));
    EXPECT_NE(formHost().loaded<Form5>(), nullptr);
    EXPECT_EQ(stato().ColoriElenchi.coloriPredefiniti, "S");
}

// ---------------------------------------------------------------- Form1, Help1

TEST_F(ProgramTest, NoticeShowsBothPartsAndChiudiUnloadsIt) {
    Form1& f = formHost().form<Form1>();
    EXPECT_EQ(f.caption(), "Informazioni");
    const QString testo = f.findChild<QLabel*>("TESTO")->text();
    EXPECT_TRUE(testo.startsWith("Complimenti per la scelta che avete effettuato!\n\n"));
    EXPECT_TRUE(testo.contains("\"PREFERENZE\" del menu \"FILE\""));
    EXPECT_TRUE(testo.contains("\"GESTIONE CONTO\" del menu \"FILE\""));
    EXPECT_TRUE(f.findChild<QLabel*>("Test2")->text().endsWith(
        "Buon lavoro e grazie per aver scelto QUORVANTA per la gestione dei Vs. conti bancari."));
    EXPECT_FALSE(f.findChild<QLabel*>("Picture1")->pixmap().isNull());
    f.findChild<QPushButton*>("SSCommand1")->click();
    EXPECT_EQ(formHost().loaded<Form1>(), nullptr);
}

QStringList lines(const QPlainTextEdit* box) {
    QStringList out;
    for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
        out << b.text();
    return out;
}

TEST_F(ProgramTest, HelpShowsOneLinePerLineOfAWindowsFile) {
    const QByteArray bytes("Riga uno\r\nCausale \xe0 scelta\r\n\r\nfine\x80");
    writeBytes(programFolder() + "Help01.txt", bytes);
    Help1& f = formHost().form<Help1>();
    EXPECT_EQ(f.caption(), "help");
    EXPECT_EQ(f.findChild<QLabel*>("Label1")->text(), "GESTIONE CAUSALI");
    auto* box = f.findChild<QPlainTextEdit*>("help01");
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(lines(box), QStringList({"Riga uno", "Causale à scelta", "", "fine€"}));
    EXPECT_EQ(readBytes(programFolder() + "Help01.txt"), bytes);
}

TEST_F(ProgramTest, HelpReadsAFileNamedInAnotherCaseAndAnEmptyOneAsEmpty) {
    writeBytes(programFolder() + "HELP01.TXT", "Testo\r\n");
    EXPECT_EQ(lines(formHost().form<Help1>().help01), QStringList({"Testo", ""}));
    formHost().resetForTests();

    QFile::remove(programFolder() + "HELP01.TXT");
    writeBytes(programFolder() + "Help01.txt", {});
    EXPECT_EQ(formHost().form<Help1>().help01->toPlainText(), "");
}

TEST_F(ProgramTest, HelpWithoutTheFileShowsTheShippedTextAndCreatesNothing) {
    const QStringList before = filesIn(programFolder());
    const QString shown = formHost().form<Help1>().help01->toPlainText();
    EXPECT_TRUE(shown.startsWith("GESTIONE CAUSALI\n"));
    EXPECT_FALSE(shown.contains('\r'));
    EXPECT_EQ(filesIn(programFolder()), before);
}

// ---------------------------------------------------------------- brow

class BrowserTest : public test::WiredProgramTest {
protected:
    // An options record (107 bytes) written out field by field.
    QByteArray optionsRecord(const QByteArray& address) {
        QByteArray r;
        r += "1";                      // periodicitaChiusura
        r += hex("0500");              // minimoMovimenti 5
        r += test::text(address, 100); // indirizzoInternet
        r += "1";                      // baseGiorniDebitori
        r += "2";                      // baseGiorniCreditori
        r += hex("0200");              // codiceDivisore 2
        return r;
    }
    QString page(const QString& name, const QString& title) {
        const QString path = root_.path() + "/" + name;
        writeBytes(path, QStringLiteral("<html><head><title>%1</title></head><body>%1</body>"
                                        "</html>")
                             .arg(title)
                             .toUtf8());
        return QUrl::fromLocalFile(path).toString();
    }
    static void waitForLoad(QSignalSpy& spy) {
        if (spy.isEmpty()) {
            ASSERT_TRUE(spy.wait(30000));
        }
    }
};

TEST_F(BrowserTest, WithNoAccountOpenTheWindowIsBlankAndNoFileIsTouched) {
    stato().DatiOpzioni.indirizzoInternet = "file:///conto-chiuso.html";
    brow& b = formHost().form<brow>();
    EXPECT_TRUE(filesIn(dataFolder()).isEmpty());
    EXPECT_EQ(filesIn(programFolder()), QStringList({"dati"}));
    EXPECT_EQ(b.cboAddress->count(), 0);
    EXPECT_EQ(b.cboAddress->currentText(), "");
    EXPECT_TRUE(b.brwWebBrowser->url().isEmpty());
    EXPECT_EQ(stato().DatiOpzioni.indirizzoInternet, "file:///conto-chiuso.html");

    // "connetti all'indirizzo della banca" has no account to connect to.
    b.tbToolBar->findChild<QAction*>("Search")->trigger();
    EXPECT_TRUE(b.brwWebBrowser->url().isEmpty());
}

TEST_F(BrowserTest, AnAccountWithoutOptionsOpensBlankAndCreatesNoFile) {
    stato().CodiceContoAttivo = "12345";
    brow& b = formHost().form<brow>();
    EXPECT_TRUE(filesIn(dataFolder()).isEmpty());
    EXPECT_EQ(b.cboAddress->count(), 0);
    EXPECT_TRUE(b.brwWebBrowser->url().isEmpty());
}

TEST_F(BrowserTest, LoadOpensTheAddressOfTheAccountOptions) {
    const QString address = page("banca.html", "Banca di prova");
    const QByteArray record = optionsRecord(address.toUtf8());
    ASSERT_EQ(record.size(), 107);
    writeBytes(dataFolder() + "12345.Opz", record);
    stato().CodiceContoAttivo = "12345       ";

    brow& b = formHost().form<brow>();
    QSignalSpy loaded(b.brwWebBrowser, &QWebEngineView::loadFinished);
    EXPECT_EQ(b.cboAddress->currentText(), address);
    EXPECT_EQ(b.cboAddress->count(), 1);
    EXPECT_EQ(stato().DatiOpzioni.indirizzoInternet, address);
    EXPECT_EQ(stato().DatiOpzioni.codiceDivisore, 2);
    EXPECT_EQ(b.caption(), "Attendere...");
    waitForLoad(loaded);
    EXPECT_EQ(b.brwWebBrowser->url().toString(), address);
    EXPECT_EQ(b.caption(), "Banca di prova");
    EXPECT_EQ(readBytes(dataFolder() + "12345.Opz"), record);
}

// The start address is what the main window answers the browser, which reads no options
// of its own: without an answer the window opens blank.
TEST_F(BrowserTest, TheStartAddressIsTheOneTheMainWindowAnswers) {
    const QString address = page("risposta.html", "Risposta");
    stato().CodiceContoAttivo = "12345";
    int asked = 0;
    brow::impostaRichiestaIndirizzo([&] {
        ++asked;
        return address;
    });
    brow& b = formHost().form<brow>();
    QSignalSpy loaded(b.brwWebBrowser, &QWebEngineView::loadFinished);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(b.cboAddress->currentText(), address);
    waitForLoad(loaded);
    EXPECT_EQ(b.brwWebBrowser->url().toString(), address);
    EXPECT_TRUE(filesIn(dataFolder()).isEmpty());
    b.tbToolBar->findChild<QAction*>("Chiudi")->trigger();

    brow::impostaRichiestaIndirizzo({});
    brow& blank = formHost().form<brow>();
    EXPECT_EQ(blank.cboAddress->count(), 0);
    EXPECT_TRUE(blank.brwWebBrowser->url().isEmpty());
}

TEST_F(BrowserTest, EnterInTheAddressBoxNavigatesWithoutAddingALine) {
    const QString start = page("inizio.html", "Inizio");
    writeBytes(dataFolder() + "7.Opz", optionsRecord(start.toUtf8()));
    stato().CodiceContoAttivo = "7";
    brow& b = formHost().form<brow>();
    QSignalSpy loaded(b.brwWebBrowser, &QWebEngineView::loadFinished);
    waitForLoad(loaded);
    loaded.clear();

    const QString other = page("altra.html", "Altra pagina");
    QLineEdit* edit = b.cboAddress->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, other);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(b.caption(), "Attendere...");
    waitForLoad(loaded);
    EXPECT_EQ(b.brwWebBrowser->url().toString(), other);
    EXPECT_EQ(b.caption(), "Altra pagina");
    EXPECT_EQ(b.cboAddress->count(), 1);

    // Enter typed on the keyboard reaches the box, which keeps the focus: it navigates too.
    loaded.clear();
    b.cboAddress->setEditText(start);
    QTest::keyClick(b.cboAddress, Qt::Key_Return);
    EXPECT_EQ(b.caption(), "Attendere...");
    waitForLoad(loaded);
    EXPECT_EQ(b.brwWebBrowser->url().toString(), start);

    // "Pagina iniziale" goes back to the page the window opened on.
    loaded.clear();
    b.tbToolBar->findChild<QAction*>("Home")->trigger();
    waitForLoad(loaded);
    EXPECT_EQ(b.brwWebBrowser->url().toString(), start);
}

TEST_F(BrowserTest, ToolbarButtonsHaveTheirTooltipsAndCercaShowsTheProgramPage) {
    brow& b = formHost().form<brow>();
    const std::vector<std::pair<const char*, const char*>> buttons = {
        {"Back", "Indietro"},
        {"Forward", "Avanti"},
        {"Stop", "Termina"},
        {"Refresh", "Aggiorna"},
        {"Home", "Pagina iniziale"},
        {"Search", "connetti all'indirizzo della banca"},
        {"Cerca", "Home page programma"},
        {"Stampa", "Stampa"},
        {"Chiudi", "Esci"}};
    for (const auto& [key, tip] : buttons) {
        auto* action = b.tbToolBar->findChild<QAction*>(key);
        ASSERT_NE(action, nullptr) << key;
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(tip)) << key;
    }
    EXPECT_EQ(b.findChild<QLabel*>("lblAddress")->text(), "&Indirizzo:");

    QSignalSpy loaded(b.brwWebBrowser, &QWebEngineView::loadFinished);
    b.tbToolBar->findChild<QAction*>("Cerca")->trigger();
    waitForLoad(loaded);
    EXPECT_TRUE(loaded.first().at(0).toBool());
    EXPECT_EQ(b.brwWebBrowser->url(), paginaProgramma());
    EXPECT_EQ(b.caption(), "Quorvanta - il programma");

    b.tbToolBar->findChild<QAction*>("Chiudi")->trigger();
    EXPECT_EQ(formHost().loaded<brow>(), nullptr);
}

// ---------------------------------------------------------------- flags

const QStringList LineeValute = {
    "Scellino - Austria",  "Franco - Belgio",          "Marco - Finlandia",
    "Sterlina - Irlanda",  "Franco - Francia",         "Marco - Germania",
    "Lira - Italia",       "Peseta - Spagna",          "Franco - Lussemburgo",
    "Escudo - Portogallo", "Fiorino - Olanada",        "Dollaro - USA",
    "Yen - Giappone",      "Sterlina - Gran Bretagna", "Euro - Unione Europea"};

TEST(Flags, EveryCurrencyLineHasItsOwnFlag) {
    std::vector<QImage> seen;
    for (const QString& line : LineeValute) {
        const QPixmap flag = bandieraValuta(line);
        ASSERT_FALSE(flag.isNull()) << line.toStdString();
        const QImage image = flag.toImage();
        for (const QImage& other : seen)
            EXPECT_NE(image, other) << line.toStdString();
        seen.push_back(image);
    }
    EXPECT_FALSE(bandieraValuta(" Lira - Italia ").isNull());
}

TEST(Flags, AnEmptyOrUnknownLineHasNone) {
    EXPECT_TRUE(bandieraValuta(" - ").isNull());
    EXPECT_TRUE(bandieraValuta("").isNull());
    EXPECT_TRUE(bandieraValuta("Rublo - Russia").isNull());
}

TEST(Flags, PicturesAreNumberedByTheLinesPlaceInTheSortedList) {
    ComboBox combo;
    combo.setSorted(true);
    for (const QString& line : LineeValute)
        combo.addItem(line);
    for (int i = 0; i < combo.count(); ++i)
        EXPECT_EQ(numeroBandiera(combo.text(i)), i + 1) << combo.text(i).toStdString();
}

TEST(ShippedDocuments, HelpDocumentAndAboutPageAreThere) {
    initShellResources();
    for (const char* path : {HelpDocumentResource, AboutPageResource, HelpTextResource}) {
        QFile f(QString::fromLatin1(path));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path;
        EXPECT_GT(f.size(), 500) << path;
    }
}

} // namespace
} // namespace qv
