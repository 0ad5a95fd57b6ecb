// Number patterns with the Italian marks, and typed amounts read the Italian way.
#include "common/amounts.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>

namespace qv {
namespace {

TEST(FormatoImporti, PatternsForZeroToFourDecimalsOnly) {
    EXPECT_EQ(formatoImporti(0), "#,###,###,##0");
    EXPECT_EQ(formatoImporti(1), "#,###,###,##0.0");
    EXPECT_EQ(formatoImporti(2), "#,###,###,##0.00");
    EXPECT_EQ(formatoImporti(3), "#,###,###,##0.000");
    EXPECT_EQ(formatoImporti(4), "#,###,###,##0.0000");
    EXPECT_EQ(formatoImporti(5), "");
    EXPECT_EQ(formatoImporti(-1), "");
}

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.value << " \"" << c.pattern << '"';
}

class FormatNumber : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumber, PrintsWithItalianMarks) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected))
        << c.value << " with " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    AmountPatterns, FormatNumber,
    ::testing::Values(
        // grouping and decimals of the five amount patterns
        FormatCase{1234567.891, "#,###,###,##0", "1.234.568"},
        FormatCase{1234567.891, "#,###,###,##0.0", "1.234.567,9"},
        FormatCase{1234567.891, "#,###,###,##0.00", "1.234.567,89"},
        FormatCase{1234567.891, "#,###,###,##0.000", "1.234.567,891"},
        FormatCase{1234567.891, "#,###,###,##0.0000", "1.234.567,8910"},
        FormatCase{0, "#,###,###,##0.00", "0,00"}, FormatCase{0.5, "#,###,###,##0", "1"},
        FormatCase{123, "#,###,###,##0.00", "123,00"}, FormatCase{1234, "#,###,###,##0", "1.234"},
        FormatCase{1e13, "#,###,###,##0", "10.000.000.000.000"},
        // rounding half away from zero on 15 significant digits
        FormatCase{1.005, "#,###,###,##0.00", "1,01"}, FormatCase{2.5, "#,###,###,##0", "3"},
        FormatCase{0.125, "#,###,###,##0.00", "0,13"}, FormatCase{-2.5, "#,###,###,##0", "-3"},
        FormatCase{999.995, "#,###,###,##0.00", "1.000,00"},
        FormatCase{0.1 + 0.2, "0.0000000000000000", "0,3000000000000000"},
        // negatives, and no sign on what rounds to zero
        FormatCase{-1234.5, "#,###,###,##0.00", "-1.234,50"},
        FormatCase{-0.004, "#,###,###,##0.00", "0,00"},
        // the other patterns of the program
        FormatCase{5.5, "00.000", "05,500"}, FormatCase{12.3456, "00.000", "12,346"},
        FormatCase{5, "##,00", "05"}, FormatCase{12345, "##,00", "12.345"},
        FormatCase{7, "###0", "7"}, FormatCase{12345, "###0", "12345"}, FormatCase{0, "##", ""},
        FormatCase{0, "#,###,###,###.##", ","}, FormatCase{0.5, "#.##", ",5"},
        FormatCase{1936.27, "###,##0.######", "1.936,27"},
        FormatCase{1.5, "#,##0.000;(#,##0.000)", "1,500"},
        FormatCase{-1.5, "#,##0.000;(#,##0.000)", "(1,500)"},
        // general text without a pattern
        FormatCase{1234.5, "", "1234,5"}, FormatCase{-0.25, "", "-0,25"}, FormatCase{0, "", "0"}));

// The far ends of what a double holds, and patterns of many decimals: every digit is
// where it belongs, and the decimals past the significant ones are zeros.
TEST(FormatNumberExtremes, EveryDigitInPlace) {
    const QString zeri400(400, u'0');
    struct Caso {
        double value;
        QString pattern;
        QString expected;
    };
    const Caso casi[] = {
        {1e300, "0", "1" + QString(300, u'0')},
        {1.7976931348623157e308, "0", "179769313486232" + QString(294, u'0')},
        {1e300, "#,##0", "1" + QString(".000").repeated(100)},
        {99999999999999.95, "#,##0.0", "100.000.000.000.000,0"},
        {999999999999999.5, "#,##0", "1.000.000.000.000.000"},
        {1e-10, "0.000000000000", "0,000000000100"},
        {1.5, "0." + zeri400, "1,5" + QString(399, u'0')},
        {4.9406564584124654e-324, "0." + zeri400,
         "0," + QString(323, u'0') + "494065645841247" + QString(62, u'0')},
        {4.9406564584124654e-324, "0.00", "0,00"},
        {-4.9406564584124654e-324, "0.00", "0,00"},
        {-0.0049999, "\\E 0.00 \\f\\i\\n\\e", "E 0,00 fine"},
        {-12.5, "\\E 0.00 \\f\\i\\n\\e", "-E 12,50 fine"},
    };
    for (const Caso& c : casi)
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.expected)
            << c.value << " " << c.pattern.left(20).toStdString();
}

