// The staffa window: what it shows when it opens, the period buttons, the check of
// the period, the choice of movements, the keys, the printed staffa with its page
// breaks, and how the main window opens and closes it.
#include "common/random_file.h"
#include "common/shared_state.h"
#include "common/today.h"
#include "ledger/open_account.h"
#include "platform/date_check_dialog.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "platform/program_end.h"
#include "shell/flags_form.h"
#include "shell/main_window.h"
#include "shell/program_files.h"
#include "staffa/staffa_form.h"
#include "staffa_support.h"
#include "support/condition_bytes.h"
#include "support/fixture.h"
#include "support/list_lines.h"
#include "support/main_window_fixture.h"
#include "support/open_account.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace qv::test {
namespace {

// Account "CC1" closed at 31/12/2025 with 1.000,00, and three movements of January
// 2026, the second suspended; its options divide the numbers by 100.
class StaffaForm : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        openTestAccount("CC1", "Banca di Prova");
        auto& s = stato();
        s.TabellaRiporto[1].dataRiporto = QStringLiteral("31/12/2025");
        s.TabellaRiporto[1].saldoRiporto = 1000;
        s.PrimaDataOperazione = QStringLiteral("02/01/2026");
        s.UltimaDataOperazione = QStringLiteral("20/01/2026");
        movimenti({mov(1, "05/01/2026", 500, "E", "N", "02/01/2026"),
                   mov(2, "08/01/2026", 200, "U", "S", "10/01/2026"),
                   mov(3, "20/01/2026", 100, "U", "N", "20/01/2026")});
        divisore(3);
    }

    void movimenti(std::vector<Movimento> righe) {
        auto& s = stato();
        riempiTabella(s.TabellaMovimenti, s.NumeroMovimenti, std::move(righe));
    }
    void divisore(qint16 codice) const {
        writeBytes(dataFolder() + QStringLiteral("CC1.Opz"), opzioniBytes({.divisore = codice}));
    }

    Staffa& apri() {
        Staffa& f = formHost().form<Staffa>();
        formHost().show(f);
        return f;
    }

    // The staffa of the whole account as the window opens with it.
    static QStringList staffaIniziale() {
        return QStringList{credito("30/12/2025", "1.000,00", "1", "10,00"),
                           credito("31/12/2025", "1.000,00", "5", "50,00"),
                           credito("05/01/2026", "1.500,00", "3", "45,00"),
                           credito("08/01/2026", "1.300,00", "12", "156,00"),
                           credito("20/01/2026", "1.200,00", "0", "0,00")} +
               chiusura("1.200,00", "0,00", "261,00", "0,00");
    }
};

TEST_F(StaffaForm, OpensWithTheStaffaFromTheLastClosingToTheLatestValueDate) {
    Staffa& f = apri();
    EXPECT_EQ(stato().StaffaAperta, 1);
    EXPECT_EQ(f.caption(), QStringLiteral("staffa"));
    EXPECT_EQ(f.SSPanel1->text(), QStringLiteral("CALCOLO DELLA STAFFA"));
    EXPECT_EQ(f.dal->testo(), QStringLiteral("31/12/2025"));
    EXPECT_EQ(f.al->testo(), QStringLiteral("20/01/2026"));
    EXPECT_TRUE(f.Tutti->isChecked());
    EXPECT_EQ(listLines(f.List1), staffaIniziale());
    EXPECT_EQ(listLines(f.List2),
              (QStringList{" 741514 30/12/2025", " 741515 31/12/2025", " 741521 05/01/2026",
                           " 741524 08/01/2026", " 741536 20/01/2026"}));
    EXPECT_FALSE(f.List1->isHidden());
    EXPECT_TRUE(f.List2->isHidden());
    EXPECT_TRUE(f.List3->isHidden());
    EXPECT_TRUE(messages.shown().empty());

    f.Command2->click();
    EXPECT_EQ(formHost().loaded<Staffa>(), nullptr);
    EXPECT_EQ(stato().StaffaAperta, 0);
}

