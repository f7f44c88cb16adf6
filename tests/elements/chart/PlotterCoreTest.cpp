// The plotter's scale bounds, drawing steps and pan and zoom arithmetic,
// recorded on a canvas without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChartTestKit.h"
#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TRecordingPlotter.h"

using charttest::TRecordingCanvas;

namespace {

constexpr uint32_t Back = 0xFF00000F;
constexpr uint32_t Grey = 0xC0C0C0;
constexpr uint32_t Blue = 0xFF0000;

// DayPlot as the main scheme sets it up.
void ConfigureAsDayPlot(TPlotterCore &Plot)
{
    Plot.SetGrid(8);
    Plot.GridColor = Grey;
    Plot.AxisColor = Blue;
    Plot.TextColor = Blue;
    Plot.MinY = 0.0;
    Plot.MaxY = 8.0;
    Plot.MouseControl = 0;
}

// A series element attached to Plot whose bars are given directly.
struct Bars {
    TQorPlotHistogram Element;
    Bars(TPlotterCore &Plot, uint32_t Fill, std::vector<TChartItem> Items)
    {
        Element.FillColor = Fill;
        Element.Color = 0x808080;
        Element.HalfWidth = 1;
        Element.StartX = Items.empty() ? 0.0 : Items[0].X;
        Element.AttachTo(&Plot);
        for (const TChartItem &item : Items)
            Element.Series->Add(item.X, item.Y);
    }
};

struct Label {
    TChartRect R;
    std::string Text;
};

} // namespace

TEST(PlotterCore, ScaleBoundsWithoutSeriesWithEmptySeriesAndWithData)
{
    TRecordingPlotter p;
    p.MaxY = 8.0;
    p.MinX = -3.0;
    EXPECT_EQ(p.PlotMaxY(), 0.0) << "no series: 0 even when MaxY is set";
    EXPECT_EQ(p.PlotMinX(), 0.0);

    Bars empty(p, 0x0000FF, {});
    EXPECT_EQ(p.PlotMinY(), 0.0) << "automatic bound without data";
    EXPECT_EQ(p.PlotMaxY(), 8.0) << "fixed bound";
    EXPECT_EQ(p.PlotMinX(), -3.0) << "fixed bound";
    EXPECT_EQ(p.PlotMaxX(), 0.0) << "automatic bound without data";

    Bars some(p, 0x00FFFF, {{2, 5}, {4, -1}, {6, 3}});
    Bars more(p, 0x008000, {{1, 7}, {9, 2}});
    p.MaxY = 0.0;
    p.MinX = 0.0;
    EXPECT_EQ(p.PlotMinY(), -1.0);
    EXPECT_EQ(p.PlotMaxY(), 7.0);
    EXPECT_EQ(p.PlotMinX(), 1.0);
    EXPECT_EQ(p.PlotMaxX(), 9.0);

    // The folds start at +-16777215: a minimum above that is never found and
    // comes out as 0, like no data.
    TRecordingPlotter far;
    Bars huge(far, 0, {{1, 20000000.0}});
    EXPECT_EQ(far.PlotMaxY(), 20000000.0);
    EXPECT_EQ(far.PlotMinY(), 0.0);
}

TEST(PlotterCore, SeriesListAddsOnceRemovesAndFrees)
{
    TRecordingPlotter p;
    auto *a = new THistogramSeries;
    auto *b = new THistogramSeries;
    p.AddSeries(a);
    p.AddSeries(b);
    p.AddSeries(a);
    ASSERT_EQ(p.SeriesCount(), 2) << "a series is listed once";
    EXPECT_EQ(p.SeriesAt(0), a);
    EXPECT_EQ(p.SeriesAt(1), b);
    EXPECT_EQ(p.SeriesAt(2), nullptr);
    EXPECT_EQ(p.SeriesAt(-1), nullptr);
    EXPECT_EQ(a->Plotter, &p);

    a->Add(1, 1);
    b->Add(1, 1);
    TData d;
    p.doClear(d, 0);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(b->Count(), 0);
    EXPECT_EQ(p.Repaints, 1);

    p.RemoveSeries(a); // freed
    ASSERT_EQ(p.SeriesCount(), 1);
    EXPECT_EQ(p.SeriesAt(0), b);
    p.RemoveSeries(b);
    EXPECT_EQ(p.SeriesCount(), 0);
}

