// The summary of all accounts: one line per account with its balance by operation or
// by value date as its totals file holds it, credit line and amount available, the
// totals, and the account sheet shown for reading only.
#include "archives/account_sheet_form.h"
#include "common/shared_state.h"
#include "ledger/summary.h"
#include "ledger/summary_form.h"
#include "platform/list_box.h"
#include "shell/main_window.h"
#include "support/bytes.h"
#include "support/fixture.h"
#include "support/list_lines.h"
#include "support/open_account.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace qv {
namespace {

using namespace test;

// An account of Conti.dat with its address and bank codes filled in.
QByteArray conto(qint16 numero, const char* codice, const char* banca, double fido) {
    return contoBytes({numero, codice, "Conto corrente", banca, "Via Roma 1", "00100", "Roma", "RM",
                       fido, "", "01234", "05678", ""});
}

// The totals of ".TOT" with fixed date bounds.
QByteArray totali(double nonSospesi, double valuta, double operazione, double contabile) {
    return totaliBytes(nonSospesi, valuta, operazione, contabile, "01/01/2026", "30/11/2026",
                       "02/01/2026", "01/12/2026");
}

class SummaryTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        collegaRichiesteFinestre();
        showAmountsInEuro();
    }

    // Three accounts in the archive; the table in memory is stale on purpose, the
    // summary reads the archive again.
    void treConti() {
        writeBytes(dataFolder() + "Conti.dat",
                   conto(1, "ZETA", "Banca Zeta", 1000) +
                       conto(2, "A1", "Banca del Monte dei Paschi di Siena e Veneto", 0) +
                       conto(3, "M22", "Cassa Rurale", 500.5));
        writeBytes(dataFolder() + "ZETA.TOT", totali(10, 1200.25, 1234.5, 2000));
        writeBytes(dataFolder() + "A1.TOT", totali(-5, -300, -250.75, -400));
        // M22 has never been opened: no totals file.
        auto& s = stato();
        s.NumeroConti = 3;
        s.TabellaConti.assign(4, Conto{});
        s.TabellaConti[1].codiceConto = QStringLiteral("OLD");
    }
};

TEST_F(SummaryTest, ThreeAccountsByOperationDateThenByValueDate) {
    treConti();
    mostraRiepilogoConti();
    Form22* f = formHost().loaded<Form22>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->caption(), QStringLiteral("Riepilogo Conti"));
    EXPECT_TRUE(f->findChild<QRadioButton*>("Dataop_0")->isChecked());
    EXPECT_EQ(f->findChild<QLabel*>("DataVis")->text(), QStringLiteral("09-12-2026"));

    // Sorted by text: the right-aligned codes put the shorter ones first.
    const QStringList perOperazione = {
        // 1-12 code, 14-41 bank (cut at 28), 43-57 balance, 59-73 credit, 75-89 available
        "          A1 Banca del Monte dei Paschi d         -250,75            0,00"
        "         -250,75 ",
        "         M22 Cassa Rurale                            0,00          500,50"
        "          500,50 ",
        "        ZETA Banca Zeta                          1.234,50        1.000,00"
        "        2.234,50 ",
    };
    EXPECT_EQ(listLines(f->List1), perOperazione);
    for (const QString& r : perOperazione)
        EXPECT_EQ(r.size(), 90);
    EXPECT_EQ(f->Totali->text(), QStringLiteral("                Totali          983,75"
                                                "        1.500,50        2.484,25 "));

    f->findChild<QRadioButton*>("Dataop_1")->click();
    const QStringList perValuta = {
        "          A1 Banca del Monte dei Paschi d         -300,00            0,00"
        "         -300,00 ",
        "         M22 Cassa Rurale                            0,00          500,50"
        "          500,50 ",
        "        ZETA Banca Zeta                          1.200,25        1.000,00"
        "        2.200,25 ",
    };
    EXPECT_EQ(listLines(f->List1), perValuta);
    EXPECT_EQ(f->Totali->text(), QStringLiteral("                Totali          900,25"
                                                "        1.500,50        2.400,75 "));

    // The archive was read again into the table; the account without totals got no file.
    EXPECT_EQ(stato().TabellaConti[1].codiceConto, QStringLiteral("ZETA"));
    EXPECT_FALSE(QFile::exists(dataFolder() + "M22.TOT"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SummaryTest, OtherAccountsTotalsNeverReachTheOpenAccountsBuffer) {
    treConti();
    auto& s = stato();
    s.CodiceContoAttivo = QStringLiteral("M22");
    s.TotaliContoAttivo.saldoContabile = 77;
    s.TotaliContoAttivo.primaDataOperazione = QStringLiteral("03/03/2026");
    const TotaliConto prima = s.TotaliContoAttivo;

    const Riepilogo r = costruisciRiepilogo(SaldoRiepilogo::Operazione);
    EXPECT_EQ(r.righe.size(), 3u);
    EXPECT_EQ(s.TotaliContoAttivo, prima);
    const TotaliConto zeta = leggiTotaliConto(QStringLiteral("ZETA")).valore;
    EXPECT_EQ(zeta.saldoOperazioneOggi, 1234.5);
    EXPECT_EQ(zeta.ultimaDataValuta, QStringLiteral("01/12/2026"));
}

TEST_F(SummaryTest, ATotalsFileThatCannotBeReadIsToldAndCountsAsZero) {
    treConti();
    ASSERT_TRUE(QFile::remove(dataFolder() + "ZETA.TOT"));
    ASSERT_TRUE(QDir().mkdir(dataFolder() + "ZETA.TOT"));
    const QString motivo = QStringLiteral("Impossibile leggere il file %1: ")
                               .arg(QDir::toNativeSeparators(dataFolder() + "ZETA.TOT"));

    // Read alone: failed with the reason, zeros beside it; a missing file is no failure.
    const EsitoCon<TotaliConto> zeta = leggiTotaliConto(QStringLiteral("ZETA"));
    EXPECT_TRUE(zeta.esito.fallito());
    EXPECT_TRUE(zeta.esito.testo.startsWith(motivo)) << zeta.esito.testo.toStdString();
    EXPECT_EQ(zeta.valore.saldoOperazioneOggi, 0.0);
    const EsitoCon<TotaliConto> m22 = leggiTotaliConto(QStringLiteral("M22"));
    EXPECT_TRUE(m22.ok());
    EXPECT_TRUE(m22.esito.testo.isEmpty());
    EXPECT_EQ(m22.valore, TotaliConto{});

    // The window lists the account with a zero balance, then tells why in one box.
    mostraRiepilogoConti();
    Form22* f = formHost().loaded<Form22>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(listLines(f->List1).last(),
              QStringLiteral("        ZETA Banca Zeta                              0,00"
                             "        1.000,00        1.000,00 "));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith(motivo));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("ERRORE"));
    EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Exclamation);
}