TEST_F(StaffaForm, TheConditionsOfTheAccountChooseTheDivisor) {
    struct Caso {
        qint16 codice;
        const char* primi; // numbers of the first date
    };
    for (const Caso& c :
         {Caso{1, "1.000,00"}, Caso{2, "100,00"}, Caso{4, "1,00"}, Caso{0, "10,00"}}) {
        SCOPED_TRACE(c.codice);
        divisore(c.codice);
        Staffa& f = apri();
        EXPECT_EQ(stato().DatiOpzioni.codiceDivisore, c.codice);
        EXPECT_EQ(f.List1->text(0), credito("30/12/2025", "1.000,00", "1", c.primi));
        f.Command2->click();
    }
}

TEST_F(StaffaForm, AnAccountWithoutMovementsOpensOnToday) {
    movimenti({});
    stato().TabellaRiporto[1] = Riporto{};
    Staffa& f = apri();
    EXPECT_EQ(f.dal->testo(), QStringLiteral("09/12/2026"));
    EXPECT_EQ(f.al->testo(), QStringLiteral("09/12/2026"));
    EXPECT_EQ(listLines(f.List1), (QStringList{credito("08/12/2026", "0,00", "1", "0,00"),
                                               credito("09/12/2026", "0,00", "0", "0,00")} +
                                   chiusura("0,00", "0,00", "0,00", "0,00")));
}

TEST_F(StaffaForm, QuarterButtonsAndTFillThePeriodOnly) {
    fissaOggi(QDate(2001, 5, 17));
    Staffa& f = apri();
    const QStringList prima = listLines(f.List1);
    struct Caso {
        QPushButton* pulsante;
        const char* dal;
        const char* al;
    };
    for (const Caso& c : {Caso{f.Command1, "01/01/2001", "31/03/2001"},
                          Caso{f.Command3, "01/04/2001", "30/06/2001"},
                          Caso{f.Command4, "01/07/2001", "30/09/2001"},
                          Caso{f.Command5, "01/10/2001", "31/12/2001"},
                          Caso{f.Command3D4, "05/01/2026", "20/01/2026"}}) {
        SCOPED_TRACE(c.dal);
        c.pulsante->click();
        EXPECT_EQ(f.dal->testo(), QString::fromLatin1(c.dal));
        EXPECT_EQ(f.al->testo(), QString::fromLatin1(c.al));
        EXPECT_EQ(listLines(f.List1), prima);
    }
    EXPECT_EQ(f.Command1->text(), QStringLiteral("I° Trim."));
    EXPECT_EQ(f.Command1->toolTip(), QStringLiteral("Seleziona trimestre"));

    f.Command1->click();
    f.via->click();
    // The carried-forward balance counts even in a period before the closing.
    EXPECT_EQ(listLines(f.List1), (QStringList{credito("31/12/2000", "1.000,00", "1", "10,00"),
                                               credito("01/01/2001", "1.000,00", "89", "890,00"),
                                               credito("31/03/2001", "1.000,00", "0", "0,00")} +
                                   chiusura("1.000,00", "0,00", "900,00", "0,00")));
}

TEST_F(StaffaForm, ViaRefusesAPeriodFieldThatHoldsNoDate) {
    Staffa& f = apri();
    QApplication::setActiveWindow(f.window());
    const QStringList prima = listLines(f.List1);
    struct Caso {
        const char* dal;
        const char* al;
        DateField* campo;
        const char* ripristino;
    };
    for (const Caso& c : {Caso{"31/02/2001", "31/03/2001", f.dal, "02/01/2026"},
                          Caso{"01/01/2001", "", f.al, "20/01/2026"},
                          Caso{"01/01/20__", "31/03/2001", f.dal, "02/01/2026"}}) {
        SCOPED_TRACE(c.dal);
        messages.clear();
        f.dal->setTesto(QString::fromLatin1(c.dal));
        f.al->setTesto(QString::fromLatin1(c.al));
        f.via->click();
        ASSERT_EQ(messages.shown().size(), 1U);
        EXPECT_EQ(messages.shown()[0].text, testoDataErrata());
        EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Errore"));
        EXPECT_EQ(c.campo->testo(), QString::fromLatin1(c.ripristino));
        EXPECT_TRUE(c.campo->hasFocus());
        EXPECT_EQ(listLines(f.List1), prima);
    }

    // A start after the end passes: the day before dal and dal, both with 0 days.
    messages.clear();
    f.dal->setTesto(QStringLiteral("10/01/2026"));
    f.al->setTesto(QStringLiteral("05/01/2026"));
    f.via->click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(listLines(f.List1), (QStringList{credito("09/01/2026", "1.300,00", "0", "0,00"),
                                               credito("10/01/2026", "1.300,00", "0", "0,00")} +
                                   chiusura("1.300,00", "0,00", "0,00", "0,00")));
}