// An amount appended to a line, right-aligned in its column: the text formatNumber gives,
// after the blanks that fill the column; a longer one whole.
TEST(NumberFormatAppend, RightAlignedAfterWhatTheLineHolds) {
    struct Caso {
        double value;
        const char* pattern;
        int width;
        const char* expected;
    };
    const Caso casi[] = {
        {1234.5, "#,###,###,##0.00", 15, "riga:       1.234,50"},
        {-0.004, "#,###,###,##0.00", 6, "riga:  0,00"},
        {-1234567890.125, "#,###,###,##0.00", 15, "riga:-1.234.567.890,13"},
        {-1.5, "#,##0.000;(#,##0.000)", 10, "riga:   (1,500)"},
        {0, "0.00;-0.00;\\z\\e\\r\\o", 6, "riga:  zero"},
        {std::numeric_limits<double>::quiet_NaN(), "0.00", 4, "riga:    "},
        {1234.5, "", 8, "riga:  1234,5"},
    };
    for (const Caso& c : casi) {
        QString riga = QStringLiteral("riga:");
        NumberFormat(QString::fromUtf8(c.pattern)).appendRightAligned(riga, c.value, c.width);
        EXPECT_EQ(riga, QString::fromUtf8(c.expected)) << c.value << " " << c.pattern;
    }
}

TEST(FormatNumberNotFinite, GivesEmptyText) {
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::quiet_NaN(), "0.00"), "");
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), "0.00"), "");
    EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity(), ""), "");
}

TEST(RightAlign, PadsInFrontAndNeverCuts) {
    EXPECT_EQ(rightAlign("12", 5), "   12");
    EXPECT_EQ(rightAlign("123456", 3), "123456");
    EXPECT_EQ(rightAlign(formatAmount(100, 1936.27, formatoImporti(0)), 10), "   193.627");
}

struct ParseCase {
    const char* text;
    bool allowNegative;
    std::optional<double> expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ParseAmount : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseAmount, ReadsTheItalianWay) {
    const ParseCase& c = GetParam();
    const std::optional<double> got = parseAmount(QString::fromUtf8(c.text), c.allowNegative);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << '"' << c.text << '"';
    if (c.expected) {
        EXPECT_DOUBLE_EQ(*got, *c.expected) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    TypedAmounts, ParseAmount,
    ::testing::Values(
        ParseCase{"1.234,56", false, 1234.56}, ParseCase{"1234,56", false, 1234.56},
        ParseCase{"0", false, 0.0}, ParseCase{"  12 ", false, 12.0}, ParseCase{",5", false, 0.5},
        ParseCase{"1.234.567", false, 1234567.0}, ParseCase{"+7", false, 7.0},
        ParseCase{"-3,5", true, -3.5}, ParseCase{"abc", false, std::nullopt},
        ParseCase{"1,2,3", false, std::nullopt}, ParseCase{"", false, std::nullopt},
        ParseCase{"  ", false, std::nullopt}, ParseCase{",", false, std::nullopt},
        ParseCase{"1.23.4,5", false, std::nullopt}, ParseCase{"12.34", false, std::nullopt},
        ParseCase{"1234.567", false, std::nullopt}, ParseCase{"1 234", false, std::nullopt},
        ParseCase{"12,5a", false, std::nullopt}, ParseCase{"- 3", true, std::nullopt},
        ParseCase{"-3,5", false, std::nullopt}));

TEST(ParseAmountLimits, RefusesWhatCannotBeHeld) {
    EXPECT_FALSE(parseAmount(QString(400, u'9')).has_value());
    EXPECT_FALSE(std::signbit(*parseAmount("-0", true)));
}

// A figure confirmed as the display pattern shows the stored amount keeps the stored
// amount; any other figure is divided by the rate.
TEST(ImportoConfermato, KeepsTheStoredAmountConfirmedAsShown) {
    const QString due = QStringLiteral("#,###,###,##0.00");
    const QString zero = QStringLiteral("#,###,###,##0");
    struct Caso {
        double digitato, memorizzato, fattore;
        QString pattern;
        double atteso;
    } casi[] = {
        {485035.64, 250.5, 1936.27, due, 250.5},               // shown in Lire, confirmed unchanged
        {485035.635, 250.5, 1936.27, due, 250.5},              // the plain figure before formatting
        {485036, 250.5, 1936.27, zero, 250.5},                 // no decimals shown
        {250.5, 250.504, 1, due, 250.504},                     // more decimals stored than shown
        {485035.65, 250.5, 1936.27, due, 485035.65 / 1936.27}, // a changed figure
        {100, 0, 1936.27, due, 100 / 1936.27},                 // a new amount
        {0, 0, 1936.27, due, 0},
        {1, std::nan(""), 1, due, 1}, // a damaged stored amount is never kept
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.digitato);
        EXPECT_EQ(importoConfermato(c.digitato, c.memorizzato, c.fattore, c.pattern), c.atteso);
    }
}

