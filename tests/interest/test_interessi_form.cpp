// The interest and cost statement in the staffa window: "Interessi" shows it in List3 in
// place of the staffa, "Stampa" then prints it with the same amounts, and the checks
// before it (rate start dates, period fields) change nothing on screen.
#include "casi_competenze.h"
#include "common/shared_state.h"
#include "interest/interessi_form.h"
#include "platform/date_check_dialog.h"
#include "platform/fields.h"
#include "platform/form_host.h"
#include "platform/list_box.h"
#include "righe_attese.h"
#include "shell/main_window.h"
#include "staffa/staffa_form.h"
#include "support/condition_bytes.h"
#include "support/fixture.h"
#include "support/list_lines.h"
#include "support/main_window_fixture.h"
#include "support/november_account.h"
#include "support/open_account.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace qv::test {
namespace {

const char* const kVuota = "__/__/____";

// Account "CC1" of "Banca di Prova" with the conditions and movements of the two worked
// quarters (casi_competenze.h), written to its files by hand.
class InteressiForm : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // The statement in the staffa window, as the main window puts it there.
        collegaRichiesteFinestre();
        openTestAccount("CC1", "Banca di Prova");
        auto& s = stato();
        s.PrimaDataOperazione = QStringLiteral("11/04/2001");
        s.UltimaDataOperazione = QStringLiteral("11/05/2001");
        VoceCausale pr;
        pr.numero = 1;
        pr.codiceCausale = QStringLiteral("PR");
        pr.soggettoCosto = QStringLiteral("1");
        VoceCausale ve = pr;
        ve.numero = 2;
        ve.codiceCausale = QStringLiteral("VE");
        ve.soggettoCosto = QStringLiteral("0");
        riempiTabella(s.TabellaCausali, s.NumeroCausali, {pr, ve});
    }

    void scrivi(const char* ext, const QByteArray& bytes) const {
        writeBytes(dataFolder() + QStringLiteral("CC1") + QLatin1String(ext), bytes);
    }

    // 100.000,00 carried forward, no movement; two credit rates.
    void trimestreACredito() {
        auto& s = stato();
        s.TabellaRiporto[1].saldoRiporto = 100000;
        riempiTabella(s.TabellaMovimenti, s.NumeroMovimenti, {});
        scrivi(".Iat", creditoriBytes({"01/01/2000", "01/03/2001", kVuota, kVuota, kVuota},
                                      {2.5F, 3, 0, 0, 0}));
        scrivi(".Ipa", debitoriBytes({"01/01/2000", kVuota, kVuota, kVuota, kVuota},
                                     {10, 0, 0, 0, 0}, {15, 0, 0, 0, 0}));
        scrivi(".Opz", opzioniBytes({"1", 0, "", "2", "2", 1}));
        scrivi(".Onp", oneriBytes({2, 0.5F, 27, 0, 0, 1.5F, 0.25F, "", "", "", ""}));
        scrivi(".spe", speseBytes({{5, 10, 1.5, 0, 3, 0, 0}, "1011100", "", ""}));
    }

    // Credit line 1.000,00; 1.500,00 out on 11/04/2001 and 1.000,00 in on 11/05/2001.
    void trimestreOltreFido() {
        auto& s = stato();
        s.TabellaConti[1].fido = 1000;
        riempiTabella(s.TabellaMovimenti, s.NumeroMovimenti,
                      {movimento(1, "11/04/2001", 1500, "U", "PR"),
                       movimento(2, "11/05/2001", 1000, "E", "VE")});
        scrivi(".Iat",
               creditoriBytes({"01/01/2001", kVuota, kVuota, kVuota, kVuota}, {1, 0, 0, 0, 0}));
        scrivi(".Ipa", debitoriBytes({"01/01/2001", kVuota, kVuota, kVuota, kVuota},
                                     {10, 0, 0, 0, 0}, {20, 0, 0, 0, 0}));
        scrivi(".Opz", opzioniBytes({"1", 3, "", "1", "1", 3}));
        scrivi(".Onp", oneriBytes({2, 0.5F, 27, 0.1F, 2, 1.5F, 0.25F, "Commissione fido",
                                   "Spese debitori", "6", "5"}));
        scrivi(".spe", speseBytes({{5, 10, 0.5, 4, 2, 9, 1}, "0011111", "", "Bollo"}));
    }

    Staffa& apri(const char* dal, const char* al) {
        Staffa& f = formHost().form<Staffa>();
        formHost().show(f);
        f.dal->setTesto(QString::fromLatin1(dal));
        f.al->setTesto(QString::fromLatin1(al));
        return f;
    }

    QStringList stampate() const {
        QStringList out;
        if (printed.documents().empty()) return out;
        for (const PrintedPage& pagina : printed.lastDocument())
            out += CapturePrinter::texts(pagina);
        return out;
    }
};

