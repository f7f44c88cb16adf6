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
        {0.0, "0"},       {3.0, "3"},           {2.5, "2.5"},       {0.25, "0.25"},
        {0.125, "0.12"},  {0.375, "0.38"},      {0.625, "0.62"},    {0.875, "0.88"},
        {1.0 / 3, "0.33"}, {2.0 / 3, "0.67"},   {-1.5, "-1.5"},     {-0.125, "-0.12"},
        {39.833333333333336, "39.83"},          {119.5, "119.5"},   {16777215.0, "16777215"},
        {-16777215.0, "-16777215"},             {0.004, "0"},       {0.005, "0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChartLabel(c.Value), c.Text) << "label of " << c.Value;
}

TEST(ChartPixel, RoundsHalvesToEvenAndKeepsFarValuesOnTheirSide)
{
    struct Case {
        double Value;
        int32_t Pixel;
    } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {167.5, 168}, {52.5, 52}, {-52.5, -52},
        {61.5, 62}, {20.5, 20}, {1e300, 1073741824}, {-1e300, -1073741824},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChartPixel(c.Value), c.Pixel) << "pixel of " << c.Value;
    EXPECT_EQ(ChartPixel(HUGE_VAL), 1073741824) << "an infinite value saturates";
    EXPECT_EQ(ChartPixel(-HUGE_VAL), -1073741824);
    EXPECT_EQ(ChartPixel(std::nan("")), 0);
}

