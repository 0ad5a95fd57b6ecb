// The rebuild of the cheque files at a period closing: finished books dropped with
// their leaves and movements marked, the kept books, their leaves and the links
// renumbered to the new records.
#include "books_fixture.h"
#include "support/esito_test.h"

namespace qv {
namespace {

using test::le16;

// Book 1: cheques 11-20, all issued, aligned and dated before the closing: finished.
// Book 2: cheques 1-10: cheque 2 issued (its "AS" shares document "2" with book 2's
//         "CA"), cheque 3 blank (book 3's "CA" carries "3"), cheque 4 booked but its
//         movement gone.
// Book 3: cheques 31-40, all issued and aligned, the last dated after the closing.
// Movements: 1-3 the three "CA"; 4-13 book 1's cheques; 14 cheque 2; 15-24 book 3's.
class Rebuild : public test::BooksTest {
protected:
    void SetUp() override {
        BooksTest::SetUp();
        registra("01/10/2026", 1.0, 11);
        registra("02/10/2026", 2.0, 1);
        registra("03/10/2026", 3.0, 31);
        for (int riga = 1; riga <= 10; ++riga)
            emetti(riga, 10.0 * riga, "Fornitore", "05/11/2026");
        emetti(12, 25.0, "Mario", "06/11/2026");
        for (int riga = 21; riga <= 30; ++riga)
            emetti(riga, 5.0, "Negozio", riga == 30 ? "05/12/2026" : "10/11/2026");
        ASSERT_EQ(stato().NumeroMovimenti, 24);

        auto& s = stato();
        for (int riga : {1, 3}) {
            s.TabellaCarnet[size_t(riga)].fogliDaAllineare = 0;
            s.TabellaCarnet[size_t(riga)].allineato = QStringLiteral("S");
        }
        for (int riga = 1; riga <= 30; ++riga)
            if (s.TabellaFogli[size_t(riga)].movimento != 0)
                s.TabellaFogli[size_t(riga)].allineato = QStringLiteral("S");
        // Aligned as the alignment leaves them: the costs of books 1 and 3 and every
        // issued cheque are settled movements.
        for (int m = 1; m <= 24; ++m)
            if (m != 2) s.TabellaMovimenti[size_t(m)].sospeso = QStringLiteral("N");
        // Cheque 4: booked once, its movement since removed.
        s.TabellaFogli[14].movimento = 99;
        s.TabellaFogli[14].dataAssegno = QStringLiteral("07/11/2026");
        // A stale link: the first leaf of book 3 names book 2's cost movement.
        s.TabellaFogli[21].movimento = 2;
    }
};

TEST_F(Rebuild, FinishedBooksGoKeptBooksLeavesAndLinksAreRenumbered) {
    QString errore;
    ASSERT_TRUE(test::riuscito(RicostruisciFogli("30/11/2026"), &errore)) << errore.toStdString();
    const auto& s = stato();
    EXPECT_EQ(s.TabellaCarnet[1].esaurito, "S");
    EXPECT_EQ(s.TabellaCarnet[2].esaurito, "N");
    EXPECT_EQ(s.TabellaCarnet[3].esaurito, "N");

    // Book 1's cost and cheque movements are marked for the closing, nothing else.
    for (int m = 1; m <= 24; ++m)
        EXPECT_EQ(mov(m).annullato, (m == 1 || (m >= 4 && m <= 13)) ? "S" : "N") << m;

    // Leaves: book 2's as records 1-10 (book 1), book 3's as 11-20 (book 2).
    ASSERT_EQ(s.NumeroFogli, 20);
    EXPECT_EQ(readBytes(file(".NRF")), le16(20));
    const QByteArray fog = readBytes(file(".FOG"));
    ASSERT_EQ(fog.size(), 20 * 91);
    for (int k = 1; k <= 20; ++k) {
        const FoglioAssegno& f = foglio(k);
        EXPECT_EQ(FoglioAssegno::fromBytes(fog.mid((k - 1) * 91, 91)), f) << k;
        EXPECT_EQ(f.progressivo, k);
        EXPECT_EQ(f.numeroCarnet, k <= 10 ? 1 : 2);
        EXPECT_EQ(f.numeroAssegno, k <= 10 ? k : 20 + k);
    }
    EXPECT_EQ(foglio(2).movimento, 14); // its "AS", not book 2's "CA"
    EXPECT_EQ(foglio(3).movimento, 0);  // blank, not book 3's "CA"
    EXPECT_EQ(foglio(4).movimento, 0);  // movement gone: the leaf stays
    EXPECT_EQ(foglio(4).dataAssegno, "07/11/2026");
    EXPECT_EQ(foglio(1).movimento, 0);
    for (int k = 11; k <= 20; ++k)
        EXPECT_EQ(foglio(k).movimento, 4 + k) << k; // stale link of record 11 mended

    ASSERT_TRUE(test::riuscito(RicostruisciCarnet(), &errore)) << errore.toStdString();
    ASSERT_EQ(s.NumeroCarnet, 2);
    EXPECT_EQ(readBytes(file(".NRC")), le16(2));
    const QByteArray car = readBytes(file(".CAR"));
    ASSERT_EQ(car.size(), 2 * 36);
    EXPECT_EQ(CarnetAssegni::fromBytes(car.left(36)), carnet(1));
    EXPECT_EQ(CarnetAssegni::fromBytes(car.mid(36)), carnet(2));
    EXPECT_EQ(carnet(1).numeroCarnet, 1);
    EXPECT_EQ(carnet(1).primoAssegno, 1);
    EXPECT_EQ(carnet(1).movimentoCosto, 2);
    EXPECT_EQ(carnet(2).numeroCarnet, 2);
    EXPECT_EQ(carnet(2).primoAssegno, 31);
    EXPECT_EQ(carnet(2).movimentoCosto, 3);
    // Their cost movements carry the new numbers.
    EXPECT_EQ(mov(2).numeroDocumento.trimmed(), "1");
    EXPECT_EQ(mov(2).descrizione, "Carnet nr. 1-1");
    EXPECT_EQ(mov(3).numeroDocumento.trimmed(), "2");
    EXPECT_EQ(mov(3).descrizione, "Carnet nr. 2-31");
    EXPECT_EQ(mov(14).numeroDocumento.trimmed(), "2");
    // Every kept link names a movement of the right kind.
    for (int k = 1; k <= 20; ++k) {
        if (foglio(k).movimento == 0) continue;
        EXPECT_TRUE(eMovimentoDelFoglio(mov(foglio(k).movimento), foglio(k).numeroAssegno));
    }
    for (int c = 1; c <= 2; ++c)
        EXPECT_TRUE(eMovimentoDelCarnet(mov(carnet(c).movimentoCosto), carnet(c).numeroCarnet));
}

TEST_F(Rebuild, BooksWithdrawnAfterTheClosingOrNotAlignedStay) {
    auto& s = stato();
    // Book 1 withdrawn after the closing date; book 3 with one cheque to align.
    s.TabellaCarnet[1].dataRitiro = QStringLiteral("01/12/2026");
    s.TabellaCarnet[3].fogliDaAllineare = 1;
    QString errore;
    ASSERT_TRUE(test::riuscito(RicostruisciFogli("30/11/2026"), &errore)) << errore.toStdString();
    ASSERT_TRUE(test::riuscito(RicostruisciCarnet(), &errore)) << errore.toStdString();
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(carnet(c).esaurito, "N");
        EXPECT_EQ(carnet(c).numeroCarnet, c);
    }
    EXPECT_EQ(s.NumeroCarnet, 3);
    EXPECT_EQ(s.NumeroFogli, 30);
    for (int m = 1; m <= 24; ++m)
        EXPECT_EQ(mov(m).annullato, "N") << m;
    // Nothing moved, yet the links are mended: the stale one, the gone one.
    EXPECT_EQ(foglio(21).movimento, 15);
    EXPECT_EQ(foglio(14).movimento, 0);
    EXPECT_EQ(foglio(12).movimento, 14);
    EXPECT_EQ(mov(2).numeroDocumento.trimmed(), "2");
}

TEST_F(Rebuild, LaterClosingFinishesEveryAlignedBook) {
    QString errore;
    ASSERT_TRUE(test::riuscito(RicostruisciFogli("31/12/2026"), &errore));
    ASSERT_TRUE(test::riuscito(RicostruisciCarnet(), &errore));
    const auto& s = stato();
    ASSERT_EQ(s.NumeroCarnet, 1);
    EXPECT_EQ(carnet(1).primoAssegno, 1);
    EXPECT_EQ(carnet(1).numeroCarnet, 1);
    ASSERT_EQ(s.NumeroFogli, 10);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(foglio(k).numeroCarnet, 1);
    EXPECT_EQ(mov(3).annullato, "S");
    EXPECT_EQ(mov(24).annullato, "S");
    EXPECT_EQ(mov(2).annullato, "N");
    EXPECT_EQ(readBytes(file(".CAR")).size(), 36);
}

// A book whose cost or one of whose cheques is still suspended waits for a later
// closing: removing it would carry a movement not yet on the statement into the settled
// carry-forward and change the aligned balance.
void ilCarnetAttende(int movimentoSospeso) {
    auto& s = stato();
    s.TabellaMovimenti[size_t(movimentoSospeso)].sospeso = QStringLiteral("S");
    QString errore;
    ASSERT_TRUE(test::riuscito(RicostruisciFogli("30/11/2026"), &errore)) << errore.toStdString();
    EXPECT_EQ(s.TabellaCarnet[1].esaurito, "N");
    for (int m = 1; m <= 24; ++m)
        EXPECT_EQ(s.TabellaMovimenti[size_t(m)].annullato, "N") << m;
    EXPECT_EQ(s.NumeroFogli, 30);
}

TEST_F(Rebuild, ABookWhoseCostIsSuspendedWaits) {
    ilCarnetAttende(1);
}

TEST_F(Rebuild, ABookWithASuspendedChequeWaits) {
    ilCarnetAttende(7);
}

TEST_F(Rebuild, UnwritableLeafFileChangesNothing) {
    const auto fogliPrima = stato().TabellaFogli;
    const QByteArray fog = readBytes(file(".FOG"));
    const QByteArray nrf = readBytes(file(".NRF"));
    // The count file cannot be replaced: the leaf file written before it comes back.
    QFile::remove(file(".NRF"));
    ASSERT_TRUE(QDir().mkpath(file(".NRF")));
    QString errore;
    EXPECT_FALSE(test::riuscito(RicostruisciFogli("30/11/2026"), &errore));
    EXPECT_FALSE(errore.isEmpty());
    EXPECT_EQ(readBytes(file(".FOG")), fog);
    EXPECT_EQ(stato().TabellaFogli, fogliPrima);
    EXPECT_EQ(stato().TabellaCarnet[1].esaurito, "N");
    for (int m = 1; m <= 24; ++m)
        EXPECT_EQ(mov(m).annullato, "N");
}

} // namespace
} // namespace qv

