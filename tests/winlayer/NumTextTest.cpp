#include <gtest/gtest.h>

#include <limits>

#include "winlayer/NumText.h"

using namespace winlayer;

TEST(NumText, RealToTextWritesFifteenSignificantDigitsPositionally)
{
    struct Case { double value; const char *text; } cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {1e20, "100000000000000000000"},
        {-2.5, "-2.5"},
        {0.001, "0.001"},
        {0.9999999999999999, "1"},
        {123456789012345678.0, "123456789012346000"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RealToText(c.value), c.text) << "for " << c.value;
}

TEST(NumText, RealToTextOfSpecialValuesEnds)
{
    EXPECT_EQ(RealToText(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(RealToText(-std::numeric_limits<double>::infinity()), "-Inf");
    EXPECT_EQ(RealToText(1e300).size(), 301u);
}

TEST(NumText, TextToIntReadsSignAndLeadingDigitsOnly)
{
    struct Case { const char *text; int32_t value; } cases[] = {
        {"12abc", 12}, {"abc", 0}, {"", 0}, {" 2", 0}, {"-17", -17}, {"+5", 5},
        {"--5", 0}, {"1,5", 1}, {"1e3", 1}, {"2147483648", -2147483647 - 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TextToInt(c.text), c.value) << "for \"" << c.text << "\"";
    EXPECT_EQ(IntToText(-2147483647 - 1), "-2147483648");
}

TEST(NumText, TextToRealSkipsWhatIsNotANumber)
{
    struct Case { const char *text; double value; } cases[] = {
        {"3.5", 3.5}, {"1,5", 15.0}, {" 2 ", 2.0}, {"1e3", 1000.0}, {"abc", 0.0},
        {"-2.5", -2.5}, {"1.2.3", 1.2}, {"2.5e-1", 0.25}, {"12abc", 12.0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(TextToReal(c.text), c.value) << "for \"" << c.text << "\"";
}

TEST(NumText, RoundingTakesHalvesToTheEvenNeighbour)
{
    struct Case { double value; int32_t rounded; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-330.0 / 60.0, -6}, {0.5, 0}, {2.4999, 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RoundToInt(c.value), c.rounded) << "for " << c.value;
}
