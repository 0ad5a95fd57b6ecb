// Record layouts and the Windows-1252 codec, checked against bytes written out by hand.
#include "common/random_file.h"
#include "common/record_layouts.h"
#include "common/records.h"
#include "common/text_codec.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

using namespace qv;

namespace {

// Builds expected record bytes: numbers as explicit little-endian bytes, text as
// Windows-1252 bytes padded with blanks to the field's width.
class Hand {
public:
    Hand& b(std::initializer_list<int> bytes) {
        for (int v : bytes)
            m_bytes.append(static_cast<char>(v));
        return *this;
    }
    Hand& t(const char* cp1252, int width) {
        const QByteArray text(cp1252);
        EXPECT_LE(text.size(), width);
        m_bytes.append(text).append(width - text.size(), ' ');
        return *this;
    }
    Hand& zeros(int n) {
        m_bytes.append(n, '\0');
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

std::string hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toStdString();
}

// The record writes exactly the hand-made bytes and reads them back as itself.
template <class R> void expectLayout(const R& record, const QByteArray& hand) {
    ASSERT_EQ(hand.size(), R::Lunghezza);
    EXPECT_EQ(hex(record.toBytes()), hex(hand));
    EXPECT_TRUE(R::fromBytes(hand) == record);
}

} // namespace

TEST(Cp1252, EveryByteDecodesAndEncodesBackUnchanged) {
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    const QString text = fromCp1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC)); // euro
    EXPECT_EQ(text.at(0x8A), QChar(0x0160));
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(text.at(0xE8), QChar(0x00E8));
    for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(text.at(undefined), QChar(undefined));
    EXPECT_EQ(hex(toCp1252(text, 256)), hex(all));
}

TEST(Cp1252, TableAgreesWithTheSystemConverter) {
    QStringDecoder system("windows-1252");
    if (!system.isValid()) GTEST_SKIP() << "Qt built without a Windows-1252 converter";
    for (int i = 0; i < 256; ++i) {
        const char byte = static_cast<char>(i);
        const QString expected = system(QByteArrayView(&byte, 1));
        EXPECT_EQ(fromCp1252(QByteArrayView(&byte, 1)), expected) << "byte " << i;
    }
}

TEST(Cp1252, FieldIsPaddedCutAndUnknownCharactersBecomeQuestionMarks) {
    EXPECT_EQ(toCp1252(QStringLiteral("€è"), 4), QByteArray("\x80\xE8  "));
    EXPECT_EQ(toCp1252(QStringLiteral("abcdef"), 3), QByteArray("abc"));
    // Greek omega, a control code whose byte means the euro, and a character outside
    // the basic plane (one character, one "?").
    EXPECT_EQ(toCp1252(QStringLiteral("Ω") + QChar(0x80) + QStringLiteral("😀x"), 5),
              QByteArray("???x "));
    EXPECT_TRUE(toCp1252(QStringLiteral("abc"), 0).isEmpty());
}

TEST(Cp1252, TextFieldDropsTrailingBlanksAndNulsOnly) {
    EXPECT_EQ(textField(QByteArray("  ab c \0 \0", 10)), QStringLiteral("  ab c"));
    EXPECT_EQ(textField(QByteArray(10, '\0')), QString());
}

TEST(RecordLayout, Movimento) {
    Movimento m;
    m.numero = 258;
    m.dataOperazione = QStringLiteral("05/11/2000");
    m.dataValuta = QStringLiteral("06/11/2000");
    m.codiceCausale = QStringLiteral("AS");
    m.importo = 1.5;
    m.numeroDocumento = QStringLiteral("123");
    m.descrizione = QStringLiteral("Caffè €");
    m.sospeso = QStringLiteral("S");
    m.entrataUscita = QStringLiteral("U");
    m.annullato = QStringLiteral("N");
    expectLayout(m, Hand()
                        .b({0x02, 0x01})
                        .t("05/11/2000", 10)
                        .t("06/11/2000", 10)
                        .t("AS", 5)
                        .b({0, 0, 0, 0, 0, 0, 0xF8, 0x3F})
                        .t("123", 8)
                        .t("Caff\xE8 \x80", 30)
                        .t("S", 1)
                        .t("U", 1)
                        .t("N", 1)
                        .bytes());
}

