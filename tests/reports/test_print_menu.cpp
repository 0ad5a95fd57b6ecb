// The print menu Form21: its controls, what its opening shows, the Enter chain, the
// buttons; the main window's print items; and every report printed as a PDF, which
// holds the very pages and lines the capture holds.
#include "report_fixture.h"

#include "platform/desktop.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/qt_printer.h"
#include "reports/archive_reports.h"
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

class PrintMenu : public ReportTest {
protected:
    // Opens the print menu from the main window's Stampe menu and lets `act` work on it.
    void open(const std::function<void(Form21&)>& act) {
        formHost().setModalHook([&](Form& f) {
            auto& menu = dynamic_cast<Form21&>(f);
            QApplication::setActiveWindow(menu.window());
            act(menu);
        });
        window->movimenti->trigger();
        formHost().setModalHook({});
    }
};

TEST_F(PrintMenu, ControlsCarryTheirNamesAndCaptions) {
    open([](Form21& menu) {
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
        menu.Esc->click();
    });
    // "Uscita" unloads the menu: the next opening starts afresh.
    EXPECT_EQ(formHost().loaded<Form21>(), nullptr);
}

TEST_F(PrintMenu, OpeningShowsTheWholeRangeAndEveryCausale) {
    open([](Form21& menu) {
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
        menu.Esc->click();
    });
}

