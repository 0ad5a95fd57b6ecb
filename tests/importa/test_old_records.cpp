// The previous release's records and the rules that turn them into current ones.
#include "old_folder.h"

#include "importa/old_records.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace qv::test