TEST_F(StaffaForm, NonSospesiCountsFromTheNextComputation) {
    Staffa& f = apri();
    f.NSospesi->click();
    EXPECT_EQ(listLines(f.List1), staffaIniziale());
    f.via->click();
    EXPECT_EQ(listLines(f.List1), (QStringList{credito("30/12/2025", "1.000,00", "1", "10,00"),
                                               credito("31/12/2025", "1.000,00", "5", "50,00"),
                                               credito("05/01/2026", "1.500,00", "15", "225,00"),
                                               credito("20/01/2026", "1.400,00", "0", "0,00")} +
                                   chiusura("1.400,00", "0,00", "285,00", "0,00")));
    f.Tutti->click();
    f.via->click();
    EXPECT_EQ(listLines(f.List1), staffaIniziale());
}

TEST_F(StaffaForm, EnterMovesFromDalToAlToVia) {
    Staffa& f = apri();
    QApplication::setActiveWindow(f.window());
    f.dal->setFocus();
    f.dal->selectAll();
    QTest::keyClicks(f.dal, QStringLiteral("05012026"));
    QTest::keyClick(f.dal, Qt::Key_Return);
    EXPECT_TRUE(f.al->hasFocus());
    f.al->selectAll();
    QTest::keyClicks(f.al, QStringLiteral("08012026"));
    QTest::keyClick(f.al, Qt::Key_Return);
    EXPECT_TRUE(f.via->hasFocus());
    // Enter on the button computes the staffa of the typed period.
    QTest::keyClick(f.via, Qt::Key_Return);
    EXPECT_EQ(listLines(f.List1), (QStringList{credito("04/01/2026", "1.000,00", "1", "10,00"),
                                               credito("05/01/2026", "1.500,00", "3", "45,00"),
                                               credito("08/01/2026", "1.300,00", "0", "0,00")} +
                                   chiusura("1.300,00", "0,00", "55,00", "0,00")));
}

TEST_F(StaffaForm, MovementsWithoutDatesAreNamedOnce) {
    movimenti({mov(1, "05/01/2026", 500, "E", "N", "02/01/2026"),
               mov(2, "00/00/0000", 70, "U", "N", "00/00/0000"),
               mov(3, "00/00/0000", 100, "U", "N", "07/01/2026")});
    Staffa& f = apri();
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text, messaggioMovimentiSenzaData({2}));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Attenzione"));
    // The third movement counts at its operation date.
    EXPECT_EQ(f.List1->text(3), credito("07/01/2026", "1.400,00", "0", "0,00"));
    f.via->click();
    EXPECT_EQ(messages.shown().size(), 1U);
}

