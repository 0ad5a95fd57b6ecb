// The previous release's records and the rules that turn them into current ones.
#include "old_folder.h"

#include "common/record_layouts.h"
#include "importa/old_layouts.h"
#include "importa/old_records.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace qv::test {
namespace {

// The date rule: years 00-49 are 20xx, 50-99 are 19xx; the no-date, the empty mask
// and a blank date keep their meaning; a year that is not two digits keeps "19".
TEST(DateRule, WidensTheYearOfEveryKindOfOldDate) {
    const struct {
        QByteArray vecchia;
        const char* nuova;
    } casi[] = {
        {"12/05/98", "12/05/1998"}, {"03/01/00", "03/01/2000"}, {"31/12/49", "31/12/2049"},
        {"01/01/50", "01/01/1950"}, {"29/02/00", "29/02/2000"}, {"00/00/00", "00/00/0000"},
        {"__/__/__", "__/__/____"}, {"        ", ""},           {QByteArray(8, '\0'), ""},
        {"12/05/9_", "12/05/199_"}, {"  /  /  ", "  /  /19  "},
    };
    for (const auto& c : casi)
        EXPECT_EQ(convertiData(QString::fromLatin1(c.vecchia)), QLatin1String(c.nuova))
            << printable(c.vecchia);
}

// Totals: a converted date that reads as 0 becomes today; the others are widened.
TEST(DateRule, TotalsDateThatReadsAsZeroBecomesToday) {
    const QByteArray prima = "12/05/98", ultima = "00/00/00", primaValuta = "        ",
                     ultimaValuta = "__/__/__";
    const QByteArray t = convertiTotali(
        totaliVecchiBytes(1.5, 2.5, 3.5, 4.5, prima, ultima, primaValuta, ultimaValuta),
        QStringLiteral("09/12/2026"));
    EXPECT_EQ(
        t, totaliBytes(1.5, 2.5, 3.5, 4.5, "12/05/1998", "09/12/2026", "09/12/2026", "09/12/2026"));
}

// The closing record gets the account's whole code when the old one is its first
// eight characters, else the old code as it was.
TEST(ClosingRecord, CodeCutByThePreviousReleaseIsMadeWhole) {
    const struct {
        const char* conto;
        const char* vecchio;
        const char* nuovo;
    } casi[] = {
        {"A1", "A1", "A1"},
        {"CONTOLUNGO12", "CONTOLUN", "CONTOLUNGO12"},
        {"ABCDEFG HIJ", "ABCDEFG", "ABCDEFG HIJ"},
        {"  A1  ", "A1", "A1"},
        {"ALTRO", "A1", "A1"},
        {"CONTOLUNGO12", "CONTOLU", "CONTOLU"},
        {"A1", "", ""},
    };
    for (const auto& c : casi) {
        const QByteArray r = convertiRiportoPrecedente(chiVecchioBytes("31/12/97", 7.25, c.vecchio),
                                                       QLatin1String(c.conto));
        EXPECT_EQ(r, chiBytes("31/12/1997", 7.25, c.nuovo)) << c.conto;
    }
}

// The marker: date and two blanks, eleven blanks, "S", and its last byte as read.
TEST(OldLayouts, MarkerKeepsItsLastByte) {
    MarcaConversione m = MarcaConversione::fromBytes(QByteArray(24, ' ') + 'Z');
    EXPECT_EQ(m.convertito, QString());
    m.dataConversione = QStringLiteral("09/12/2026");
    m.convertito = QStringLiteral("S");
    EXPECT_EQ(m.toBytes(), convConBytes("09/12/2026", "Z"));
}

// Each old table starts at 0, puts each field right after the one before, gives each
// number the width of its kind, names no field twice and ends at the old record's
// length; each of its fields but the one not carried over is a field of the current
// layout, of the same kind, and only the dates and the closing record's code are
// narrower.
TEST(OldLayouts, EachTableCoversItsRecordFieldAfterField) {
    const auto verifica = []<class Vecchio, class Nuovo>(std::type_identity<Vecchio>,
                                                         std::type_identity<Nuovo>) {
        SCOPED_TRACE(std::to_string(Vecchio::Lunghezza) + " bytes");
        int fine = 0;
        std::set<std::pair<std::string_view, int>> nomi;
        for (const FieldInfo& c : Layout<Vecchio>::fields) {
            SCOPED_TRACE(std::string(c.name) + "(" + std::to_string(c.index) + ")");
            EXPECT_EQ(c.offset, fine);
            const int fissa = c.kind == FieldKind::Integer                               ? 2
                              : c.kind == FieldKind::Long || c.kind == FieldKind::Single ? 4
                              : c.kind == FieldKind::Double                              ? 8
                                                                                         : 0;
            if (fissa) {
                EXPECT_EQ(c.width, fissa);
            }
            if (c.kind == FieldKind::Date) {
                EXPECT_EQ(c.width, 8);
            }
            EXPECT_TRUE(nomi.insert({c.name, c.index}).second);
            fine = c.offset + c.width;
            if (c.name == "riservato20") continue;
            bool trovato = false;
            for (const FieldInfo& n : Layout<Nuovo>::fields) {
                if (n.name != c.name || n.index != c.index) continue;
                trovato = true;
                EXPECT_EQ(n.kind, c.kind);
                const bool codiceTagliato = c.name == "codiceConto" && Vecchio::Lunghezza == 24;
                const int attesa = c.kind == FieldKind::Date ? 10 : codiceTagliato ? 12 : c.width;
                EXPECT_EQ(n.width, attesa);
            }
            EXPECT_TRUE(trovato);
        }
        EXPECT_EQ(fine, Vecchio::Lunghezza);
    };
    verifica(std::type_identity<ContoVecchio>{}, std::type_identity<Conto>{});
    verifica(std::type_identity<MovimentoVecchio>{}, std::type_identity<Movimento>{});
    verifica(std::type_identity<TotaliVecchi>{}, std::type_identity<TotaliConto>{});
    verifica(std::type_identity<CarnetVecchio>{}, std::type_identity<CarnetAssegni>{});
    verifica(std::type_identity<FoglioAssegnoVecchio>{}, std::type_identity<FoglioAssegno>{});
    verifica(std::type_identity<InteressiVecchi>{}, std::type_identity<InteressiCreditori>{});
    verifica(std::type_identity<RiportoPrecedenteVecchio>{},
             std::type_identity<RiportoPrecedente>{});
    verifica(std::type_identity<RiportoVecchio>{}, std::type_identity<Riporto>{});
    verifica(std::type_identity<MarcaConversione>{}, std::type_identity<MarcaConversione>{});
}

// The marker read from bytes it did not write writes them back unchanged.
TEST(OldLayouts, MarkerGivesBackBytesItDidNotWrite) {
    for (const QByteArray& marca :
         {QByteArray("01/02/2003  ") + QByteArray(11, ' ') + "S" + QByteArray(1, '\0'),
          QByteArray("\x80x/\x9D\xFF/2003ab") + "riservato!!" + "N" + "\x81"}) {
        ASSERT_EQ(marca.size(), MarcaConversione::Lunghezza);
        EXPECT_EQ(MarcaConversione::fromBytes(marca).toBytes().toHex(' '), marca.toHex(' '));
    }
}

} // namespace
} // namespace qv::test
