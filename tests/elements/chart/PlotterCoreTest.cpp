// The plotter's scale bounds, series list, drawing steps and pan and zoom
// arithmetic, and the histogram series element, on a recording plotter and canvas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartTestKit.h"
#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TRecordingPlotter.h"
#include "runtime/RuntimeTestKit.h"

using namespace charttest;
using namespace testkit;

namespace {

constexpr uint32_t Back = 0xFF00000F;
constexpr uint32_t Grey = 0xC0C0C0;
constexpr uint32_t Blue = 0xFF0000;

// A bar element as the day feed makes one, attached to Plot, holding Items.
struct Bars : TQorPlotHistogram {
    Bars(TPlotterCore &Plot, uint32_t Fill, std::vector<TChartItem> Items = {}, double Start = 2.0)
    {
        FillColor = Fill;
        Color = 0x808080;
        HalfWidth = 1;
        MaxCount = 9;
        Step = 2.0;
        StartX = Items.empty() ? Start : Items[0].X;
        AttachTo(&Plot);
        for (const TChartItem &item : Items)
            Series->Add(item.X, item.Y);
    }
};

void SetScale(TPlotterCore &Plot, double MinY, double MaxY, double MinX, double MaxX)
{
    Plot.MinY = MinY;
    Plot.MaxY = MaxY;
    Plot.MinX = MinX;
    Plot.MaxX = MaxX;
}

} // namespace

TEST(PlotterCore, ScaleBoundsWithoutSeriesWithEmptySeriesAndWithData)
{
    TRecordingPlotter p;
    SetScale(p, 0.0, 8.0, -3.0, 0.0);
    EXPECT_EQ(p.PlotMaxY(), 0.0) << "no series: 0 even when MaxY is set";
    Bars empty(p, 0x0000FF);
    EXPECT_EQ(std::make_pair(p.PlotMinY(), p.PlotMaxY()), std::make_pair(0.0, 8.0)) << "automatic and fixed";
    EXPECT_EQ(std::make_pair(p.PlotMinX(), p.PlotMaxX()), std::make_pair(-3.0, 0.0)) << "fixed and automatic";
    Bars some(p, 0x00FFFF, {{2, 5}, {4, -1}, {6, 3}});
    Bars more(p, 0x008000, {{1, 7}, {9, 2}});
    SetScale(p, 0.0, 0.0, 0.0, 0.0);
    EXPECT_EQ(std::make_pair(p.PlotMinY(), p.PlotMaxY()), std::make_pair(-1.0, 7.0)) << "over all series";
    EXPECT_EQ(std::make_pair(p.PlotMinX(), p.PlotMaxX()), std::make_pair(1.0, 9.0)) << "over all series";

    // The folds start at +-16777215: a minimum above that is never found and is 0.
    TRecordingPlotter far;
    Bars huge(far, 0, {{1, 20000000.0}});
    EXPECT_EQ(std::make_pair(far.PlotMinY(), far.PlotMaxY()), std::make_pair(0.0, 20000000.0));
}

TEST(PlotterCore, SeriesListTakesASeriesOnceClearsAllAndFreesOnRemove)
{
    TRecordingPlotter p;
    auto *a = new THistogramSeries;
    auto *b = new THistogramSeries;
    p.AddSeries(a);
    p.AddSeries(b);
    p.AddSeries(a);
    ASSERT_EQ(p.SeriesCount(), 2) << "a series is listed once";
    EXPECT_EQ(p.SeriesAt(2), nullptr);
    a->Add(1, 1);
    b->Add(1, 1);
    TData d;
    p.doClear(d, 0);
    EXPECT_EQ(a->Count() + b->Count(), 0);
    EXPECT_EQ(p.Repaints, 1);
    p.RemoveSeries(a); // freed: ASan reports a leak otherwise
    ASSERT_EQ(p.SeriesCount(), 1);
    EXPECT_EQ(p.SeriesAt(0), b);
    p.RemoveSeries(b);
}