TEST(RecordLayout, Conto) {
    Conto c;
    c.numero = 1;
    c.codiceConto = QStringLiteral("12");
    c.tipoConto = QStringLiteral("Ordinario");
    c.nomeBanca = QStringLiteral("Banca Più");
    c.indirizzo = QStringLiteral("Via Roma 1");
    c.cap = QStringLiteral("00100");
    c.localita = QStringLiteral("Località");
    c.provincia = QStringLiteral("RM");
    c.fido = -1234.5;
    c.riservato = QStringLiteral("X");
    c.codiceAbi = QStringLiteral("03069");
    c.codiceCab = QStringLiteral("05000");
    c.idBanca = QStringLiteral("ID1");
    expectLayout(c, Hand()
                        .b({0x01, 0x00})
                        .t("12", 12)
                        .t("Ordinario", 30)
                        .t("Banca Pi\xF9", 45)
                        .t("Via Roma 1", 45)
                        .t("00100", 5)
                        .t("Localit\xE0", 25)
                        .t("RM", 2)
                        .b({0, 0, 0, 0, 0, 0x4A, 0x93, 0xC0})
                        .t("X", 1)
                        .t("03069", 10)
                        .t("05000", 10)
                        .t("ID1", 10)
                        .bytes());

    // A value longer than its field is cut to the field's width.
    c.codiceConto = QStringLiteral("123456789012345");
    EXPECT_EQ(c.toBytes().mid(2, 12), QByteArray("123456789012"));
}

TEST(RecordLayout, VoceCausaleAndContatore) {
    VoceCausale v;
    v.numero = 3;
    v.codiceCausale = QStringLiteral("GC");
    v.descrizione = QStringLiteral("GIROCONTO");
    v.sospeso = QStringLiteral("S");
    v.entrataUscita = QStringLiteral("U");
    v.soggettoCosto = QStringLiteral("1");
    expectLayout(
        v,
        Hand().b({0x03, 0x00}).t("GC", 5).t("GIROCONTO", 25).t("S", 1).t("U", 1).t("1", 1).bytes());
    expectLayout(Contatore{-2}, Hand().b({0xFE, 0xFF}).bytes());
    expectLayout(Contatore{32767}, Hand().b({0xFF, 0x7F}).bytes());
}

TEST(RecordLayout, TotaliConto) {
    TotaliConto t;
    t.saldoNonSospesi = 50.0;
    t.saldoValutaOggi = -75.25;
    t.saldoOperazioneOggi = 1000.0;
    t.saldoContabile = 0.1;
    t.primaDataOperazione = QStringLiteral("01/01/2001");
    t.ultimaDataOperazione = QStringLiteral("31/12/2001");
    t.primaDataValuta = QStringLiteral("02/01/2001");
    t.ultimaDataValuta = QStringLiteral("00/00/0000");
    expectLayout(t, Hand()
                        .b({0, 0, 0, 0, 0, 0, 0x49, 0x40})
                        .b({0, 0, 0, 0, 0, 0xD0, 0x52, 0xC0})
                        .b({0, 0, 0, 0, 0, 0x40, 0x8F, 0x40})
                        .b({0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F})
                        .t("01/01/2001", 10)
                        .t("31/12/2001", 10)
                        .t("02/01/2001", 10)
                        .t("00/00/0000", 10)
                        .bytes());
}

TEST(RecordLayout, CarnetAssegniCarriesItsReservedBytes) {
    CarnetAssegni c;
    c.movimentoCosto = 7;
    c.numeroCarnet = 3;
    c.dataRitiro = QStringLiteral("05/11/2000");
    c.costo = 12.5;
    c.primoAssegno = 501;
    c.ultimoAssegno = 510;
    c.esaurito = QStringLiteral("N");
    c.fogliDaAllineare = 10;
    c.allineato = QStringLiteral("N");
    const Hand head = Hand()
                          .b({0x07, 0x00, 0x03, 0x00})
                          .t("05/11/2000", 10)
                          .b({0, 0, 0, 0, 0, 0, 0x29, 0x40})
                          .b({0xF5, 0x01, 0x00, 0x00, 0xFE, 0x01, 0x00, 0x00})
                          .t("N", 1)
                          .b({0x0A, 0x00})
                          .t("N", 1);
    // A new record has zeros in the reserved bytes; bytes read are written back.
    EXPECT_EQ(hex(c.toBytes()), hex(Hand(head).zeros(2).bytes()));
    const QByteArray read = Hand(head).b({0xAB, 0xCD}).bytes();
    EXPECT_EQ(hex(CarnetAssegni::fromBytes(read).toBytes()), hex(read));
    c.riservato = QByteArray("\xAB\xCD");
    expectLayout(c, read);
}