TEST(PlotterCoreDraw, DailyHistogramDottedGridClippedBarsAndFrame)
{
    TRecordingPlotter p;
    ConfigureAsDayPlot(p);
    Bars red(p, 0x0000FF, {{2, 0}, {4, 0}, {6, 0}, {8, 5}, {10, 0}, {12, 0}, {14, 0}});
    Bars yellow(p, 0x00FFFF, {{2, 0}, {4, 4}, {6, 0}, {8, 0}, {10, 0}, {12, 0}, {14, 0}});
    Bars green(p, 0x008000, {{2, 1}, {4, 0}, {6, 2}, {8, 0}, {10, 3}, {12, 0}, {14, 0}});

    TRecordingCanvas c;
    p.Draw(c, 336, 82, Back);

    ASSERT_EQ(c.Fills.size(), 1u);
    EXPECT_EQ(c.Fills[0], (TChartRect{0, 0, 336, 82}));
    EXPECT_EQ(c.VerticalLines(Grey), (std::vector<int32_t>{42, 84, 126, 168, 210, 252, 294, 336}));
    EXPECT_EQ(c.HorizontalLines(Grey), (std::vector<int32_t>{72, 62, 51, 41, 31, 20, 10, 0}))
        << "no grid line on the bottom edge (82)";
    for (const charttest::Line &l : c.Lines)
        EXPECT_EQ(l.PenStyle, cpsDot) << "the grid is dotted";

    // 10.25 pixels per Y step: no Y labels. 42 per X step: X labels, hanging
    // under this bitmap, from 2 in steps of 12 / 8.
    EXPECT_EQ(c.TextValues(), (std::vector<std::string>{"2", "3.5", "5", "6.5", "8", "9.5", "11", "12.5", "14"}));
    EXPECT_EQ(c.Texts[0].X, -2);
    EXPECT_EQ(c.Texts[0].Y, 83);

    // Bars: red, yellow, green in the order attached, each clipped to the plot.
    ASSERT_EQ(c.Rects.size(), 22u);
    for (size_t i = 0; i < 21; ++i) {
        EXPECT_TRUE(c.Rects[i].Clipped) << "bar " << i;
        EXPECT_EQ(c.Rects[i].Clip, (TChartRect{0, 0, 336, 82}));
        EXPECT_EQ(c.Rects[i].PenColor, 0x808080u);
    }
    EXPECT_EQ(c.Rects[3].R, (TChartRect{140, 31, 196, 82})) << "red 5 at X 8";
    EXPECT_EQ(c.Rects[3].BrushColor, 0x0000FFu);
    EXPECT_EQ(c.Rects[8].R, (TChartRect{28, 41, 84, 82})) << "yellow 4 at X 4";
    EXPECT_EQ(c.Rects[8].BrushColor, 0x00FFFFu);
    EXPECT_EQ(c.Rects[14].R, (TChartRect{-28, 72, 28, 82})) << "green 1 at X 2";
    EXPECT_EQ(c.Rects[14].BrushColor, 0x008000u);

    const charttest::Rect &frame = c.Rects[21];
    EXPECT_FALSE(frame.Clipped);
    EXPECT_EQ(frame.R, (TChartRect{0, 0, 336, 82}));
    EXPECT_EQ(frame.PenColor, Blue);
    EXPECT_EQ(frame.BrushStyle, cbsClear);
    EXPECT_EQ(c.PenStyle, cpsSolid);
    EXPECT_EQ(c.PenWidth, 1);

    std::vector<std::string> tail(c.Log.end() - 3, c.Log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"rect", "unclip", "rect"}));
}

TEST(PlotterCoreDraw, LabelsCentredUnderColumnsAndRightAlignedLeftOfThePlot)
{
    TRecordingPlotter p;
    p.SetGrid(4);
    p.GridColor = Grey;
    p.TextColor = Blue;
    p.MarginLeft = 40;
    p.MarginBottom = 20;
    p.MarginTop = 4;
    p.MarginRight = 8;
    Bars bars(p, 0x00FFFF, {{-2, -1.5}, {2, 0.5}});

    TRecordingCanvas c;
    p.Draw(c, 248, 124, Back);
    // W 200, sx 50; H 100, sy 25. X from -2 to 2 (steps 1), Y from -1.5 to 0.5 (steps 0.5).
    std::vector<std::string> texts = c.TextValues();
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts, (std::vector<std::string>{"-2", "-1", "0", "1", "2", "-1.5", "-1", "-0.5", "0", "0.5"}));

    // The first X label by TextOut at (MarginLeft - 2, height - MarginBottom + 1).
    EXPECT_EQ(c.Texts[0].X, 38);
    EXPECT_EQ(c.Texts[0].Y, 105);
    // Then measured and centred: "-1" is 12 wide, so 6 left of the column at 90.
    const int32_t columns[] = {90, 140, 190, 240};
    for (int i = 0; i < 4; ++i) {
        const charttest::Text &t = c.Texts[static_cast<size_t>(1 + i)];
        const int32_t width = TRecordingCanvas::CharWidth * static_cast<int32_t>(t.Value.size());
        EXPECT_EQ(t.X, columns[i] - width / 2) << t.Value;
        EXPECT_EQ(t.Y, 105) << t.Value;
    }
    // Y labels: right edge at MarginLeft - 4, centred on their rows (104, 79, 54, 29, 4).
    const int32_t rows[] = {104, 79, 54, 29, 4};
    for (int i = 0; i < 5; ++i) {
        const charttest::Text &t = c.Texts[static_cast<size_t>(5 + i)];
        const int32_t width = TRecordingCanvas::CharWidth * static_cast<int32_t>(t.Value.size());
        EXPECT_EQ(t.X + width, 36) << t.Value;
        EXPECT_EQ(t.Y, rows[i] - 6) << t.Value;
    }
    EXPECT_EQ(c.Measures, 9) << "each placed label but the first is measured";
    EXPECT_EQ(c.HorizontalLines(Grey), (std::vector<int32_t>{79, 54, 29, 4}));
}