// A figure held by a form keeps standing for the same amount when the display currency
// changes: the held movement's own figure becomes its stored amount in the new currency
// (so that confirming it keeps the stored amount), any other figure is converted.
TEST(CifraNellaNuovaValuta, KeepsTheAmountAFigureStandsFor) {
    const QString tre = QStringLiteral("#,###,###,##0.000");
    const double lira = 1936.27;
    const double stipendio = 5000000.0 / lira; // stored when 5.000.000 Lire were typed
    struct Caso {
        QString testo;
        double prima, dopo;
        std::optional<double> memorizzato;
        QString atteso;
    } casi[] = {
        {"2582,2844954", 1, lira, stipendio, "5000000"},      // shown in Euro, now in Lire
        {"2.582,284", 1, lira, stipendio, "5000000"},         // as the field formats it
        {"5000000", lira, 1, stipendio, "2582,28449544743"},  // and back
        {"300", 1, 2, 250.5, "600"},                          // a changed figure is converted
        {"100", lira, 1, std::nullopt, "0,0516456899089486"}, // a new figure typed in Lire
        {"1.000,5", 1, 2, std::nullopt, "2001"},              // a new figure typed in Euro
        {"", 1, lira, std::nullopt, ""},                      // nothing typed
        {"12a", 1, lira, std::nullopt, "12a"},                // not an amount: left as typed
        {"100", 0, 1, std::nullopt, "100"},                   // a rate that cannot be used
        {"100", 1, std::nan(""), std::nullopt, "100"},
    };
    for (const Caso& c : casi) {
        SCOPED_TRACE(c.testo.toStdString() + " " + std::to_string(c.dopo));
        EXPECT_EQ(cifraNellaNuovaValuta(c.testo, c.prima, c.dopo, c.memorizzato, tre), c.atteso);
    }
    // The held movement's figure, once converted, is confirmed as the stored amount.
    const QString inLire = cifraNellaNuovaValuta("2582,2844954", 1, lira, stipendio, tre);
    EXPECT_EQ(importoConfermato(*parseAmount(inLire), stipendio, lira, tre), stipendio);
}

TEST(AmountErrorMessage, TellsHowToTypeAnAmount) {
    EXPECT_TRUE(amountErrorMessage().startsWith("Importo non valido"));
    EXPECT_TRUE(amountErrorMessage().contains("positivo"));
    EXPECT_FALSE(amountErrorMessage(true).contains("positivo"));
}

TEST(AmountErrorMessage, SaysWhenAnAmountIsTooLargeForTheProgram) {
    EXPECT_EQ(amountTooLargeMessage(), "Importo troppo grande; il programma accetta solo importi "
                                       "inferiori a 10.000.000.000.000 euro.");
    // The limit it names is the first amount the program cannot count.
    EXPECT_FALSE(importoUtilizzabile(*parseAmount("10.000.000.000.000")));
    EXPECT_TRUE(importoUtilizzabile(*parseAmount("9.999.999.999.999,99")));
}

// What a typed amount is refused with: nothing when it can be stored, "too large" for a
// number that would be stored at or beyond the limit (or that is too long to read), the
// way to type an amount for anything else.
TEST(AmountErrorMessage, ATypedAmountIsRefusedForWhatIsWrongWithIt) {
    const double lira = 1936.27;
    const QString grande = amountTooLargeMessage();
    const QByteArray lungo(400, '9');
    const struct {
        const char* testo;
        double fattore;
        bool negativi;
        QString atteso;
    } casi[] = {
        {"1.234,56", 1, false, {}},
        {"9.999.999.999.999,99", 1, false, {}},
        {"10.000.000.000.000", 1, false, grande},
        {"10000000000000", 1, false, grande},
        // Lire: the limit is in euro.
        {"10.000.000.000.000", lira, false, {}},
        {"19.362.700.000.000.000", lira, false, grande},
        {lungo.constData(), 1, false, grande},
        {"-10.000.000.000.000", 1, true, grande},
        {"-10.000.000.000.000", 1, false, amountErrorMessage()},
        {"-5", 1, false, amountErrorMessage()},
        {"12a", 1, false, amountErrorMessage()},
        {"1.23,4", 1, false, amountErrorMessage()},
        {"", 1, false, amountErrorMessage()},
        {"abc", 1, true, amountErrorMessage(true)},
    };
    for (const auto& c : casi)
        EXPECT_EQ(amountRefusalMessage(QString::fromLatin1(c.testo), c.fattore, c.negativi),
                  c.atteso)
            << c.testo;
}

} // namespace
} // namespace qv