TEST(PlotterCoreDraw, DailyHistogramDottedGridLabelsClippedBarsAndFrame)
{
    TRecordingPlotter p;
    p.SetGrid(8);
    p.GridColor = Grey;
    p.AxisColor = Blue;
    SetScale(p, 0.0, 8.0, 0.0, 0.0);
    Bars red(p, 0x0000FF, {{2, 0}, {4, 0}, {6, 0}, {8, 5}, {10, 0}, {12, 0}, {14, 0}});
    Bars yellow(p, 0x00FFFF, {{2, 0}, {4, 4}, {6, 0}, {8, 0}, {10, 0}, {12, 0}, {14, 0}});
    Bars green(p, 0x008000, {{2, 1}, {4, 0}, {6, 2}, {8, 0}, {10, 3}, {12, 0}, {14, 0}});

    TRecordingCanvas c;
    p.Draw(c, 336, 82, Back);
    EXPECT_EQ(c.Fills, std::vector<TChartRect>{(TChartRect{0, 0, 336, 82})});
    EXPECT_EQ(c.GridLines(Grey, true), (std::vector<int32_t>{42, 84, 126, 168, 210, 252, 294, 336}));
    EXPECT_EQ(c.GridLines(Grey, false), (std::vector<int32_t>{72, 62, 51, 41, 31, 20, 10, 0}))
        << "no grid line on the bottom edge (82)";
    for (const Line &l : c.Lines)
        EXPECT_EQ(l.PenStyle, cpsDot) << "the grid is dotted";

    // 10.25 pixels per Y step: no Y labels. X labels hang under the bitmap from 2 in steps of 12 / 8.
    EXPECT_EQ(c.TextValues(), (std::vector<std::string>{"2", "3.5", "5", "6.5", "8", "9.5", "11", "12.5", "14"}));
    EXPECT_EQ(std::make_pair(c.Texts[0].X, c.Texts[0].Y), std::make_pair(-2, 83));

    // Bars red, yellow, green in the order attached, each clipped to the plot; then the frame.
    ASSERT_EQ(c.Rects.size(), 22u);
    for (size_t i = 0; i < 21; ++i) {
        EXPECT_EQ(c.Rects[i].Clipped ? c.Rects[i].Clip : TChartRect{}, (TChartRect{0, 0, 336, 82})) << "bar " << i;
        EXPECT_EQ(c.Rects[i].PenColor, 0x808080u) << "bar " << i;
    }
    EXPECT_EQ(c.Rects[3].R, (TChartRect{140, 31, 196, 82})) << "red 5 at X 8";
    EXPECT_EQ(c.Rects[3].BrushColor, 0x0000FFu);
    EXPECT_EQ(c.Rects[8].R, (TChartRect{28, 41, 84, 82})) << "yellow 4 at X 4";
    EXPECT_EQ(c.Rects[8].BrushColor, 0x00FFFFu);
    EXPECT_EQ(c.Rects[14].R, (TChartRect{-28, 72, 28, 82})) << "green 1 at X 2";
    EXPECT_EQ(c.Rects[14].BrushColor, 0x008000u);
    const Rect &frame = c.Rects[21];
    EXPECT_FALSE(frame.Clipped);
    EXPECT_EQ(frame.R, (TChartRect{0, 0, 336, 82}));
    EXPECT_EQ(frame.PenColor, Blue);
    EXPECT_EQ(frame.BrushColor, ~0u) << "a clear brush";
}

TEST(PlotterCoreDraw, LabelsCentredUnderColumnsAndRightAlignedLeftOfThePlot)
{
    TRecordingPlotter p;
    p.SetGrid(4);
    p.MarginLeft = 40;
    p.MarginBottom = 20;
    p.MarginTop = 4;
    p.MarginRight = 8;
    Bars bars(p, 0x00FFFF, {{-2, -1.5}, {2, 0.5}});
    TRecordingCanvas c;
    p.Draw(c, 248, 124, Back);
    // W 200, sx 50; H 100, sy 25. X from -2 to 2 (steps 1), Y from -1.5 to 0.5 (steps 0.5).
    ASSERT_EQ(c.TextValues(), (std::vector<std::string>{"-2", "-1", "0", "1", "2", "-1.5", "-1", "-0.5", "0", "0.5"}));
    EXPECT_EQ(std::make_pair(c.Texts[0].X, c.Texts[0].Y), std::make_pair(38, 105)) << "the first at MarginLeft - 2";
    // Then measured: X labels centred on their columns, Y labels right-aligned
    // at MarginLeft - 4 and centred on their rows.
    for (size_t i = 1; i < 10; ++i) {
        const Text &t = c.Texts[i];
        const int32_t width = TRecordingCanvas::CharWidth * static_cast<int32_t>(t.Value.size());
        const auto where = i < 5 ? std::make_pair(t.X + width / 2, t.Y) : std::make_pair(t.X + width, t.Y + 6);
        const auto expected = i < 5 ? std::make_pair(40 + 50 * static_cast<int32_t>(i), 105)
                                    : std::make_pair(36, 104 - 25 * static_cast<int32_t>(i - 5));
        EXPECT_EQ(where, expected) << t.Value;
    }
}