namespace qv {
namespace {

Movimento movimentoDi(const char* causale, const char* documento) {
    Movimento m;
    m.codiceCausale = QString::fromLatin1(causale);
    m.numeroDocumento = QString::fromLatin1(documento);
    return m;
}

// The link rule after a closing or a reorder, one case each: movements 1-6 as below,
// movement 5 gone (new numbers 1, 2, 3, 4, -, 5).
TEST(LinkRule, StoredLinkStandsElseTheLastRemainingOfItsKind) {
    const std::vector<Movimento> movimenti = {Movimento{},
                                              movimentoDi("AS", "7"),
                                              movimentoDi("CA", "7"),
                                              movimentoDi("AS", "7"),
                                              movimentoDi("AS", "0008"),
                                              movimentoDi("AS", "9"),
                                              movimentoDi("CA", "3")};
    const NuoviNumeri nuovi = {0, 1, 2, 3, 4, 0, 5};
    struct Caso {
        const char* nome;
        qint16 link;
        qint32 assegno;
        qint16 atteso;
    };
    const Caso fogli[] = {
        {"a stored link to its own cheque stands", 1, 7, 1},
        {"a link to a book's cost: the last cheque", 2, 7, 3},
        {"a link to nothing: the last cheque", 99, 7, 3},
        {"a leaf never booked takes its cheque", 0, 8, 4},
        {"its movement gone: none", 5, 9, 0},
        {"no cheque carries its number: none", 4, 10, 0},
    };
    for (const Caso& c : fogli) {
        FoglioAssegno f;
        f.movimento = c.link;
        f.numeroAssegno = c.assegno;
        EXPECT_EQ(collegamentiFogliRimasti({f}, movimenti, 6, nuovi)[0], c.atteso) << c.nome;
    }
    const Caso carnet[] = {
        {"a stored link to its cost stands", 2, 7, 2},
        {"a link to a cheque: its cost", 1, 7, 2},
        {"the cost of another book: none", 6, 4, 0},
        {"its cost found by number", 0, 3, 5},
    };
    for (const Caso& c : carnet) {
        CarnetAssegni b;
        b.movimentoCosto = c.link;
        b.numeroCarnet = qint16(c.assegno);
        EXPECT_EQ(collegamentiCarnetRimasti({b}, movimenti, 6, nuovi)[0], c.atteso) << c.nome;
    }
}

} // namespace
} // namespace qv