TEST(PlotterCoreDraw, EdgeCasesOfTheScale)
{
    struct Case {
        const char *What;
        bool Attach;
        std::vector<TChartItem> Items;
        double MinY, MaxY;
        std::vector<std::string> Texts;
    } cases[] = {
        {"no series: 0 to 1 on both axes even with MaxY set", false, {}, 0.0, 8.0,
         {"0", "0.25", "0.5", "0.75", "1", "0", "0.25", "0.5", "0.75", "1"}},
        {"empty series with MaxY 8: Y 0 to 8, X 0 to 1", true, {}, 0.0, 8.0,
         {"0", "0.25", "0.5", "0.75", "1", "0", "2", "4", "6", "8"}},
        {"all equal: range 1 from the value", true, {{3, 5}, {3, 5}}, 0.0, 0.0,
         {"3", "3.25", "3.5", "3.75", "4", "5", "5.25", "5.5", "5.75", "6"}},
        {"negative values carry a minus", true, {{-8, -4}, {0, 0}}, 0.0, 0.0,
         {"-8", "-6", "-4", "-2", "0", "-4", "-3", "-2", "-1", "0"}},
    };
    for (const Case &cs : cases) {
        TRecordingPlotter p;
        p.SetGrid(4);
        p.MarginLeft = 40;
        p.MarginBottom = 20;
        p.MinY = cs.MinY;
        p.MaxY = cs.MaxY;
        TQorPlotHistogram element;
        element.StartX = cs.Items.empty() ? 0.0 : cs.Items[0].X;
        if (cs.Attach) {
            element.AttachTo(&p);
            for (const TChartItem &item : cs.Items)
                element.Series->Add(item.X, item.Y);
        }
        TRecordingCanvas c;
        p.Draw(c, 240, 120, Back);
        EXPECT_EQ(c.TextValues(), cs.Texts) << cs.What;
    }
}

TEST(PlotterCoreDraw, NarrowPlotsShowNoLabels)
{
    struct Case {
        int32_t Width, Height;
        size_t XLabels, YLabels;
    } cases[] = {
        {80, 96, 0, 0},   // 10 and 12 pixels per step
        {81, 96, 9, 0},   // 10.125 per X step
        {80, 97, 0, 9},   // 12.125 per Y step
        {336, 82, 9, 0},  // the program's own: X labels only (and below the bitmap)
        {336, 104, 9, 9},
    };
    for (const Case &cs : cases) {
        TRecordingPlotter p;
        p.SetGrid(8);
        TRecordingCanvas c;
        p.Draw(c, cs.Width, cs.Height, Back);
        EXPECT_EQ(c.Texts.size(), cs.XLabels + cs.YLabels) << cs.Width << " x " << cs.Height;
    }
}

TEST(PlotterCoreMouse, ButtonDownChoosesTheModeAndFreezesAnAutomaticScale)
{
    struct Case {
        uint8_t Button;
        bool Ctrl;
        uint8_t Mode;
    } cases[] = {
        {3, false, pdmPan}, {3, true, pdmPan}, {1, true, pdmZoomBox}, {1, false, pdmNone}, {2, true, pdmNone},
    };
    for (const Case &cs : cases) {
        TRecordingPlotter p;
        p.MouseControl = 1;
        Bars bars(p, 0, {{2, 1}, {6, 5}});
        p.StartDrag(cs.Button, cs.Ctrl);
        EXPECT_EQ(p.DragMode, cs.Mode) << "button " << int(cs.Button) << (cs.Ctrl ? " with Ctrl" : "");
        EXPECT_EQ(p.MaxY, 5.0);
        EXPECT_EQ(p.MinY, 1.0);
        EXPECT_EQ(p.MaxX, 6.0);
        EXPECT_EQ(p.MinX, 2.0);
    }

    TRecordingPlotter fixed;
    Bars bars(fixed, 0, {{2, 1}, {6, 5}});
    fixed.MaxY = 8.0; // one bound set: the Y scale stays as it is
    fixed.StartDrag(1, false);
    EXPECT_EQ(fixed.MaxY, 8.0);
    EXPECT_EQ(fixed.MinY, 0.0);
    EXPECT_EQ(fixed.MaxX, 6.0);
}