TEST_F(SummaryTest, DisplayCurrencyConvertsEachAmountAndTheSumsOnce) {
    treConti();
    stato().FattoreValuta = 2;
    const Riepilogo r = costruisciRiepilogo(SaldoRiepilogo::Operazione);
    EXPECT_DOUBLE_EQ(r.sommaSaldi, 983.75);
    EXPECT_EQ(r.totali, QStringLiteral("                Totali        1.967,50"
                                       "        3.001,00        4.968,50 "));
    EXPECT_EQ(r.righe[0].testo.mid(42, 15), QStringLiteral("       2.469,00"));
}

TEST_F(SummaryTest, NoAccountsGiveAnEmptyListAndZeroTotals) {
    mostraRiepilogoConti();
    Form22* f = formHost().loaded<Form22>();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->List1->count(), 0);
    EXPECT_EQ(f->Totali->text(), QStringLiteral("                Totali            0,00"
                                                "            0,00            0,00 "));
    EXPECT_FALSE(QFile::exists(dataFolder() + "Conti.dat"));
}

TEST_F(SummaryTest, DoubleClickShowsTheSheetForReadingOnly) {
    treConti();
    auto& s = stato();
    s.CodiceContoAttivo = QStringLiteral("M22");
    s.IndiceContoAttivo = 3;
    mostraRiepilogoConti();
    Form22* f = formHost().loaded<Form22>();
    ASSERT_NE(f, nullptr);

    // Last line first, then the first one: each finds its own account.
    for (int linea : {2, 0}) {
        const QRect r = f->List1->visualRect(f->List1->model()->index(linea, 0));
        QTest::mouseClick(f->List1->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(f->List1->viewport(), Qt::LeftButton, {}, r.center());
        Form10* scheda = formHost().loaded<Form10>();
        ASSERT_NE(scheda, nullptr);
        EXPECT_TRUE(scheda->isShown());
        EXPECT_EQ(scheda->modo(), Form10::Modo::Lettura);
        const char* attesi[] = {"A1", "", "ZETA"};
        EXPECT_EQ(scheda->CodConto->text(), QString::fromLatin1(attesi[linea]));
    }
    Form10* scheda = formHost().loaded<Form10>();
    EXPECT_EQ(scheda->NomeBanca->text(),
              QStringLiteral("Banca del Monte dei Paschi di Siena e Veneto"));
    EXPECT_EQ(scheda->Fido->text(), QStringLiteral("0,00"));
    EXPECT_EQ(scheda->abi->text(), QStringLiteral("01234"));

    // "Conferma" only closes the sheet: the open account stays the same.
    scheda->Saldi->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(formHost().loaded<Form10>(), nullptr);
    EXPECT_EQ(s.CodiceContoAttivo, QStringLiteral("M22"));
    EXPECT_EQ(s.IndiceContoAttivo, 3);
}

TEST_F(SummaryTest, DoubleClickFollowsTheCodeWhenTheArchiveChanged) {
    treConti();
    const Riepilogo r = costruisciRiepilogo(SaldoRiepilogo::Operazione);
    // The archive is rewritten in another order after the list was built.
    auto& s = stato();
    std::swap(s.TabellaConti[1], s.TabellaConti[3]);
    EXPECT_EQ(rigaContoDelRiepilogo(r.righe[0].testo, r.righe[0].rigaConto), 3); // ZETA
    EXPECT_EQ(rigaContoDelRiepilogo(QStringLiteral("        NONE x"), 1), 0);
}

} // namespace
} // namespace qv