TEST(RecordLayout, FoglioAssegno) {
    FoglioAssegno f;
    f.movimento = -2;
    f.progressivo = 11;
    f.numeroCarnet = 2;
    f.numeroAssegno = 0x01020304;
    f.dataAssegno = QStringLiteral("00/00/0000");
    f.importo = 255.0;
    f.traenteAssegno = QStringLiteral("Società €");
    f.noteAssegno = QStringLiteral("nota");
    f.allineato = QStringLiteral("N");
    f.riservato = QStringLiteral("S");
    f.annullato = QStringLiteral("N");
    expectLayout(f, Hand()
                        .b({0xFE, 0xFF, 0x0B, 0x00, 0x02, 0x00})
                        .b({0x04, 0x03, 0x02, 0x01})
                        .t("00/00/0000", 10)
                        .b({0, 0, 0, 0, 0, 0xE0, 0x6F, 0x40})
                        .t("Societ\xE0 \x80", 30)
                        .t("nota", 30)
                        .t("N", 1)
                        .t("S", 1)
                        .t("N", 1)
                        .bytes());
}

TEST(RecordLayout, FoglioAssegnoKeepsAPayeeOfNulBytesApartFromOneOfBlanks) {
    const auto leaf = [](const QByteArray& payee) {
        return Hand()
                   .b({0, 0, 0x03, 0x00, 0x01, 0x00})
                   .b({0xB9, 0x0B, 0, 0})
                   .t("00/00/0000", 10)
                   .zeros(8)
                   .bytes() +
               payee + Hand().t("", 30).t("N", 1).t("S", 1).t("N", 1).bytes();
    };
    struct Case {
        QByteArray payee;
        bool nullo;
    };
    const Case cases[] = {
        {QByteArray(30, '\0'), true},
        {QByteArray(25, '\0') + QByteArray(5, ' '), true},
        {QByteArray(30, ' '), false},
        {QByteArray(24, '\0') + QByteArray("x") + QByteArray(5, '\0'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hex(c.payee));
        const QByteArray bytes = leaf(c.payee);
        ASSERT_EQ(bytes.size(), FoglioAssegno::Lunghezza);
        const FoglioAssegno f = FoglioAssegno::fromBytes(bytes);
        EXPECT_EQ(f.traenteNullo, c.nullo);
        // Written back untouched, a payee of NULs stays NULs: the next reader still
        // tells a leaf never issued.
        if (c.nullo) {
            EXPECT_EQ(hex(f.toBytes()), hex(leaf(QByteArray(30, '\0'))));
            FoglioAssegno emesso = f;
            emesso.traenteAssegno = QStringLiteral("Rossi");
            emesso.traenteNullo = false;
            EXPECT_EQ(hex(emesso.toBytes()), hex(leaf(Hand().t("Rossi", 30).bytes())));
        }
    }
    // Past the end of a file every byte is zero.
    EXPECT_TRUE(FoglioAssegno::fromBytes({}).traenteNullo);
    EXPECT_FALSE(FoglioAssegno{}.traenteNullo);
}

TEST(RecordLayout, ShellRecords) {
    Impostazioni s;
    s.percorsoDati = QStringLiteral("0");
    s.contoAvvio = QStringLiteral("12");
    s.valutaPredefinita = QStringLiteral("Euro - Unione Europea");
    s.numeroDecimali = 2;
    s.nomeUtente = QStringLiteral("  mario"); // leading blanks are kept
    s.passwordUtente = QStringLiteral("segreto");
    s.accessoConPassword = -1;
    expectLayout(s, Hand()
                        .t("0", 35)
                        .t("12", 12)
                        .t("Euro - Unione Europea", 25)
                        .b({0x02, 0x00})
                        .t("  mario", 30)
                        .t("segreto", 10)
                        .b({0xFF, 0xFF})
                        .bytes());

    Valuta v;
    v.numero = 7;
    v.nomeValuta = QStringLiteral("Lira");
    v.cambio = 1936.27;
    v.paese = QStringLiteral("Italia");
    expectLayout(v, Hand()
                        .b({0x07, 0x00})
                        .t("Lira", 25)
                        .b({0xAE, 0x47, 0xE1, 0x7A, 0x14, 0x41, 0x9E, 0x40})
                        .t("Italia", 25)
                        .bytes());

    Colori c;
    c.coloreSfondo = 16777215.0;
    c.coloreCarattere = 255.0;
    c.coloriPredefiniti = QStringLiteral("N");
    c.riservato = QByteArray(1, '\0');
    expectLayout(c, Hand()
                        .b({0, 0, 0, 0xE0, 0xFF, 0xFF, 0x6F, 0x41})
                        .b({0, 0, 0, 0, 0, 0xE0, 0x6F, 0x40})
                        .t("N", 1)
                        .zeros(1)
                        .bytes());
}

TEST(RecordLayout, InterestRecords) {
    InteressiCreditori cr;
    cr.dataDecorrenza[1] = QStringLiteral("01/01/2001");
    cr.dataDecorrenza[5] = QStringLiteral("__/__/____");
    cr.tasso[1] = 3.5F;
    cr.tasso[5] = 0.5F;
    expectLayout(cr, Hand()
                         .t("01/01/2001", 10)
                         .t("", 30)
                         .t("__/__/____", 10)
                         .b({0x00, 0x00, 0x60, 0x40})
                         .zeros(12)
                         .b({0x00, 0x00, 0x00, 0x3F})
                         .bytes());

    InteressiDebitori db;
    db.dataDecorrenza[1] = QStringLiteral("01/07/2001");
    db.tassoEntroFido[1] = 12.75F;
    db.tassoEntroFido[2] = 8.0F;
    db.tassoFuoriFido[1] = 2.25F;
    db.tassoFuoriFido[5] = 1.0F;
    const QByteArray hand = Hand()
                                .t("01/07/2001", 10)
                                .t("", 40)
                                .b({0x00, 0x00, 0x4C, 0x41, 0x00, 0x00, 0x00, 0x41})
                                .zeros(12)
                                .b({0x00, 0x00, 0x10, 0x40})
                                .zeros(12)
                                .b({0x00, 0x00, 0x80, 0x3F})
                                .bytes();
    expectLayout(db, hand);

    // The older 70-byte file: the rates beyond the credit line read as 0.
    const InteressiDebitori old = InteressiDebitori::fromBytes(hand.first(70));
    EXPECT_EQ(old.dataDecorrenza[1], QStringLiteral("01/07/2001"));
    EXPECT_EQ(old.tassoEntroFido[1], 12.75F);
    EXPECT_EQ(old.tassoEntroFido[2], 8.0F);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(old.tassoFuoriFido[i], 0.0F) << i;
    EXPECT_EQ(old.toBytes().size(), 90);
}

TEST(RecordLayout, CostRecords) {
    Opzioni o;
    o.periodicitaChiusura = QStringLiteral("1");
    o.minimoMovimenti = 20;
    o.indirizzoInternet = QStringLiteral("http://www.banca.it");
    o.baseGiorniDebitori = QStringLiteral("1");
    o.baseGiorniCreditori = QStringLiteral("2");
    o.codiceDivisore = 4;
    expectLayout(o, Hand()
                        .t("1", 1)
                        .b({0x14, 0x00})
                        .t("http://www.banca.it", 100)
                        .t("1", 1)
                        .t("2", 1)
                        .b({0x04, 0x00})
                        .bytes());

    OneriPassivi op;
    op.aliquotaEccedenza = 0.5F;
    op.ritenutaFiscale = 12.75F;
    op.aliquotaScopertoFuoriFidoGiorni = 4.5F;
    op.descrizioneLibera1 = QStringLiteral("Campo libero 1");
    op.descrizioneLibera2 = QStringLiteral("Commissione €");
    op.baseLibera1 = QStringLiteral("3");
    expectLayout(op, Hand()
                         .b({0x00, 0x00, 0x00, 0x3F})
                         .zeros(4)
                         .b({0x00, 0x00, 0x4C, 0x41})
                         .zeros(12)
                         .b({0x00, 0x00, 0x90, 0x40})
                         .t("Campo libero 1", 25)
                         .t("Commissione \x80", 25)
                         .t("3", 1)
                         .t("", 1)
                         .bytes());

    SpeseVarie sv;
    sv.importoSpesa[0] = 50.0;
    sv.importoSpesa[6] = 1.5;
    sv.addebitoTrimestrale = {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"),
                              QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"),
                              QStringLiteral("0")};
    sv.descrizioneSpesa1 = QStringLiteral("Bollo");
    sv.descrizioneSpesa2 = QStringLiteral("Campo libero 2");
    expectLayout(sv, Hand()
                         .b({0, 0, 0, 0, 0, 0, 0x49, 0x40})
                         .zeros(40)
                         .b({0, 0, 0, 0, 0, 0, 0xF8, 0x3F})
                         .t("1010100", 7)
                         .t("Bollo", 25)
                         .t("Campo libero 2", 25)
                         .bytes());
}

TEST(RecordLayout, CarryForwardRecords) {
    expectLayout(Riporto{QStringLiteral("31/12/2001"), -75.25},
                 Hand().t("31/12/2001", 10).b({0, 0, 0, 0, 0, 0xD0, 0x52, 0xC0}).bytes());
    expectLayout(RiportoPrecedente{QStringLiteral(""), 0.0, QStringLiteral("CC-12")},
                 Hand().t("", 10).zeros(8).t("CC-12", 12).bytes());
}

TEST(RecordLayout, ShortRecordReadsAsZerosAndBlanks) {
    // Five bytes of a movement: the number and the first three characters of the date.
    const Movimento m = Movimento::fromBytes(QByteArray("\x05\x00"
                                                        "05/",
                                                        5));
    EXPECT_EQ(m.numero, 5);
    EXPECT_EQ(m.dataOperazione, QStringLiteral("05/"));
    Movimento rest = m;
    rest.numero = 0;
    rest.dataOperazione.clear();
    EXPECT_TRUE(rest == Movimento{});

    // Nothing at all, as past the end of a file: zeros and empty texts, NULs dropped.
    EXPECT_TRUE(Conto::fromBytes({}) == Conto{});
    EXPECT_TRUE(Opzioni::fromBytes(QByteArray(107, '\0')) == Opzioni{});
    EXPECT_TRUE(FoglioAssegno::fromBytes({}).dataAssegno.isEmpty());
}

// A whole file's movements read at once share one block of text: each text still reads
// as the one record alone gives, and changing one changes no other.
TEST(RecordReading, ManyMovementsReadAtOnceReadAsEachAlone) {
    struct Caso {
        const char* nome;
        QByteArray record;
        const char* dataOperazione;
        const char* descrizione;
        const char* sospeso;
    };
    const Caso casi[] = {
        {"blank-padded",
         Hand()
             .b({1, 0})
             .t("01/12/2026", 10)
             .t("02/12/2026", 10)
             .t("VE", 5)
             .zeros(8)
             .t("12", 8)
             .t("stipendio", 30)
             .t("N", 1)
             .t("E", 1)
             .t("N", 1)
             .bytes(),
         "01/12/2026", "stipendio", "N"},
        {"NUL-padded, Windows-1252 letters",
         Hand()
             .b({2, 0})
             .t("03/12/2026", 10)
             .zeros(10)
             .t("PR", 5)
             .zeros(8)
             .zeros(8)
             .b({'C', 'a', 'f', 'f', 0xE8, ' ', 0x80, 0x81})
             .zeros(22)
             .t("S", 1)
             .t("U", 1)
             .zeros(1)
             .bytes(),
         "03/12/2026", "Caff\xC3\xA8 \xE2\x82\xAC\xC2\x81", "S"},
        {"empty", Hand().zeros(Movimento::Lunghezza).bytes(), "", "", ""},
        {"a one-letter description",
         Hand()
             .b({4, 0})
             .t("04/12/2026", 10)
             .t("04/12/2026", 10)
             .t("", 5)
             .zeros(8)
             .t("", 8)
             .t("x", 30)
             .t("", 1)
             .t("", 1)
             .t("", 1)
             .bytes(),
         "04/12/2026", "x", ""},
    };
    QByteArray file;
    for (const Caso& c : casi) {
        ASSERT_EQ(c.record.size(), Movimento::Lunghezza) << c.nome;
        file += c.record;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("C1.MOV"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();

    std::vector<Movimento> letti = leggiRecords<Movimento>(path, int(std::size(casi)));
    ASSERT_EQ(letti.size(), std::size(casi));
    for (size_t i = 0; i < std::size(casi); ++i) {
        const Caso& c = casi[i];
        EXPECT_EQ(letti[i], Movimento::fromBytes(c.record)) << c.nome;
        EXPECT_EQ(letti[i].dataOperazione, QString::fromUtf8(c.dataOperazione)) << c.nome;
        EXPECT_EQ(letti[i].descrizione, QString::fromUtf8(c.descrizione)) << c.nome;
        EXPECT_EQ(letti[i].sospeso, QString::fromUtf8(c.sospeso)) << c.nome;
        // Each text ends where it ends, for the readers of its characters too.
        EXPECT_EQ(
            QString::fromUtf16(reinterpret_cast<const char16_t*>(letti[i].dataOperazione.utf16())),
            QString::fromUtf8(c.dataOperazione))
            << c.nome;
    }
    // Changing one text leaves the others, in the same record and in the next, alone.
    letti[0].dataOperazione[0] = u'9';
    letti[0].sospeso += u'!';
    EXPECT_EQ(letti[0].dataOperazione, QStringLiteral("91/12/2026"));
    EXPECT_EQ(letti[0].dataValuta, QStringLiteral("02/12/2026"));
    EXPECT_EQ(letti[1].dataOperazione, QStringLiteral("03/12/2026"));
    EXPECT_EQ(letti[0].sospeso, QStringLiteral("N!"));
    EXPECT_EQ(letti[2].sospeso, QString());
    // A text kept after its records are gone keeps its characters.
    const QString tenuta = letti[1].descrizione;
    letti.clear();
    EXPECT_EQ(tenuta, QString::fromUtf8("Caff\xC3\xA8 \xE2\x82\xAC\xC2\x81"));
}

// A stored record copied to another file reads as the program writes that movement: the
// blanks and NULs that end each text field become blanks, nothing else changes.
TEST(RecordReading, StoredMovementBytesBecomeTheWrittenOnes) {
    struct Caso {
        const char* nome;
        QByteArray memorizzato;
        QByteArray atteso;
    };
    const QByteArray importo = Hand().b({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}).bytes();
    const Caso casi[] = {
        {"already blank-padded",
         Hand().b({7, 0}).t("01/12/2026", 10).t("02/12/2026", 10).t("VE", 5).bytes() + importo +
             Hand().t("12", 8).t("stipendio", 30).t("N", 1).t("E", 1).t("N", 1).bytes(),
         Hand().b({7, 0}).t("01/12/2026", 10).t("02/12/2026", 10).t("VE", 5).bytes() + importo +
             Hand().t("12", 8).t("stipendio", 30).t("N", 1).t("E", 1).t("N", 1).bytes()},
        {"NULs and blanks ending the texts; a NUL inside one stays",
         Hand().b({0, 1}).t("01/12/2026", 10).zeros(10).b({'V', 0, 'E', 0, ' '}).bytes() + importo +
             Hand().b({'1', ' ', 0, ' ', 0, 0, 0, 0}).t("a\x80", 30).zeros(3).bytes(),
         Hand().b({0, 1}).t("01/12/2026", 10).t("", 10).b({'V', 0, 'E', ' ', ' '}).bytes() +
             importo + Hand().t("1", 8).t("a\x80", 30).t("", 1).t("", 1).t("", 1).bytes()},
    };
    for (const Caso& c : casi) {
        ASSERT_EQ(c.memorizzato.size(), Movimento::Lunghezza) << c.nome;
        QByteArray record = c.memorizzato;
        Movimento::normalizzaBytes(record.data());
        EXPECT_EQ(hex(record), hex(c.atteso)) << c.nome;
    }
}

// --- The tables of fields ---------------------------------------------------------------

namespace {

using TuttiIRecord =
    std::tuple<Impostazioni, Valuta, Colori, Contatore, Conto, VoceCausale, Movimento, TotaliConto,
               CarnetAssegni, FoglioAssegno, InteressiCreditori, InteressiDebitori, Opzioni,
               OneriPassivi, SpeseVarie, Riporto, RiportoPrecedente>;

// Calls f(std::type_identity<R>{}) for every record R of the tuple.
template <class Tuple, class F> void perOgniRecord(F f) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (f(std::type_identity<std::tuple_element_t<I, Tuple>>{}), ...);
    }
    (std::make_index_sequence<std::tuple_size_v<Tuple>>{});
}

int larghezzaAttesa(FieldKind tipo) {
    switch (tipo) {
    case FieldKind::Integer:
        return 2;
    case FieldKind::Long:
        return 4;
    case FieldKind::Single:
        return 4;
    case FieldKind::Double:
        return 8;
    default:
        return -1;
    }
}

// Every byte value but blank and NUL, one after the other from `primo`, for `n` bytes:
// no text field of such a record ends in what reading drops.
QByteArray ciclo(int n, int primo) {
    QByteArray out;
    int v = primo;
    while (out.size() < n) {
        v = v % 256;
        if (v != 0 && v != ' ') out.append(static_cast<char>(v));
        ++v;
    }
    return out;
}

} // namespace

// Each table starts at 0, puts each field right after the one before, gives each number
// the width of its kind, names no field twice and ends at the record's length; and each
// field's bytes are read into the record and written back there, and nowhere else.
TEST(RecordTables, EachTableCoversItsRecordFieldAfterField) {
    perOgniRecord<TuttiIRecord>([]<class R>(std::type_identity<R>) {
        const auto& fields = Layout<R>::fields;
        SCOPED_TRACE(std::string(fields[0].name) + "...");
        int fine = 0;
        std::set<std::pair<std::string_view, int>> nomi;
        for (const FieldInfo& c : fields) {
            SCOPED_TRACE(std::string(c.name) + "(" + std::to_string(c.index) + ")");
            EXPECT_EQ(c.offset, fine);
            EXPECT_GT(c.width, 0);
            if (larghezzaAttesa(c.kind) > 0) {
                EXPECT_EQ(c.width, larghezzaAttesa(c.kind));
            }
            EXPECT_TRUE(nomi.insert({c.name, c.index}).second);
            fine = c.offset + c.width;

            const QByteArray vuoto = R::fromBytes(QByteArray(R::Lunghezza, '\0')).toBytes();
            QByteArray pieno(R::Lunghezza, '\0');
            pieno.replace(c.offset, c.width, ciclo(c.width, 0x41));
            const QByteArray scritto = R::fromBytes(pieno).toBytes();
            ASSERT_EQ(scritto.size(), R::Lunghezza);
            EXPECT_EQ(hex(scritto.mid(c.offset, c.width)), hex(ciclo(c.width, 0x41)));
            EXPECT_EQ(hex(scritto.first(c.offset)), hex(vuoto.first(c.offset)));
            EXPECT_EQ(hex(scritto.sliced(fine)), hex(vuoto.sliced(fine)));
        }
        EXPECT_EQ(fine, R::Lunghezza);
    });
}

// A record read from bytes it did not write writes them back unchanged: numbers keep
// their bits (a NaN its payload), texts every character, reserved bytes their value.
TEST(RecordTables, RecordGivesBackBytesItDidNotWrite) {
    perOgniRecord<TuttiIRecord>([]<class R>(std::type_identity<R>) {
        for (int primo : {0x01, 0x7F, 0xC3}) {
            const QByteArray letto = ciclo(R::Lunghezza, primo);
            SCOPED_TRACE(std::string(Layout<R>::fields[0].name) + " from " + std::to_string(primo));
            EXPECT_EQ(hex(R::fromBytes(letto).toBytes()), hex(letto));
        }
    });

    // Texts padded with blanks, numbers 0, reserved bytes of any value; a leaf never
    // issued keeps its payee of NULs.
    const QByteArray foglio = Hand()
                                  .b({0x03, 0x00, 0x01, 0x00, 0x02, 0x00, 0x40, 0xE2, 0x01, 0x00})
                                  .t("", 10)
                                  .zeros(8)
                                  .zeros(30)
                                  .t("nota", 30)
                                  .t("N", 1)
                                  .t("", 1)
                                  .t("S", 1)
                                  .bytes();
    EXPECT_EQ(hex(FoglioAssegno::fromBytes(foglio).toBytes()), hex(foglio));
    const QByteArray carnet = Hand()
                                  .b({0xFF, 0xFF, 0x07, 0x00})
                                  .t("01/02/2003", 10)
                                  .zeros(8)
                                  .b({1, 0, 0, 0, 10, 0, 0, 0})
                                  .t("N", 1)
                                  .b({0, 0})
                                  .t("", 1)
                                  .b({0x00, 0x9D})
                                  .bytes();
    EXPECT_EQ(hex(CarnetAssegni::fromBytes(carnet).toBytes()), hex(carnet));
    const QByteArray colori = Hand().zeros(16).t("S", 1).b({0x00}).bytes();
    EXPECT_EQ(hex(Colori::fromBytes(colori).toBytes()), hex(colori));
}