// A period of 110 dates, one movement of no amount on each: 111 row lines, 53 on page
// 1, 54 on page 2 and 4 on page 3.
TEST_F(StaffaForm, ThePrintBreaksPagesAfter53And54Rows) {
    std::vector<Movimento> righe;
    const QDate inizio(2026, 3, 1);
    for (int k = 0; k < 110; ++k) {
        const QByteArray data = inizio.addDays(k).toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
        righe.push_back(mov(qint16(k + 1), data.constData(), 0, "E", "N", data.constData()));
    }
    movimenti(std::move(righe));
    stato().TabellaRiporto[1] = Riporto{};
    stato().TabellaRiporto[1].saldoRiporto = 100;
    Staffa& f = apri();
    ASSERT_EQ(f.dal->testo(), QStringLiteral("01/03/2026"));
    ASSERT_EQ(f.al->testo(), QStringLiteral("18/06/2026"));
    f.Stampa->click();

    ASSERT_EQ(printed.documents().size(), 1U);
    const PrintedDocument& documento = printed.lastDocument();
    ASSERT_EQ(documento.size(), 3U);
    const auto intestazione = [] {
        return QStringList{QString(),
                           sp(40) + QStringLiteral("Staffa "),
                           sp(37),
                           sp(25) + QStringLiteral("Stampato il 09-12-2026") + sp(9) +
                               QStringLiteral("Valuta: "),
                           QString(),
                           QStringLiteral("    dal 01/03/2026 al 18/06/2026   "),
                           ' ' + QString(80, QLatin1Char('-')),
                           QStringLiteral(" De   Valuta      Saldi Valuta  giorni   Numeri "
                                          "Debitori   Numeri Creditori"),
                           ' ' + QString(80, QLatin1Char('-')),
                           QString()};
    };
    const auto righeDa = [&](int primo, int quante) {
        QStringList out;
        for (int k = primo; k < primo + quante; ++k) {
            const QByteArray data =
                inizio.addDays(k - 1).toString(QStringLiteral("dd/MM/yyyy")).toLatin1();
            const bool ultima = k == 110;
            out << ' ' + credito(data.constData(), "100,00", ultima ? "0" : "1",
                                 ultima ? "0,00" : "1,00");
        }
        return out;
    };
    const auto finePagina = [](const char* numero) {
        return QStringList{' ' + QString(95, QLatin1Char('-')), QString(),
                           sp(42) + QStringLiteral("Pagina  ") + QLatin1String(numero) + ' '};
    };
    EXPECT_EQ(CapturePrinter::texts(documento[0]),
              intestazione() + righeDa(0, 53) + finePagina("1"));
    EXPECT_EQ(CapturePrinter::texts(documento[1]),
              intestazione() + righeDa(53, 54) + finePagina("2"));
    const QString regola(87, QLatin1Char('-'));
    QStringList ultima = intestazione() + righeDa(107, 4);
    ultima << regola << QStringLiteral("Liq. finale      ") + pad("100,00", 16) << regola
           << sp(30) + QStringLiteral("Totali   ") + pad("0,00", 16) + ' ' + pad("110,00", 16)
           << regola << QStringLiteral(" massima eccedenza/extra fido  Lire    ") + pad("0,00", 16);
    // The row that opened the page is not counted again: four rows leave the count at 4,
    // and the empty lines go from there to 47, then one more.
    for (int k = 4; k < 47; ++k)
        ultima << QString();
    ultima << QString() << ' ' + QString(94, QLatin1Char('-'))
           << sp(43) + QStringLiteral("Pagina  3 ") + sp(17) + QStringLiteral(".....fine stampa");
    EXPECT_EQ(CapturePrinter::texts(documento[2]), ultima);

    // The body is in Courier New 9.75, not bold, to the end.
    EXPECT_EQ(documento[2].back().fontName, QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(documento[2].back().fontSize, 9.75);
    EXPECT_FALSE(documento[2].back().bold);
    EXPECT_FALSE(printed.documentOpen());

    // The window shows the staffa of the printed period again.
    EXPECT_EQ(f.List1->count(), 111 + 6);
    EXPECT_EQ(f.List1->text(0), righeDa(0, 1)[0].mid(1));
}

// A balance that goes beyond the credit line: its rows have their excess lines, and the
// list ends with the largest overdraft. The lines are made when shown or read, and read
// as the whole list of the staffa would.
TEST_F(StaffaForm, TheListsMakeTheirLinesWhenReadAndReadAsTheWholeStaffa) {
    auto& s = stato();
    s.TabellaConti[size_t(s.IndiceContoAttivo)].fido = 500;
    movimenti({mov(1, "05/01/2026", 1800, "U", "N", "05/01/2026"),
               mov(2, "08/01/2026", 200, "E", "N", "08/01/2026"),
               mov(3, "20/01/2026", 1500, "E", "N", "20/01/2026")});
    Staffa& f = apri();
    ASSERT_TRUE(f.List1->listModel()->madeWhenShown());
    ASSERT_TRUE(f.List2->listModel()->madeWhenShown());

    const RisultatoStaffa& st = f.staffaMostrata();
    const QStringList tutte = righeListaStaffa(st, s.FormatoImporti);
    EXPECT_EQ(listLines(f.List1), tutte);
    // Two rows beyond the credit line (05/01 and 08/01), and the overdraft at the end.
    EXPECT_EQ(tutte.filter(QRegularExpression(QStringLiteral("^EC  "))).size(), 2);
    EXPECT_TRUE(tutte.last().startsWith(QStringLiteral(" massimo scoperto")));
    // Read from the end back, one at a time, each line is the same.
    for (int k = f.List1->count() - 1; k >= 0; --k)
        EXPECT_EQ(f.List1->text(k), tutte[k]) << k;

    QStringList date;
    for (const RigaStaffa& r : st.righe)
        date << voceDataStaffa(r.data);
    EXPECT_EQ(listLines(f.List2), date);

    // Another period: the lines are those of the new staffa.
    f.dal->setTesto(QStringLiteral("06/01/2026"));
    f.via->click();
    EXPECT_EQ(listLines(f.List1), righeListaStaffa(f.staffaMostrata(), s.FormatoImporti));
    EXPECT_EQ(f.List2->count(), int(f.staffaMostrata().righe.size()));
}

TEST_F(StaffaForm, ThePrintOfAPeriodWithoutDatesPrintsNothing) {
    Staffa& f = apri();
    f.al->setTesto(QStringLiteral("31/13/2026"));
    f.Stampa->click();
    EXPECT_TRUE(printed.documents().empty());
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text, testoDataErrata());
    EXPECT_EQ(f.al->testo(), QStringLiteral("20/01/2026"));
    EXPECT_EQ(listLines(f.List1), staffaIniziale());
}