TEST(PlotterCoreMouse, PanMovesBothScalesByTheDraggedDistance)
{
    TRecordingPlotter p;
    p.MinY = 0.0;
    p.MaxY = 8.0;
    p.MinX = 2.0;
    p.MaxX = 14.0;
    p.LastX = 100;
    p.LastY = 40;
    p.Pan(128, 50, 336, 82);
    EXPECT_DOUBLE_EQ(p.MaxY, 8.0 + 10 * 8.0 / 82) << "dragging down raises the scale";
    EXPECT_DOUBLE_EQ(p.MinY, 10 * 8.0 / 82);
    EXPECT_DOUBLE_EQ(p.MaxX, 13.0) << "dragging right lowers it: 28 pixels of 28 per unit";
    EXPECT_DOUBLE_EQ(p.MinX, 1.0);

    TRecordingPlotter flat;
    flat.MarginTop = 41;
    flat.MarginBottom = 41;
    flat.MaxY = 8.0;
    flat.MaxX = 1.0;
    flat.Pan(10, 10, 336, 82);
    EXPECT_EQ(flat.MaxY, 8.0) << "no plot height: the Y scale is left alone";
    EXPECT_DOUBLE_EQ(flat.MaxX, 1.0 - 10.0 / 336);
}

TEST(PlotterCoreMouse, ZoomBoxZoomsForwardAndResetsAnAxisDraggedBackwards)
{
    auto zoomed = [](int32_t downX, int32_t downY, int32_t lastX, int32_t lastY, TRecordingPlotter &p) {
        p.MinY = 0.0;
        p.MaxY = 8.0;
        p.MinX = 2.0;
        p.MaxX = 14.0;
        p.DownX = downX;
        p.DownY = downY;
        p.LastX = lastX;
        p.LastY = lastY;
        p.ZoomToBox(336, 82);
    };

    TRecordingPlotter p;
    Bars bars(p, 0, {{3, 1}, {5, 6}});
    zoomed(42, 0, 84, 41, p);
    EXPECT_DOUBLE_EQ(p.MaxY, 8.0);
    EXPECT_DOUBLE_EQ(p.MinY, 4.0);
    EXPECT_DOUBLE_EQ(p.MaxX, 5.0);
    EXPECT_DOUBLE_EQ(p.MinX, 3.5);

    zoomed(84, 41, 42, 0, p);
    EXPECT_EQ(p.MaxY, 6.0) << "upwards: Y back to the data";
    EXPECT_EQ(p.MinY, 1.0);
    EXPECT_EQ(p.MaxX, 5.0) << "leftwards: X back to the data";
    EXPECT_EQ(p.MinX, 3.0);

    zoomed(84, 41, 84, 41, p);
    EXPECT_EQ(p.MaxY, 6.0) << "a box without height or width resets both";
    EXPECT_EQ(p.MinX, 3.0);
}

TEST(PlotterCoreMouse, WheelZoomsAboutTheLastMousePosition)
{
    struct Case {
        int32_t KeyState;
        double MaxY, MinY, MaxX, MinX;
    } cases[] = {
        {120 << 16, 8.0 - 4 * 0.192, 0.0 + 4 * 0.192, 14.0 - 6 * 0.192, 2.0 + 6 * 0.192},
        {-120 * 65536, 8.0 + 4 * 0.192, 0.0 - 4 * 0.192, 14.0 + 6 * 0.192, 2.0 - 6 * 0.192},
        {(120 << 16) | 8, 8.0 - 4 * (7864328 / 4096.0 * 0.0001), 4 * (7864328 / 4096.0 * 0.0001),
         14.0 - 6 * (7864328 / 4096.0 * 0.0001), 2.0 + 6 * (7864328 / 4096.0 * 0.0001)},
    };
    for (const Case &cs : cases) {
        TRecordingPlotter p;
        p.MouseControl = 1;
        p.MinY = 0.0;
        p.MaxY = 8.0;
        p.MinX = 2.0;
        p.MaxX = 14.0;
        p.LastX = 168; // the middle of 336 x 82: pivot (8, 4)
        p.LastY = 41;
        p.WheelZoom(cs.KeyState, 336, 82);
        EXPECT_DOUBLE_EQ(p.MaxY, cs.MaxY) << cs.KeyState;
        EXPECT_DOUBLE_EQ(p.MinY, cs.MinY) << cs.KeyState;
        EXPECT_DOUBLE_EQ(p.MaxX, cs.MaxX) << cs.KeyState;
        EXPECT_DOUBLE_EQ(p.MinX, cs.MinX) << cs.KeyState;
    }
}
