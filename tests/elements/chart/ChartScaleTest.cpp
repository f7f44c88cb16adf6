// The arithmetic the charts draw by, checked without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "elements/chart/ChartScale.h"

namespace {

std::vector<int32_t> Pixels(const std::vector<double> &Positions)
{
    std::vector<int32_t> out;
    for (double p : Positions)
        out.push_back(ChartPixel(p));
    return out;
}

} // namespace

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

TEST(GridPixelStep, IsTheExtentPerGridStepButAtLeastOnePixel)
{
    struct Case {
        int32_t Extent, Grid;
        double Step;
    } cases[] = {{335, 6, 335.0 / 6}, {82, 8, 10.25}, {5, 8, 1.0}, {-10, 2, 1.0}};
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(GridPixelStep(c.Extent, c.Grid), c.Step) << c.Extent << " / " << c.Grid;
}

TEST(GridPositions, StopAtTheMarginsWithTheirOnePixelSlack)
{
    // Columns run while Width - MarginRight + 1 is beyond them.
    EXPECT_EQ(Pixels(GridColumns(100, 10, 10, 27.0)), (std::vector<int32_t>{37, 64})) << "91 is not beyond 91";
    EXPECT_EQ(Pixels(GridColumns(100, 10, 9, 27.0)), (std::vector<int32_t>{37, 64, 91}));
    // Rows: the grapher stops when MarginTop - 1 >= y and leaves out the bottom
    // edge; the plotter starts at the bottom edge and goes on while y > MarginTop - 1.
    EXPECT_EQ(Pixels(GraphGridRows(100, 5, 15, 20.0)), (std::vector<int32_t>{65, 45, 25, 5}));
    EXPECT_EQ(Pixels(GraphGridRows(100, 6, 15, 20.0)), (std::vector<int32_t>{65, 45, 25}));
    EXPECT_EQ(Pixels(PlotGridRows(100, 5, 15, 20.0)), (std::vector<int32_t>{85, 65, 45, 25, 5}));
    EXPECT_EQ(Pixels(PlotGridRows(100, 6, 15, 20.0)), (std::vector<int32_t>{85, 65, 45, 25}));
    // Narrow plots: one line per pixel, none in a plot 0 wide.
    EXPECT_EQ(Pixels(GridColumns(5, 0, 0, GridPixelStep(5, 8))), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(GridColumns(0, 0, 0, 1.0).empty());
}

TEST(GraphScale, EdgeCasesOfTheValues)
{
    struct Case {
        const char *What;
        std::vector<TChartItem> Values;
        double MaxValue;
        TGraphScale Expected;
    } cases[] = {
        {"no values: both bounds 0 even with a fixed scale", {}, 6.0, {0.0, 1.0, 0.0, 1.0, 0.0, 0.0}},
        {"one value, automatic", {{0.0, 3.0}}, 0.0, {3.0, 1.0, 0.0, 1.0, 0.0, 1.0 / 6}},
        {"one value, fixed", {{0.0, 3.0}}, 6.0, {0.0, 6.0, 0.0, 1.0, 0.0, 1.0}},
        {"all equal, automatic: range 1 from the value", {{0, 2}, {1, 2}, {2, 2}}, 0.0,
         {2.0, 1.0, 0.0, 2.0, 2.0 / 6, 1.0 / 6}},
        {"fixed scale whatever the values", {{0, 9}, {1, -3}}, 6.0, {0.0, 6.0, 0.0, 1.0, 1.0 / 6, 1.0}},
        {"first X to two decimals", {{0.125, 1}, {3.125, 2}}, 6.0, {0.0, 6.0, 0.12, 3.0, 0.5, 1.0}},
        {"X range 0 drawn as 1", {{4, 1}, {4, 2}}, 6.0, {0.0, 6.0, 4.0, 1.0, 0.0, 1.0}},
    };
    for (const Case &c : cases) {
        const TGraphScale s = GraphScale(c.Values, 0.0, c.MaxValue, 6);
        EXPECT_DOUBLE_EQ(s.MinY, c.Expected.MinY) << c.What;
        EXPECT_DOUBLE_EQ(s.RangeY, c.Expected.RangeY) << c.What;
        EXPECT_DOUBLE_EQ(s.X0, c.Expected.X0) << c.What;
        EXPECT_DOUBLE_EQ(s.RangeX, c.Expected.RangeX) << c.What;
        EXPECT_DOUBLE_EQ(s.XStep, c.Expected.XStep) << c.What;
        EXPECT_DOUBLE_EQ(s.YStep, c.Expected.YStep) << c.What;
    }
}

TEST(BarRect, OfTheDailyHistogramFromStartXTwoInStepsOfTwo)
{
    // Bars at X 2..14 on 336 x 82: X from 2 to 14, Y fixed 0..8.
    TPlotArea area;
    area.Width = 336;
    area.Height = 82;
    area.RangeY = 8.0;
    area.RangeX = 12.0;
    area.MinX = 2.0;

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

    // A baseline rising one unit per X unit (45 degrees) from (2, 1).
    TPlotBaseline rising{2.0, 1.0, 45.0};
    EXPECT_EQ(BarRect({4, 4}, 1, area, &rising), (TChartRect{28, 41, 84, 51})) << "base 3: 82 - 30.75";
    EXPECT_EQ(BarRect({8, 6}, 1, area, &rising).Bottom, 10) << "base 7: 82 - 71.75";
}