TEST(PlotterCoreDraw, EdgeCasesOfTheScaleAndNarrowPlotsWithoutLabels)
{
    const std::vector<std::string> quarters{"0", "0.25", "0.5", "0.75", "1"};
    struct Case {
        const char *What;
        bool Attach;
        std::vector<TChartItem> Items;
        double MaxY;
        int32_t Width, Height;
        std::vector<std::string> XLabels, YLabels;
    } cases[] = {
        {"no series: 0 to 1 on both axes even with MaxY set", false, {}, 8.0, 240, 120, quarters, quarters},
        {"empty series with MaxY 8", true, {}, 8.0, 240, 120, quarters, {"0", "2", "4", "6", "8"}},
        {"all equal: range 1 from the value", true, {{3, 5}, {3, 5}}, 0.0, 240, 120,
         {"3", "3.25", "3.5", "3.75", "4"}, {"5", "5.25", "5.5", "5.75", "6"}},
        {"10 and 12 pixels per step: no labels", true, {}, 8.0, 80, 88, {}, {}},
        {"10.25 per X step: X labels only", true, {}, 8.0, 81, 88, {"0", "0.25", "0.5", "0.75", "1"}, {}},
        {"12.25 per Y step: Y labels only", true, {}, 8.0, 80, 89, {}, {"0", "2", "4", "6", "8"}},
    };
    for (const Case &cs : cases) {
        TRecordingPlotter p;
        p.SetGrid(4);
        p.MarginLeft = 40;
        p.MarginBottom = 40;
        p.MaxY = cs.MaxY;
        TQorPlotHistogram element;
        element.StartX = cs.Items.empty() ? 0.0 : cs.Items[0].X;
        if (cs.Attach)
            element.AttachTo(&p);
        for (const TChartItem &item : cs.Items)
            element.Series->Add(item.X, item.Y);
        TRecordingCanvas c;
        p.Draw(c, cs.Width, cs.Height, Back);
        std::vector<std::string> labels = cs.XLabels;
        labels.insert(labels.end(), cs.YLabels.begin(), cs.YLabels.end());
        EXPECT_EQ(c.TextValues(), labels) << cs.What;
    }
}

TEST(PlotterCoreMouse, PanZoomBoxAndWheelMoveTheScaleOnlyAlongAnAxisWithExtent)
{
    const double notch = 120 * 65536 / 4096.0 * 0.0001; // 0.192
    enum Op { Pan, Box, Wheel };
    struct Case {
        const char *What;
        Op Operation;
        int32_t Margin, DownX, DownY, LastX, LastY; // Margin at the top and at the bottom
        double MinY, MaxY, MinX, MaxX;
    } cases[] = {
        {"pan 28 right and 10 down", Pan, 0, 128, 50, 100, 40, 10 * 8.0 / 82, 8 + 10 * 8.0 / 82, 1.0, 13.0},
        {"box forward", Box, 0, 42, 0, 84, 41, 4.0, 8.0, 3.5, 5.0},
        {"box backward: both axes back to the data", Box, 0, 84, 41, 42, 0, 1.0, 6.0, 3.0, 5.0},
        {"a notch forward about the middle", Wheel, 0, 0, 0, 168, 41, 4 * notch, 8 - 4 * notch, 2 + 6 * notch,
         14 - 6 * notch},
        {"pan without plot height", Pan, 41, 128, 50, 100, 40, 0.0, 8.0, 1.0, 13.0},
        {"box without plot height", Box, 41, 42, 0, 84, 41, 0.0, 8.0, 3.5, 5.0},
        {"wheel without plot height", Wheel, 41, 0, 0, 168, 41, 0.0, 8.0, 2 + 6 * notch, 14 - 6 * notch},
    };
    for (const Case &cs : cases) {
        TRecordingPlotter p;
        Bars bars(p, 0, {{3, 1}, {5, 6}});
        SetScale(p, 0.0, 8.0, 2.0, 14.0);
        p.MarginTop = p.MarginBottom = cs.Margin;
        p.DownX = cs.DownX;
        p.DownY = cs.DownY;
        p.LastX = cs.LastX;
        p.LastY = cs.LastY;
        if (cs.Operation == Pan)
            p.Pan(cs.DownX, cs.DownY, 336, 82);
        else if (cs.Operation == Box)
            p.ZoomToBox(336, 82);
        else
            p.WheelZoom(120 << 16, 336, 82);
        EXPECT_DOUBLE_EQ(p.MinY, cs.MinY) << cs.What;
        EXPECT_DOUBLE_EQ(p.MaxY, cs.MaxY) << cs.What;
        EXPECT_DOUBLE_EQ(p.MinX, cs.MinX) << cs.What;
        EXPECT_DOUBLE_EQ(p.MaxX, cs.MaxX) << cs.What;
    }
}