// The main window opens the staffa, its " Apri " closes it before the account choice,
// and closing the account closes it.
class StaffaMainWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        avvia({{"55", "BANCA"}}, "55");
    }
};

TEST_F(StaffaMainWindow, StfOpensItAndTheAccountTakesItAway) {
    window->stf->trigger();
    Staffa* f = formHost().loaded<Staffa>();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->isShown());
    EXPECT_EQ(stato().StaffaAperta, 1);

    // The page header names the bank and the display currency of the main window.
    f->Stampa->click();
    ASSERT_EQ(printed.documents().size(), 1U);
    EXPECT_EQ(printed.lastDocument()[0][3].text,
              QStringLiteral("BANCA") + sp(25) + QStringLiteral("Stampato il 09-12-2026") + sp(9) +
                  QStringLiteral("Valuta: ") + window->Combo1->currentText());
    EXPECT_FALSE(window->Combo1->currentText().isEmpty());

    // " Apri " unloads it before the account choice.
    std::vector<QString> modali;
    formHost().setModalHook([&](Form& m) { modali.push_back(m.objectName()); });
    window->Command3D2->click();
    EXPECT_EQ(formHost().loaded<Staffa>(), nullptr);
    EXPECT_EQ(stato().StaffaAperta, 0);
    EXPECT_EQ(modali, std::vector<QString>{QStringLiteral("Form7")});

    window->stf->trigger();
    ASSERT_NE(formHost().loaded<Staffa>(), nullptr);
    ChiudiConto();
    EXPECT_EQ(formHost().loaded<Staffa>(), nullptr);
    EXPECT_EQ(stato().StaffaAperta, 0);
}

} // namespace
} // namespace qv::test