TEST_F(PrintMenu, EnterWalksFromTheFirstDateToTheCausale) {
    int beeps = 0;
    setBeepHook([&] { ++beeps; });
    open([](Form21& menu) {
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
        menu.Esc->click();
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
    open([](Form21& menu) {
        menu.PulStampe->click();
        menu.Esc->click();
    });
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
    open([](Form21& menu) {
        ASSERT_EQ(menu.Combo1->count(), 3); // the description twice
        EXPECT_EQ(menu.Combo1->itemText(1), menu.Combo1->itemText(2));
        menu.Combo1->setCurrentIndex(2);
        menu.Saldi->click();
        menu.Esc->click();
    });
    const QStringList page = pages().at(0);
    EXPECT_TRUE(page.at(11).endsWith(" Bonifico  primo" + sp(15))) << page.at(11).toStdString();
    EXPECT_TRUE(page.at(12).startsWith(" " + QString(94, '-')));
}

// Every report, with the fullest pages its layout makes and lines as wide as its
// fields allow, printed as a PDF: the PDF has the capture's pages, and each page's
// text is the capture's lines in order.
TEST_F(PrintMenu, EveryReportPrintsAsAPdfOfTheCapturesPagesAndLines) {
    if (!pdfToolsAvailable()) GTEST_SKIP() << "poppler-utils is not installed";
    const ContestoStampa c{"BANCA POPOLARE DI SONDRIO SOCIETA COOPERATIVA", "Euro - Unione Europea",
                           QDate(2026, 12, 9), 1.0, "#,###,###,##0.00"};
    const PeriodoStampa periodo{"01/01/2026", "31/12/2026"};
    const auto movements = [](int n, const char* causale) {
        std::vector<Movimento> out;
        for (int i = 1; i <= n; ++i) {
            Movimento m;
            m.dataOperazione = "02/01/2026";
            m.dataValuta = "03/01/2026";
            m.codiceCausale = causale;
            m.importo = 1234567.89 + i;
            m.numeroDocumento = QString::number(10000000 + i);
            m.descrizione = QStringLiteral("Pagamento fornitura n. %1 del mese").arg(i).left(30);
            m.sospeso = i % 2 ? "N" : "S";
            m.entrataUscita = i % 3 ? "E" : "U";
            out.push_back(m);
        }
        return out;
    };
    std::vector<FoglioAssegno> fogli;
    for (int i = 1; i <= 57; ++i) {
        FoglioAssegno f;
        f.numeroCarnet = qint16(i);
        f.numeroAssegno = 10000000 + i;
        f.dataAssegno = "04/01/2026";
        f.importo = 999999.99;
        f.traenteAssegno = "Impresa edile Rossi e figli srl";
        f.noteAssegno = QStringLiteral("nota del foglio %1").arg(i);
        f.allineato = "N";
        f.annullato = "S";
        fogli.push_back(f);
    }
    std::vector<VoceCausale> causali;
    for (int i = 1; i <= 57; ++i) {
        VoceCausale v;
        v.codiceCausale = QStringLiteral("C%1").arg(i);
        v.descrizione = QStringLiteral("Descrizione lunga n. %1").arg(i);
        v.entrataUscita = "E";
        v.sospeso = "N";
        causali.push_back(v);
    }
    causali[0].codiceCausale = "AS";
    std::vector<Conto> conti;
    std::vector<ContoRiepilogato> riepilogo;
    for (int i = 1; i <= 57; ++i) {
        Conto k;
        k.codiceConto = QStringLiteral("CONTO%1").arg(i, 7, 10, QChar('0'));
        k.tipoConto = "Conto corrente ordinario";
        k.nomeBanca = "Banca Popolare di Sondrio Societa Cooperativa";
        k.fido = 12345678.9;
        k.codiceAbi = "0569600000";
        k.codiceCab = "1100000000";
        k.idBanca = "POSOIT22XX";
        conti.push_back(k);
        TotaliConto t;
        t.saldoOperazioneOggi = -987654321.5;
        riepilogo.push_back({k, t});
    }
    std::vector<CarnetAssegni> carnet;
    for (int i = 1; i <= 57; ++i) {
        CarnetAssegni k;
        k.dataRitiro = "05/01/2026";
        k.primoAssegno = 1000000000 + i * 10;
        k.ultimoAssegno = k.primoAssegno + 9;
        k.fogliDaAllineare = 10;
        k.esaurito = "N";
        carnet.push_back(k);
    }

    // The movement report's fullest last page: 52 movements of which the last two are
    // cheques with a note each, then the totals.
    std::vector<Movimento> conNote = movements(104, "C2");
    conNote[102].codiceCausale = "AS";
    conNote[103].codiceCausale = "AS";
    const std::vector<std::pair<const char*, PrintedDocument>> documents = {
        {"movimenti", StampaMovimenti(c, {"01/01/2026", "31/12/2026", " TUTTE"},
                                      {conNote, {"31/12/2025", 12345.6}, causali, fogli})},
        {"assegni", StampaAssegni(c, periodo, movements(57, "AS"), fogli)},
        {"annullati", StampaAssegniAnnullati(c, fogli)},
        {"carnet", StampaCarnet(c, periodo, carnet)},
        {"situazione", StampaSituazioneAssegni(c, periodo, fogli)},
        {"causali", StampaCausali(c, periodo, causali)},
        {"conti", StampaElencoConti(c, conti)},
        {"riepilogo", StampaRiepilogoConti(c, "09-12-2026", false, riepilogo)},
        {"riepilogo pieno", StampaRiepilogoConti(c, "09-12-2026", false,
                                                 std::vector<ContoRiepilogato>(
                                                     riepilogo.begin(), riepilogo.end() - 1))},
    };

    QTemporaryDir dir;
    QtLinePrinter pdf;
    pdf.setPdfOnly(true);
    pdf.setPdfFolder(dir.path() + "/stampe");
    for (const auto& [name, document] : documents) {
        SCOPED_TRACE(name);
        pdf.printDocument(document);
        const QString path = pdf.lastPdfPath();
        ASSERT_FALSE(path.isEmpty());
        EXPECT_EQ(pdfPageCount(path), int(document.size()));
        const std::vector<QStringList> text = pdfPages(path);
        ASSERT_EQ(text.size(), document.size());
        for (size_t p = 0; p < document.size(); ++p)
            EXPECT_EQ(text[p], simplifiedLines(CapturePrinter::texts(document[p]))) << "page " << p;
    }
    EXPECT_EQ(int(messages.shown().size()), int(documents.size())); // "salvata nel file"
}

} // namespace
} // namespace qv::test