TEST(PlotHistogram, AttachToCopiesThePropertiesOnceButSeesTheBaselineItself)
{
    TRecordingPlotter plotter;
    Bars bars(plotter, 0x0000FF);
    ASSERT_EQ(plotter.SeriesCount(), 1);
    EXPECT_EQ(plotter.SeriesAt(0), bars.Series);
    EXPECT_EQ(bars.Series->Plotter, &plotter);
    bars.HalfWidth = 5;
    bars.FillColor = 2;
    bars.StartX = 9.0;
    EXPECT_EQ(bars.Series->HalfWidth, 1);
    EXPECT_EQ(bars.Series->FillColor, 0x0000FFu);
    EXPECT_EQ(bars.Series->StartX, 2.0);

    // A baseline set on the element after attaching is used by the next draw.
    plotter.MarginTop = 5;
    bars.Series->Add(0, 4);
    TPlotBaseline rising{2.0, 1.0, 45.0};
    bars.Baseline = &rising;
    TRecordingCanvas c;
    c.BrushStyle = cbsClear;
    bars.Series->Draw(c, 336, 82, 8.0, 12.0, 0.0, 2.0);
    ASSERT_EQ(c.Rects.size(), 1u);
    EXPECT_EQ(c.Rects[0].R, (TChartRect{-28, 46, 28, 77})) << "base 1 at X 2: 82 - 10.25 + 5";
    EXPECT_EQ(c.Rects[0].BrushColor, 0x0000FFu) << "a solid fill";
    bars.Baseline = nullptr;
}

TEST(PlotHistogram, StepTwoFromStartXTwoRepaintsPerBarAndTheTenthBarDropsTheFirst)
{
    Running on;
    TRecordingPlotter plotter;
    Bars bars(plotter, 0x0000FF);
    Source height;
    LinkData(bars.ValueY, &height, &Source::Value, 0);
    for (int i = 1; i <= 11; ++i) {
        height.Answer = IntData(i);
        TData d;
        bars.doAdd(d, 0);
    }
    EXPECT_EQ(plotter.Repaints, 11) << "one repaint per bar";
    EXPECT_EQ(Column(bars.Series->Values, &TChartItem::X), (std::vector<double>{6, 8, 10, 12, 14, 16, 18, 20, 22}))
        << "from StartX 2 in steps of 2, the two oldest dropped";
    EXPECT_EQ(Column(bars.Series->Values, &TChartItem::Y), (std::vector<double>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(PlotHistogram, ReadsValueYThenValueXAndWithStepZeroTakesXFromValueXOrTheCallsData)
{
    Running on;
    std::vector<std::string> log;
    TRecordingPlotter plotter;
    Bars bars(plotter, 0, {}, 1.0);
    bars.Step = 0.0;
    Source y, x;
    y.Name = "y";
    y.Log = &log;
    y.Answer = RealData(2.0);
    x.Name = "x";
    x.Log = &log;
    x.Answer = RealData(6.5);
    LinkData(bars.ValueY, &y, &Source::Value, 0);
    for (int i = 0; i < 2; ++i) { // ValueX unwired: X from the call's data; the first bar at StartX
        TData d = RealData(9.0);
        bars.doAdd(d, 0);
    }
    LinkData(bars.ValueX, &x, &Source::Value, 0);
    TData d = RealData(9.0);
    bars.doAdd(d, 0);
    EXPECT_EQ(Column(bars.Series->Values, &TChartItem::X), (std::vector<double>{1.0, 9.0, 6.5}));
    EXPECT_EQ(log, (std::vector<std::string>{"read y", "read y", "read y", "read x"}));
}

TEST(PlotHistogram, DestructionIsSafeInEitherOrderWithThePlotter)
{
    // Element first: the plotter's RemoveSeries takes the series out and frees it.
    auto *plotter = new TRecordingPlotter;
    auto *bars = new Bars(*plotter, 0);
    auto *other = new Bars(*plotter, 0);
    delete bars;
    ASSERT_EQ(plotter->SeriesCount(), 1);
    EXPECT_EQ(plotter->SeriesAt(0), other->Series);

    // Plotter first: the series lose their plotter, a new bar repaints nothing,
    // and the element frees its series.
    delete plotter;
    EXPECT_EQ(other->Series->Plotter, nullptr);
    Running on;
    TData d = RealData(1.0);
    other->doAdd(d, 0);
    EXPECT_EQ(other->Series->Count(), 1);
    delete other; // ASan reports a use after free, a double free or a leak if either is wrong
}