TEST_F(InteressiForm, InteressiShowsTheStatementInPlaceOfTheStaffa) {
    trimestreOltreFido();
    Staffa& f = apri("01/04/2001", "30/06/2001");
    EXPECT_TRUE(f.Interessi->isEnabled());
    EXPECT_EQ(f.Interessi->toolTip(), QStringLiteral("Calcolo interessi"));
    f.Interessi->click();

    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(f.SSPanel1->text(), QStringLiteral("COSTI ED INTERESSI"));
    EXPECT_EQ(listLines(f.List3), listaTrimestreOltreFido());
    EXPECT_FALSE(f.List3->isHidden());
    EXPECT_TRUE(f.List1->isHidden());
    EXPECT_EQ(f.List1->count(), 0);
    EXPECT_FALSE(f.Label1[0]->isVisible());
    EXPECT_FALSE(f.mostra->isHidden());
    // The work list holds the statement's dates.
    EXPECT_EQ(listLines(f.List2),
              (QStringList{" 732456 31/03/2001", " 732457 01/04/2001", " 732467 11/04/2001",
                           " 732497 11/05/2001", " 732547 30/06/2001"}));

    // The next staffa takes the window back.
    f.via->click();
    EXPECT_EQ(f.SSPanel1->text(), QStringLiteral("CALCOLO DELLA STAFFA"));
    EXPECT_FALSE(f.List1->isHidden());
    EXPECT_TRUE(f.List3->isHidden());
    EXPECT_TRUE(f.Label1[0]->isVisible());
    EXPECT_TRUE(f.mostra->isHidden());
    EXPECT_EQ(f.List1->count(), 5 + 1 + 8); // dates, one excess line, closing lines
}

TEST_F(InteressiForm, EnterOnTheButtonShowsTheStatement) {
    trimestreOltreFido();
    Staffa& f = apri("01/04/2001", "30/06/2001");
    QApplication::setActiveWindow(f.window());
    f.Interessi->setFocus();
    QTest::keyClick(f.Interessi, Qt::Key_Return);
    EXPECT_EQ(listLines(f.List3), listaTrimestreOltreFido());
}

TEST_F(InteressiForm, StampaPrintsTheStatementShown) {
    trimestreACredito();
    Staffa& f = apri("01/01/2001", "31/03/2001");
    f.Interessi->click();
    ASSERT_FALSE(f.List3->isHidden());
    f.Stampa->click();

    ASSERT_EQ(printed.documents().size(), 1U);
    EXPECT_FALSE(printed.documentOpen());
    std::vector<PrintedLine> righe;
    for (const PrintedPage& pagina : printed.lastDocument())
        righe.insert(righe.end(), pagina.begin(), pagina.end());
    const QString arial = QStringLiteral("Arial");
    const QString courier = QStringLiteral("Courier New");
    std::vector<PrintedLine> attese = {
        {QString(), arial, 14, false},
        {QStringLiteral("                              Calcolo interessi e costi "), arial, 14,
         false},
        {QString(37, u' '), arial, 14, false},
        // No main window here: no bank name and no currency.
        {QString(25, u' ') + QStringLiteral("Stampato il 09-12-2026") + QString(9, u' ') +
             QStringLiteral("Valuta: "),
         arial, 12, false},
        {QString(), arial, 12, false},
        {QStringLiteral("    dal 01/01/2001 al 31/03/2001   "), courier, 8, true},
        {QLatin1Char(' ') + QString(80, u'-'), courier, 8, false},
    };
    for (const RigaCorpo& r : corpoStampaTrimestreACredito())
        attese.push_back({QString::fromLatin1(r.testo), courier, 8, r.grassetto});
    ASSERT_EQ(righe.size(), attese.size());
    for (size_t i = 0; i < attese.size(); ++i)
        EXPECT_EQ(righe[i], attese[i]) << "line " << i + 1;
    // The window keeps the statement.
    EXPECT_FALSE(f.List3->isHidden());
}