TEST(GridPixelStep, IsTheExtentPerGridStepButAtLeastOnePixel)
{
    struct Case {
        int32_t Extent, Grid;
        double Step;
    } cases[] = {
        {335, 6, 335.0 / 6}, {336, 8, 42.0}, {82, 8, 10.25}, {105, 6, 17.5},
        {8, 8, 1.0},         {5, 8, 1.0},    {0, 6, 1.0},    {-10, 2, 1.0}, {10, 0, 10.0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(GridPixelStep(c.Extent, c.Grid), c.Step) << c.Extent << " / " << c.Grid;
}

TEST(GridPositions, OfTheProgramsTwoChartsFollowTheirLoops)
{
    // The 30-day graph: 335 x 105, Grid 6, no margins. The last column falls on
    // the right edge (335), the top row on the top edge; the bottom edge gets no row.
    EXPECT_EQ(Pixels(GridColumns(335, 0, 0, GridPixelStep(335, 6))),
              (std::vector<int32_t>{56, 112, 168, 223, 279, 335}));
    EXPECT_EQ(Pixels(GraphGridRows(105, 0, 0, GridPixelStep(105, 6))),
              (std::vector<int32_t>{88, 70, 52, 35, 18, 0}));

    // The daily histogram: 336 x 82, Grid 8. The plotter's rows start at the
    // bottom edge itself.
    EXPECT_EQ(Pixels(GridColumns(336, 0, 0, GridPixelStep(336, 8))),
              (std::vector<int32_t>{42, 84, 126, 168, 210, 252, 294, 336}));
    EXPECT_EQ(Pixels(PlotGridRows(82, 0, 0, GridPixelStep(82, 8))),
              (std::vector<int32_t>{82, 72, 62, 51, 41, 31, 20, 10, 0}));
}

TEST(GridPositions, HonourTheMarginsAndTheOnePixelSlack)
{
    // Columns run while Width - MarginRight + 1 is beyond them: a step that
    // lands exactly on Width - MarginRight + 1 is left out.
    EXPECT_EQ(Pixels(GridColumns(100, 10, 10, 27.0)), (std::vector<int32_t>{37, 64})) << "91 is not beyond 91";
    EXPECT_EQ(Pixels(GridColumns(100, 10, 9, 27.0)), (std::vector<int32_t>{37, 64, 91}));
    EXPECT_EQ(Pixels(GridColumns(118, 10, 0, 27.0)), (std::vector<int32_t>{37, 64, 91, 118}));
    EXPECT_EQ(Pixels(GridColumns(117, 10, 0, 27.0)), (std::vector<int32_t>{37, 64, 91}));

    // Rows: the grapher stops when MarginTop - 1 >= y, the plotter goes on
    // while y > MarginTop - 1.
    EXPECT_EQ(Pixels(GraphGridRows(100, 5, 15, 20.0)), (std::vector<int32_t>{65, 45, 25, 5}));
    EXPECT_EQ(Pixels(GraphGridRows(100, 6, 15, 20.0)), (std::vector<int32_t>{65, 45, 25}));
    EXPECT_EQ(Pixels(PlotGridRows(100, 5, 15, 20.0)), (std::vector<int32_t>{85, 65, 45, 25, 5}));
    EXPECT_EQ(Pixels(PlotGridRows(100, 6, 15, 20.0)), (std::vector<int32_t>{85, 65, 45, 25}));
}

TEST(GridPositions, NarrowPlotsGetOneLinePerPixel)
{
    EXPECT_EQ(Pixels(GridColumns(5, 0, 0, GridPixelStep(5, 8))), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Pixels(PlotGridRows(3, 0, 0, GridPixelStep(3, 8))), (std::vector<int32_t>{3, 2, 1, 0}));
    EXPECT_TRUE(GridColumns(0, 0, 0, 1.0).empty()) << "0 wide: 1 > 1 fails at once";
}

TEST(GraphScale, EdgeCasesOfTheValues)
{
    struct Case {
        const char *What;
        std::vector<TChartItem> Values;
        double MinValue, MaxValue;
        TGraphScale Expected;
    } cases[] = {
        {"no values: both bounds 0 even with a fixed scale", {}, 0.0, 6.0, {0.0, 1.0, 0.0, 1.0, 0.0, 0.0}},
        {"one value, automatic", {{0.0, 3.0}}, 0.0, 0.0, {3.0, 1.0, 0.0, 1.0, 0.0, 1.0 / 6}},
        {"one value, fixed", {{0.0, 3.0}}, 0.0, 6.0, {0.0, 6.0, 0.0, 1.0, 0.0, 1.0}},
        {"all equal, automatic: range 1 from the value", {{0, 2}, {1, 2}, {2, 2}}, 0.0, 0.0,
         {2.0, 1.0, 0.0, 2.0, 2.0 / 6, 1.0 / 6}},
        {"fixed scale whatever the values", {{0, 9}, {1, -3}}, 0.0, 6.0, {0.0, 6.0, 0.0, 1.0, 1.0 / 6, 1.0}},
        {"negative values, automatic", {{0, -2}, {1, 3}, {2, 1}}, 0.0, 0.0, {-2.0, 5.0, 0.0, 2.0, 2.0 / 6, 5.0 / 6}},
        {"MaxValue 0 or below is automatic", {{0, -2}, {1, 3}}, 1.0, -1.0, {-2.0, 5.0, 0.0, 1.0, 1.0 / 6, 5.0 / 6}},
        {"first X to two decimals", {{0.125, 1}, {3.125, 2}}, 0.0, 6.0, {0.0, 6.0, 0.12, 3.0, 0.5, 1.0}},
        {"X range 0 drawn as 1", {{4, 1}, {4, 2}}, 0.0, 6.0, {0.0, 6.0, 4.0, 1.0, 0.0, 1.0}},
    };
    for (const Case &c : cases) {
        const TGraphScale s = GraphScale(c.Values, c.MinValue, c.MaxValue, 6);
        EXPECT_DOUBLE_EQ(s.MinY, c.Expected.MinY) << c.What;
        EXPECT_DOUBLE_EQ(s.RangeY, c.Expected.RangeY) << c.What;
        EXPECT_DOUBLE_EQ(s.X0, c.Expected.X0) << c.What;
        EXPECT_DOUBLE_EQ(s.RangeX, c.Expected.RangeX) << c.What;
        EXPECT_DOUBLE_EQ(s.XStep, c.Expected.XStep) << c.What;
        EXPECT_DOUBLE_EQ(s.YStep, c.Expected.YStep) << c.What;
    }
}

TEST(GraphPoint, PlacesValuesOnTheThirtyDayGraphAndBeyondItsFixedScale)
{
    // 240 values at X 0..239 on 0..6 in 335 x 105.
    std::vector<TChartItem> values;
    for (int i = 0; i < 240; ++i)
        values.push_back({static_cast<double>(i), 3.0});
    const TGraphScale s = GraphScale(values, 0.0, 6.0, 6);

    struct Case {
        double X, Y;
        int32_t Px, Py;
    } cases[] = {
        {0, 3, 0, 52},      // 105 - 52.5, halves to even
        {239, 0, 335, 105}, // bottom right corner
        {119.5, 6, 168, 0}, // 167.5 -> 168
        {10, 2, 14, 70},    // 14.02
        {20, 9, 28, -52},   // above the scale: beyond the top edge
        {30, -1, 42, 122},  // below the scale: beyond the bottom edge
    };
    for (const Case &c : cases) {
        int32_t px = 0, py = 0;
        GraphPoint({c.X, c.Y}, s, 335, 105, 0, 0, px, py);
        EXPECT_EQ(px, c.Px) << "x of (" << c.X << ", " << c.Y << ")";
        EXPECT_EQ(py, c.Py) << "y of (" << c.X << ", " << c.Y << ")";
    }

    int32_t px = 0, py = 0;
    GraphPoint({0, 3}, s, 335, 105, 7, 9, px, py);
    EXPECT_EQ(px, 7) << "margins move the point";
    EXPECT_EQ(py, 61);
}

TEST(BarRect, OfTheDailyHistogramWithAndWithoutABaseline)
{
    // Seven bars at X 2..14 on 336 x 82: X from 2 to 14, Y fixed 0..8.
    TPlotArea area;
    area.Width = 336;
    area.Height = 82;
    area.RangeY = 8.0;
    area.RangeX = 12.0;
    area.MinY = 0.0;
    area.MinX = 2.0;

    struct Case {
        double X, Y;
        TChartRect Expected;
    } cases[] = {
        {2, 1, {-28, 72, 28, 82}}, // first bar half outside on the left; 71.75 -> 72
        {4, 4, {28, 41, 84, 82}},
        {6, 2, {84, 62, 140, 82}}, // 61.5 -> 62
        {8, 5, {140, 31, 196, 82}}, // 30.75 -> 31
        {10, 3, {196, 51, 252, 82}}, // 51.25 -> 51
        {12, 0, {252, 82, 308, 82}}, // an empty bar has no height
        {14, 9, {308, -10, 364, 82}}, // above the scale and half outside on the right
        {4, -1, {28, 92, 84, 82}},    // below the minimum: top under the bottom
    };
    for (const Case &c : cases)
        EXPECT_EQ(BarRect({c.X, c.Y}, 1, area, nullptr), c.Expected) << "bar (" << c.X << ", " << c.Y << ")";

    area.MarginLeft = 10;
    area.MarginTop = 5;
    EXPECT_EQ(BarRect({4, 4}, 1, area, nullptr), (TChartRect{38, 46, 94, 87})) << "margins";
    EXPECT_EQ(BarRect({4, 4}, 2, area, nullptr), (TChartRect{10, 46, 122, 87})) << "half width 2";

    // Baselines: flat at Y0 (angle 0), and rising one unit per X unit (45 degrees).
    area.MarginLeft = 0;
    area.MarginTop = 0;
    TPlotBaseline flat{2.0, 1.0, 0.0};
    TPlotBaseline rising{2.0, 1.0, 45.0};
    EXPECT_EQ(BarRect({4, 4}, 1, area, &flat).Bottom, 72) << "82 - 1 * 10.25 = 71.75";
    EXPECT_EQ(BarRect({8, 4}, 1, area, &flat).Bottom, 72);
    EXPECT_EQ(BarRect({4, 4}, 1, area, &rising).Bottom, 51) << "base 3: 82 - 30.75";
    EXPECT_EQ(BarRect({8, 6}, 1, area, &rising).Bottom, 10) << "base 7: 82 - 71.75";
    EXPECT_EQ(BarRect({4, 4}, 1, area, &rising).Top, 41) << "the top does not depend on the baseline";
}
