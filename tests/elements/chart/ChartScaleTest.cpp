// The arithmetic the charts draw by, checked without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "elements/chart/ChartScale.h"

TEST(ChartLabel, TwoDecimalsAtMostRoundedHalfToEvenWithoutTrailingZeros)
{
    struct Case {
        double Value;
        const char *Text;
    } cases[] = {
        {0.0, "0"},        {2.5, "2.5"},        {0.125, "0.12"},   {0.375, "0.38"},         {2.0 / 3, "0.67"},
        {-0.125, "-0.12"}, {0.005, "0"},        {119.5, "119.5"},  {16777215.0, "16777215"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChartLabel(c.Value), c.Text) << "label of " << c.Value;
}

TEST(ChartPixel, RoundsHalvesToEvenAndSaturatesFarValues)
{
    struct Case {
        double Value;
        int32_t Pixel;
    } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-1.5, -2}, {1e300, 1073741824}, {-1e300, -1073741824},
        {HUGE_VAL, 1073741824}, {-HUGE_VAL, -1073741824}, {std::nan(""), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChartPixel(c.Value), c.Pixel) << "pixel of " << c.Value;
}

TEST(GraphScale, AnXRangeOfZeroIsDrawnAsOne)
{
    const TGraphScale s = GraphScale({{4, 1}, {4, 2}}, 0.0, 6.0, 6);
    EXPECT_DOUBLE_EQ(s.RangeX, 1.0) << "what the points are spread over";
    EXPECT_DOUBLE_EQ(s.XStep, 0.0) << "every X label reads the first X";
}

TEST(BarRect, OfTheDailyHistogramFromStartXTwoInStepsOfTwo)
{
    // Bars at X 2..14 on 336 x 82: X from 2 to 14, Y fixed 0..8.
    const TPlotArea area{336, 82, 8.0, 12.0, 0.0, 2.0}; // width, height, range Y and X, min Y and X

    struct Case {
        double X, Y;
        TChartRect Expected;
    } cases[] = {
        {2, 1, {-28, 72, 28, 82}},    // half outside on the left; 71.75 -> 72
        {4, 4, {28, 41, 84, 82}},
        {6, 2, {84, 62, 140, 82}},    // 61.5 -> 62
        {12, 0, {252, 82, 308, 82}},  // an empty bar has no height
        {14, 9, {308, -10, 364, 82}}, // above the scale and half outside on the right
    };
    for (const Case &c : cases)
        EXPECT_EQ(BarRect({c.X, c.Y}, 1, area, nullptr), c.Expected) << "bar (" << c.X << ", " << c.Y << ")";
    EXPECT_EQ(BarRect({4, 4}, 2, area, nullptr), (TChartRect{0, 41, 112, 82})) << "half width 2";
}