// For each worked quarter, each period and a display rate of the lira, the amounts of the
// printed statement are those the window shows.
TEST_F(InteressiForm, ScreenAndPaperAgreeForEachPeriodAndAccount) {
    struct Caso {
        bool credito;
        const char* dal;
        const char* al;
        double fattore;
        const char* formato;
    };
    for (const Caso& c : {Caso{true, "01/01/2001", "31/03/2001", 1, "#,###,###,##0.00"},
                          Caso{true, "01/02/2001", "31/12/2001", 1, "#,###,###,##0.00"},
                          Caso{false, "01/04/2001", "30/06/2001", 1, "#,###,###,##0.00"},
                          Caso{false, "15/04/2001", "31/12/2001", 1936.27, "#,###,###,##0"},
                          Caso{false, "01/01/2001", "15/05/2001", 1, "#,###,###,##0.000"}}) {
        SCOPED_TRACE(std::string(c.dal) + " " + c.al);
        if (c.credito)
            trimestreACredito();
        else
            trimestreOltreFido();
        stato().FattoreValuta = c.fattore;
        stato().FormatoImporti = QString::fromLatin1(c.formato);
        printed.clear();
        Staffa& f = apri(c.dal, c.al);
        f.Interessi->click();
        f.Stampa->click();
        const std::vector<Importo> schermo = importi(listLines(f.List3));
        EXPECT_GE(schermo.size(), 20U);
        EXPECT_EQ(importi(stampate()), schermo);
        formHost().unload(f);
    }
}

// The statement is refused, and nothing on screen changes, when the first credit or
// debit rate starts after dal or a period field holds no date.
TEST_F(InteressiForm, RefusalsLeaveTheWindowAsItWas) {
    trimestreOltreFido();
    Staffa& f = apri("01/04/2001", "30/06/2001");
    QApplication::setActiveWindow(f.window());
    f.via->click();
    const QStringList staffa = listLines(f.List1);
    struct Caso {
        const char* nome;
        const char* dal;
        const char* al;
        QString messaggio;
        QString titolo;
        DateField* campo; // reset and focused
        const char* ripristino;
    };
    const QString& creditori = kDecorrenzaCreditori;
    const QString& debitori = kDecorrenzaDebitori;
    const QString attenzione = QStringLiteral("Attenzione");
    const QString errore = QStringLiteral("Errore");
    const std::vector<Caso> casi = {
        {"credit rates start after dal", "31/12/2000", "30/06/2001", creditori, attenzione, nullptr,
         nullptr},
        {"an empty dal cannot be compared", "", "30/06/2001", creditori, attenzione, nullptr,
         nullptr},
        {"a bad end date", "01/04/2001", "31/06/2001", testoDataErrata(), errore, f.al,
         "11/05/2001"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.nome);
        messages.clear();
        f.dal->setTesto(QString::fromLatin1(c.dal));
        f.al->setTesto(QString::fromLatin1(c.al));
        f.Interessi->click();
        ASSERT_EQ(messages.shown().size(), 1U);
        EXPECT_EQ(messages.shown()[0].text, c.messaggio);
        EXPECT_EQ(messages.shown()[0].title, c.titolo);
        EXPECT_EQ(listLines(f.List1), staffa);
        EXPECT_FALSE(f.List1->isHidden());
        EXPECT_TRUE(f.List3->isHidden());
        EXPECT_EQ(f.SSPanel1->text(), QStringLiteral("CALCOLO DELLA STAFFA"));
        if (c.campo) {
            EXPECT_EQ(c.campo->testo(), QString::fromLatin1(c.ripristino));
            EXPECT_TRUE(c.campo->hasFocus());
        }
    }

    // The debit rates are checked after the credit ones.
    scrivi(".Ipa", debitoriBytes({"02/04/2001", kVuota, kVuota, kVuota, kVuota}, {10, 0, 0, 0, 0},
                                 {20, 0, 0, 0, 0}));
    formHost().unload(f);
    Staffa& g = apri("01/04/2001", "30/06/2001");
    messages.clear();
    g.Interessi->click();
    ASSERT_EQ(messages.shown().size(), 1U);
    EXPECT_EQ(messages.shown()[0].text, debitori);
    EXPECT_TRUE(g.List3->isHidden());
}

// The printout checks the fields as they stand when it is asked for: a bad date is
// refused with the window's message and nothing is printed.
TEST_F(InteressiForm, StampaChecksThePeriodFirst) {
    trimestreOltreFido();
    Staffa& f = apri("01/04/2001", "30/06/2001");
    QApplication::setActiveWindow(f.window());
    f.Interessi->click();
    const QStringList prospetto = listLines(f.List3);
    struct Caso {
        const char* dal;
        const char* messaggio; // its beginning
        const char* dopo;      // dal after the refusal
    };
    for (const Caso& c : {Caso{"31/02/2001", " Data Errata", "11/04/2001"},
                          Caso{"31/12/2000",
                               "La prima data decorrenza dei tassi interessi "
                               "creditori",
                               "31/12/2000"}}) {
        SCOPED_TRACE(c.dal);
        messages.clear();
        f.dal->setTesto(QString::fromLatin1(c.dal));
        f.Stampa->click();
        ASSERT_EQ(messages.shown().size(), 1U);
        EXPECT_TRUE(messages.shown()[0].text.startsWith(QString::fromUtf8(c.messaggio)));
        EXPECT_TRUE(printed.documents().empty());
        EXPECT_EQ(f.dal->testo(), QString::fromLatin1(c.dopo));
        EXPECT_EQ(listLines(f.List3), prospetto);
    }
}

