// The summary of all accounts: one line per account with its balance by operation or
// by value date as its totals file holds it, credit line and amount available, the
// totals, and the account sheet shown for reading only.
#include "archives/account_sheet_form.h"
#include "common/shared_state.h"
#include "ledger/summary.h"
#include "ledger/summary_form.h"
#include "platform/list_box.h"
#include "support/fixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QtEndian>

#include <cstring>

namespace qv {
namespace {

QByteArray testo(const char* s, int width) {
    QByteArray b(s);
    b.truncate(width);
    return b.leftJustified(width, ' ');
}

QByteArray le16(qint16 v) {
    QByteArray b(2, '\0');
    qToLittleEndian<qint16>(v, b.data());
    return b;
}

QByteArray le64(double v) {
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    QByteArray b(8, '\0');
    qToLittleEndian<quint64>(bits, b.data());
    return b;
}

// An account record of Conti.dat, field by field.
QByteArray contoBytes(qint16 numero, const char* codice, const char* banca, double fido) {
    QByteArray b = le16(numero) + testo(codice, 12) + testo("Conto corrente", 30) +
                   testo(banca, 45) + testo("Via Roma 1", 45) + testo("00100", 5) +
                   testo("Roma", 25) + testo("RM", 2) + le64(fido) + testo("", 1) +
                   testo("01234", 10) + testo("05678", 10) + testo("", 10);
    EXPECT_EQ(b.size(), 205);
    return b;
}

// A totals record of ".TOT": the four balances, then the four date bounds.
QByteArray totaliBytes(double nonSospesi, double valuta, double operazione, double contabile) {
    QByteArray b = le64(nonSospesi) + le64(valuta) + le64(operazione) + le64(contabile) +
                   testo("01/01/2026", 10) + testo("30/11/2026", 10) + testo("02/01/2026", 10) +
                   testo("01/12/2026", 10);
    EXPECT_EQ(b.size(), 72);
    return b;
}

class SummaryTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        auto& s = stato();
        s.FormatoImporti = QStringLiteral("#,###,###,##0.00");
        s.FattoreValuta = 1;
    }

    // Three accounts in the archive; the table in memory is stale on purpose, the
    // summary reads the archive again.
    void treConti() {
        writeBytes(dataFolder() + "Conti.dat",
                   contoBytes(1, "ZETA", "Banca Zeta", 1000) +
                       contoBytes(2, "A1", "Banca del Monte dei Paschi di Siena e Veneto", 0) +
                       contoBytes(3, "M22", "Cassa Rurale", 500.5));
        writeBytes(dataFolder() + "ZETA.TOT", totaliBytes(10, 1200.25, 1234.5, 2000));
        writeBytes(dataFolder() + "A1.TOT", totaliBytes(-5, -300, -250.75, -400));
        // M22 has never been opened: no totals file.
        auto& s = stato();
        s.NumeroConti = 3;
        s.TabellaConti.assign(4, Conto{});
        s.TabellaConti[1].codiceConto = QStringLiteral("OLD");
    }

    QStringList righe(ListBox* lista) {
        QStringList out;
        for (int i = 0; i < lista->count(); ++i)
            out << lista->text(i);
        return out;
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
    EXPECT_EQ(righe(f->List1), perOperazione);
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
    EXPECT_EQ(righe(f->List1), perValuta);
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
    const TotaliConto zeta = leggiTotaliConto(QStringLiteral("ZETA"));
    EXPECT_EQ(zeta.saldoOperazioneOggi, 1234.5);
    EXPECT_EQ(zeta.ultimaDataValuta, QStringLiteral("01/12/2026"));
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
