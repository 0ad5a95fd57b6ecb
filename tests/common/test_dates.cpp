// Date texts, day numbers, calendar differences, today, and the numeric value of a text.
#include "common/dates.h"
#include "common/numeric_value.h"
#include "common/today.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ostream>

namespace qv {
namespace {

struct ValidityCase {
    int giorno, mese, anno;
    bool valid;
};

void PrintTo(const ValidityCase& c, std::ostream* os) {
    *os << c.giorno << '/' << c.mese << '/' << c.anno;
}

class DataValida : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(DataValida, AcceptsOnlyRealDates) {
    const ValidityCase& c = GetParam();
    EXPECT_EQ(dataValida(c.giorno, c.mese, c.anno), c.valid)
        << c.giorno << "/" << c.mese << "/" << c.anno;
}

INSTANTIATE_TEST_SUITE_P(
    Calendar, DataValida,
    ::testing::Values(ValidityCase{29, 2, 2000, true}, ValidityCase{29, 2, 1900, false},
                      ValidityCase{29, 2, 2001, false}, ValidityCase{28, 2, 2001, true},
                      ValidityCase{31, 4, 2001, false}, ValidityCase{30, 4, 2001, true},
                      ValidityCase{31, 5, 2001, true}, ValidityCase{32, 1, 2001, false},
                      ValidityCase{15, 13, 2001, false}, ValidityCase{15, 0, 2001, false},
                      ValidityCase{15, 6, 999, false}, ValidityCase{1, 1, 1000, true},
                      ValidityCase{0, 6, 2001, false}, ValidityCase{-1, 6, 2001, false}));

TEST(DateValuesValid, RefusesValuesThatAreNotWholeNumbers) {
    EXPECT_TRUE(dateValuesValid(5, 6, 2001));
    EXPECT_FALSE(dateValuesValid(5.5, 6, 2001));
    EXPECT_FALSE(dateValuesValid(5, 6.5, 2001));
    EXPECT_FALSE(dateValuesValid(5, 6, std::nan("")));
    EXPECT_FALSE(dateValuesValid(5, 6, 1e20));
}

TEST(AnnoBisestile, FollowsTheGregorianRules) {
    EXPECT_TRUE(AnnoBisestile(2000));
    EXPECT_TRUE(AnnoBisestile(2004));
    EXPECT_TRUE(AnnoBisestile(2400));
    EXPECT_FALSE(AnnoBisestile(1900));
    EXPECT_FALSE(AnnoBisestile(2001));
}

TEST(DataInNumero, IsYearTimes366PlusDaysBeforeMonthPlusDay) {
    EXPECT_EQ(DataInNumero("05/06/2001"), 2001.0f * 366 + 151 + 5);
    EXPECT_EQ(DataInNumero("05/06/2000"), 2000.0f * 366 + 152 + 5);
    EXPECT_EQ(DataInNumero("31/01/2000"), 2000.0f * 366 + 31);
}

TEST(DataInNumero, OfADateIsTheNumberOfItsText) {
    for (const QDate d : {QDate(2001, 6, 5), QDate(2000, 2, 29), QDate(2000, 12, 31),
                          QDate(1000, 1, 1), QDate(2731, 12, 31), QDate(9999, 3, 1)})
        EXPECT_EQ(DataInNumero(d), DataInNumero(testoDaData(d))) << testoDaData(d).toStdString();
    EXPECT_EQ(DataInNumero(QDate()), 0.0f);
}

TEST(DataInNumero, ReadsShortDayAndMonthAndEightDigits) {
    const float expected = DataInNumero("05/06/2001");
    for (const char* text : {"5/06/2001", "05/6/2001", "5/6/2001", "05062001"})
        EXPECT_EQ(DataInNumero(text), expected) << text;
}

TEST(DataInNumero, NoDateIsZero) {
    for (const char* text : {"__/__/____", "00/00/0000", "", "          "})
        EXPECT_EQ(DataInNumero(text), 0.0f) << '"' << text << '"';
}

TEST(DataInNumero, OrdersDatesButGainsADayAtCommonYearEnds) {
    EXPECT_EQ(DataInNumero("01/06/2001") - DataInNumero("31/05/2001"), 1.0f);
    EXPECT_EQ(DataInNumero("01/01/2002") - DataInNumero("31/12/2001"), 2.0f);
    EXPECT_EQ(DataInNumero("01/01/2001") - DataInNumero("31/12/2000"), 1.0f);
    const float lastOfMay = DataInNumero("31/05/2001");
    const float firstOfJuly = DataInNumero("01/07/2001");
    for (int day = 1; day <= 30; ++day) {
        const float n = DataInNumero(QStringLiteral("%1/06/2001").arg(day, 2, 10, QChar(u'0')));
        EXPECT_GT(n, lastOfMay);
        EXPECT_LT(n, firstOfJuly);
    }
}

TEST(GiorniTra, CountsCalendarDays) {
    EXPECT_EQ(giorniTra("31/12/2001", "01/01/2002"), 1);
    EXPECT_EQ(giorniTra("01/01/2001", "01/01/2011"), 3652);
    EXPECT_EQ(giorniTra("01/03/2000", "28/02/2000"), -2);
    EXPECT_EQ(giorniTra("5/6/2001", "05/07/2001"), 30);
    EXPECT_EQ(giorniTra("00/00/0000", "05/07/2001"), 0);
    EXPECT_EQ(giorniTra("05/07/2001", "__/__/____"), 0);
}

TEST(DateText, ConvertsBothWays) {
    EXPECT_EQ(dataDaTesto("29/02/2000"), QDate(2000, 2, 29));
    EXPECT_FALSE(dataDaTesto("29/02/2001").has_value());
    EXPECT_FALSE(dataDaTesto("5/06/2001").has_value());
    EXPECT_FALSE(dataDaTesto("__/__/____").has_value());
    EXPECT_FALSE(dataDaTesto("05-06-2001").has_value());
    EXPECT_EQ(testoDaData(QDate(2001, 6, 5)), "05/06/2001");
    EXPECT_EQ(testoDaData(QDate()), "00/00/0000");
    EXPECT_EQ(testoDaData(QDate(999, 12, 31)), "31/12/0999");
    EXPECT_EQ(testoDaData(QDate(9999, 1, 9)), "09/01/9999");
}

TEST(Today, CanBeFixedAndReleased) {
    fissaOggi(QDate(2001, 6, 5));
    EXPECT_EQ(oggi(), QDate(2001, 6, 5));
    EXPECT_EQ(DataOggi(), "05/06/2001");
    fissaOggi(std::nullopt);
    EXPECT_NE(oggi(), QDate(2001, 6, 5));
    EXPECT_TRUE(oggi().isValid());
}

TEST(ValoreNumerico, ReadsLeadingNumberOnly) {
    const std::pair<const char*, double> cases[] = {
        {"A123", 0},       {"", 0},   {"0", 0},     {"5/", 5},      {"  12ab", 12},
        {"\t-3.5x", -3.5}, {"06", 6}, {"__", 0},    {"1.5.2", 1.5}, {"1e3", 1000},
        {"2E", 2},         {"-", 0},  {"1e999", 0},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(valoreNumerico(text), expected) << '"' << text << '"';
}

TEST(NumeroIntero, OnlyAWholeNumberThatFitsThirtyTwoBits) {
    const std::pair<const char*, std::optional<qint32>> cases[] = {
        {"  1234  ", 1234},       {"0001234A", 1234},    {"", 0},
        {"12.5", std::nullopt},   {"-7", -7},            {"2147483647", 2147483647},
        {"2147483648", std::nullopt}, {"-2147483647", -2147483647},
        {"-2147483648", std::nullopt}, {"3E10", std::nullopt}, {"1e3", 1000},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(numeroIntero(text), expected) << '"' << text << '"';
}

} // namespace
} // namespace qv