// The staffa window open from the main window on account "CC1" (November 2026, in
// credit), with a second currency, the Lira, in the combo of the main window.
class InteressiValuta : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        writeNovemberAccount(dataFolder());
        const auto scrivi = [this](const char* ext, const QByteArray& bytes) {
            writeBytes(dataFolder() + QStringLiteral("CC1") + QLatin1String(ext), bytes);
        };
        scrivi(".Iat",
               creditoriBytes({"01/01/2000", kVuota, kVuota, kVuota, kVuota}, {2.5F, 0, 0, 0, 0}));
        scrivi(".Ipa", debitoriBytes({"01/01/2000", kVuota, kVuota, kVuota, kVuota},
                                     {10, 0, 0, 0, 0}, {15, 0, 0, 0, 0}));
        scrivi(".Opz", opzioniBytes({"1", 0, "", "2", "2", 1}));
        scrivi(".Onp", oneriBytes({2, 0.5F, 27, 0, 0, 1.5F, 0.25F, "", "", "", ""}));
        scrivi(".spe", speseBytes({{5, 10, 1.5, 0, 3, 0, 0}, "1011100", "", ""}));
        writeCurrency(1, "Lira", "Italia", 1936.27);
        avvia({{"CC1", "Banca di Prova"}}, "CC1");
        window->stf->trigger();
        staffa = formHost().loaded<Staffa>();
        ASSERT_NE(staffa, nullptr);
    }

    void scegli(const char* linea) {
        const int indice = window->Combo1->findLine(QString::fromLatin1(linea));
        ASSERT_GE(indice, 0) << linea;
        window->Combo1->setCurrentIndex(indice);
        emit window->Combo1->activated(indice);
    }

    QStringList stampate() const {
        QStringList out;
        if (printed.documents().empty()) return out;
        for (const PrintedPage& pagina : printed.lastDocument())
            out += CapturePrinter::texts(pagina);
        return out;
    }

    Staffa* staffa = nullptr;
};

// A change of display currency converts the staffa on screen at once: its rows are those
// that "Stampa" prints in the new currency.
TEST_F(InteressiValuta, TheStaffaShownFollowsTheDisplayCurrency) {
    const QStringList euro = listLines(staffa->List1);
    ASSERT_GT(euro.size(), 5);
    scegli("Lira - Italia");
    ASSERT_DOUBLE_EQ(stato().FattoreValuta, 1936.27);
    const QStringList schermo = listLines(staffa->List1);
    EXPECT_NE(schermo, euro);
    EXPECT_TRUE(messages.shown().empty());

    staffa->Stampa->click();
    const QStringList carta = stampate();
    // The printed rows: each row of the list with one blank in front, after the page
    // header (ten lines).
    const qsizetype righe = schermo.indexOf(QString(87, u'-'));
    ASSERT_GT(righe, 1);
    ASSERT_GE(carta.size(), 10 + righe);
    for (qsizetype i = 0; i < righe; ++i)
        EXPECT_EQ(carta[10 + i].toStdString(), (QLatin1Char(' ') + schermo[i]).toStdString())
            << "row " << i + 1;
    EXPECT_TRUE(carta.contains(QStringLiteral("Liq. finale      ") +
                               schermo[righe + 1].mid(QStringLiteral("Liq. finale     ").size())));
    EXPECT_EQ(listLines(staffa->List1), schermo);
}

// The same for the interest and cost statement: after a change of display currency the
// statement on screen and the one printed give the same figures.
TEST_F(InteressiValuta, TheStatementShownFollowsTheDisplayCurrency) {
    staffa->Interessi->click();
    ASSERT_FALSE(staffa->List3->isHidden());
    const QStringList euro = listLines(staffa->List3);
    ASSERT_GT(euro.size(), 20);
    scegli("Lira - Italia");
    const QStringList schermo = listLines(staffa->List3);
    EXPECT_FALSE(staffa->List3->isHidden());
    EXPECT_EQ(staffa->SSPanel1->text(), QStringLiteral("COSTI ED INTERESSI"));
    EXPECT_NE(test::cifre(schermo), test::cifre(euro));
    EXPECT_TRUE(messages.shown().empty());

    staffa->Stampa->click();
    const QStringList carta = stampate();
    ASSERT_GT(carta.size(), 9);
    // The body, without the page header (7 lines) and the footer (2 lines).
    EXPECT_EQ(test::cifre(carta.mid(7, carta.size() - 9)), test::cifre(schermo));

    // And back to the Euro: the figures shown at first.
    scegli("Euro - Unione Europea");
    EXPECT_EQ(listLines(staffa->List3), euro);
}

} // namespace
} // namespace qv::test
