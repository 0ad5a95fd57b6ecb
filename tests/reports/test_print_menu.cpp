// The print menu Form21: its controls, what its opening shows, the Enter chain, the
// buttons; the main window's print items; and every report printed as a PDF, which
// holds the very pages and lines the capture holds.
#include "report_builders.h"
#include "report_fixture.h"

#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/qt_printer.h"
#include "reports/print_menu_form.h"
#include "shell/main_window.h"
#include "support/pdf_text.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace qv::test {
namespace {

class PrintMenu : public ReportTest {};

TEST_F(PrintMenu, ControlsCarryTheirNamesAndCaptions) {
    withPrintMenu([](Form21& menu) {
        EXPECT_EQ(menu.caption(), "Stampe");
        const std::vector<std::pair<QString, QString>> buttons = {
            {"Saldi", "Conferma"},
            {"Command3D4", "Tutte le date"},
            {"Command3D3", "Stampa assegni "},
            {"AssAnn", "Stampa assegni annullati "},
            {"Command3D2", " Stampa carnet "},
            {"Command3D1", " Stampa lista assegni "},
            {"Command3D5", " Stampa causali "},
            {"conti", "Stampa Elenco Conti"},
            {"PulStampe", "Imposta stampante"},
            {"Esc", "Uscita"},
        };
        for (const auto& [name, caption] : buttons) {
            auto* b = menu.findChild<QPushButton*>(name);
            ASSERT_NE(b, nullptr) << name.toStdString();
            EXPECT_EQ(b->text(), caption);
        }
        const std::vector<std::pair<QString, QString>> labels = {
            {"Label3", "Intervallo di stampa"},
            {"Label2", "Dal"},
            {"Label1", "Al"},
            {"Label4", "Selezione causali da stampare"},
            {"Label5", "Stampa archivi"},
        };
        for (const auto& [name, caption] : labels) {
            auto* l = menu.findChild<QLabel*>(name);
            ASSERT_NE(l, nullptr) << name.toStdString();
            EXPECT_EQ(l->text(), caption);
        }
        EXPECT_EQ(menu.Panel3D2->title(), "Stampa Movimenti");
        EXPECT_EQ(menu.Panel3D3->objectName(), "Panel3D3");
        EXPECT_EQ(menu.dal->objectName(), "dal");
        EXPECT_EQ(menu.al->objectName(), "al");
        EXPECT_EQ(menu.Combo1->objectName(), "Combo1");
    });
    // "Uscita" unloads the menu: the next opening starts afresh.
    EXPECT_EQ(formHost().loaded<Form21>(), nullptr);
}

TEST_F(PrintMenu, OpeningShowsTheWholeRangeAndEveryCausale) {
    withPrintMenu([](Form21& menu) {
        EXPECT_EQ(menu.dal->testo(), "01/11/2026");
        EXPECT_EQ(menu.al->testo(), "10/11/2026");
        QStringList items;
        for (int i = 0; i < menu.Combo1->count(); ++i)
            items << menu.Combo1->itemText(i);
        EXPECT_EQ(items, QStringList({" TUTTE", QString("Assegno").leftJustified(25),
                                      QString("Prelievo").leftJustified(25),
                                      QString("Versamento").leftJustified(25)}));
        EXPECT_EQ(menu.Combo1->currentIndex(), 0);
        EXPECT_TRUE(menu.dal->hasFocus());

        // "Tutte le date" gives the range back and keeps the causale.
        menu.dal->setTesto("05/11/2026");
        menu.al->setTesto("__/__/____");
        menu.Combo1->setCurrentIndex(2);
        menu.Command3D4->click();
        EXPECT_EQ(menu.dal->testo(), "01/11/2026");
        EXPECT_EQ(menu.al->testo(), "10/11/2026");
        EXPECT_EQ(menu.Combo1->currentIndex(), 2);
        EXPECT_EQ(menu.selezione().causale, "Prelievo");

        // Coming back to the menu from another window starts again from the whole range.
        menu.Form_Activate();
        EXPECT_EQ(menu.Combo1->currentIndex(), 0);
    });
}

// An impossible or half-typed date is refused before anything is printed; a blank
// date leaves its end of the range open.
TEST_F(PrintMenu, AnImpossibleDateIsRefusedAndNothingIsPrinted) {
    withPrintMenu([this](Form21& menu) {
        for (QPushButton* pulsante :
             {menu.Saldi, menu.Command3D3, menu.Command3D2, menu.Command3D1, menu.Command3D5}) {
            SCOPED_TRACE(pulsante->objectName().toStdString());
            messages.clear();
            menu.dal->setTesto("31/02/2026");
            pulsante->click();
            ASSERT_EQ(messages.texts().size(), 1);
            EXPECT_TRUE(messages.texts()[0].startsWith(" Data Errata;"));
            EXPECT_EQ(documents(), 0);
            EXPECT_EQ(menu.dal->testo(), "01/11/2026");
            EXPECT_TRUE(menu.dal->hasFocus());

            messages.clear();
            menu.al->setTesto("1_/11/2026");
            pulsante->click();
            EXPECT_EQ(messages.texts().size(), 1);
            EXPECT_EQ(documents(), 0);
            EXPECT_EQ(menu.al->testo(), "10/11/2026");
            EXPECT_TRUE(menu.al->hasFocus());
        }
        messages.clear();
        menu.al->setTesto("__/__/____");
        menu.Saldi->click();
        EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
        EXPECT_EQ(documents(), 1);
    });
}

TEST_F(PrintMenu, EnterWalksFromTheFirstDateToTheCausale) {
    int beeps = 0;
    setBeepHook([&] { ++beeps; });
    withPrintMenu([](Form21& menu) {
        menu.dal->setFocus();
        QTest::keyClick(menu.dal, Qt::Key_Return);
        EXPECT_TRUE(menu.al->hasFocus());
        QTest::keyClick(menu.al, Qt::Key_Return);
        EXPECT_TRUE(menu.Combo1->hasFocus());
        EXPECT_EQ(menu.dal->testo(), "01/11/2026");
        EXPECT_EQ(menu.al->testo(), "10/11/2026");
        // Dates typed as digits go through the mask.
        menu.dal->setFocus();
        menu.dal->selectAll();
        QTest::keyClicks(menu.dal, "05112026");
        EXPECT_EQ(menu.dal->testo(), "05/11/2026");
    });
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(printed.documents().empty());
}

TEST_F(PrintMenu, PrinterSetupAndTheMainWindowsPrintItems) {
    int setups = 0;
    setPrintSetupHook([&](QPrinter&) {
        ++setups;
        return false; // cancelled: nothing changes, nothing is said
    });
    withPrintMenu([](Form21& menu) { menu.PulStampe->click(); });
    EXPECT_EQ(setups, 1);
    EXPECT_TRUE(messages.shown().empty());

    // The toolbar's " Stampe " opens the same menu.
    std::vector<QString> modal;
    formHost().setModalHook([&](Form& f) {
        modal.push_back(f.objectName());
        formHost().unload(f);
    });
    window->PulStampe->click();
    formHost().setModalHook({});
    EXPECT_EQ(modal, std::vector<QString>{"Form21"});

    // "&Causali" and "&Elenco conti" print at once, one document each.
    window->CausaliIns->trigger();
    window->ElencoConti->trigger();
    ASSERT_EQ(documents(), 2);
    EXPECT_EQ(printed.documents()[0][0][1].text.trimmed(), "Elenco Causali");
    EXPECT_EQ(printed.documents()[1][0][1].text.trimmed(), "Elenco Conti");
}

TEST_F(PrintMenu, TwoCausaliOfOneDescriptionTheFirstGivesTheCode) {
    writeBytes(programFolder() + "Causali.DAT",
               causaleBytes(1, "B1", "Bonifico", "NE1") + causaleBytes(2, "B2", "Bonifico", "NE1"));
    writeBytes(programFolder() + "RecCausa.dat", le16(2));
    writeMovements(
        {movimentoBytes({1, "02/11/2026", "02/11/2026", "B2", 5, "", "secondo", "N", "E", "N"}),
         movimentoBytes({2, "03/11/2026", "03/11/2026", "B1", 7, "", "primo", "N", "E", "N"})});
    stato().TabellaCausali.resize(3);
    stato().TabellaCausali[1].codiceCausale = "B1";
    stato().TabellaCausali[1].descrizione = "Bonifico";
    stato().TabellaCausali[2].codiceCausale = "B2";
    stato().TabellaCausali[2].descrizione = "Bonifico";
    stato().NumeroCausali = 2;
    withPrintMenu([](Form21& menu) {
        ASSERT_EQ(menu.Combo1->count(), 3); // the description twice
        EXPECT_EQ(menu.Combo1->itemText(1), menu.Combo1->itemText(2));
        menu.Combo1->setCurrentIndex(2);
        menu.Saldi->click();
    });
    const QStringList page = pages().at(0);
    EXPECT_TRUE(page.at(11).endsWith(" Bonifico  primo" + sp(15))) << page.at(11).toStdString();
    EXPECT_TRUE(page.at(12).startsWith(" " + QString(94, '-')));
}

// Every report printed as a PDF, with a full page that breaks and the fullest last
// page its layout makes, its lines as wide as its fields allow: the PDF has the
// capture's pages, and each page's text is the capture's lines in order.
TEST_F(PrintMenu, EveryReportPrintsAsAPdfOfTheCapturesPagesAndLines) {
    if (!pdfToolsAvailable()) GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    QtLinePrinter pdf;
    pdf.setPdfOnly(true);
    pdf.setPdfFolder(dir.path() + "/stampe");
    for (const ReportUnderTest& r : reportsUnderTest()) {
        SCOPED_TRACE(r.name);
        const PrintedDocument document = r.build(2 * (r.threshold - 1));
        ASSERT_EQ(document.size(), 2u);
        pdf.printDocument(document);
        const QString path = pdf.lastPdfPath();
        ASSERT_FALSE(path.isEmpty());
        EXPECT_EQ(pdfPageCount(path), 2);
        const std::vector<QStringList> text = pdfPages(path);
        ASSERT_EQ(text.size(), document.size());
        for (size_t p = 0; p < document.size(); ++p)
            EXPECT_EQ(text[p], simplifiedLines(texts(document[p]))) << "page " << p;
    }
    EXPECT_EQ(messages.shown().size(), reportsUnderTest().size()); // "salvata nel file"
}

} // namespace
} // namespace qv::test
