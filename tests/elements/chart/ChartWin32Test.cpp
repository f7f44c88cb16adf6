// The grapher and the plotter on real windows under Wine: pixels read back
// from their off-screen bitmaps and from the screen, leaks over many redraws.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorGrapher.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TQorPlotter.h"
#include "elements/win/WinTestKit.h"
#include "winlayer/GdiCount.h"
#include "winlayer/WinBitmap.h"

using namespace winlayer;
using namespace wintest;

namespace {

constexpr COLORREF RedPixel = RGB(255, 0, 0);
constexpr COLORREF YellowPixel = RGB(255, 255, 0);
constexpr COLORREF GreyPixel = RGB(128, 128, 128);
constexpr COLORREF BluePixel = RGB(0, 0, 255);

COLORREF Face()
{
    return GetSysColor(COLOR_BTNFACE);
}

// What the chart's bitmap holds, copied out by the bitmap's own Draw.
Snapshot BitmapPixels(TWinBitmap *Bitmap)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP copy = CreateCompatibleBitmap(screen, Bitmap->Width(), Bitmap->Height());
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, copy);
    Bitmap->Draw(memory, 0, 0);
    SelectObject(memory, old);
    Snapshot shot = Pixels(memory, copy, Bitmap->Width(), Bitmap->Height());
    DeleteObject(copy);
    DeleteDC(memory);
    return shot;
}

std::string Hex(COLORREF C)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(C));
    return text;
}

template <class Base> struct ChartTestOn : ElementTestOn<Base> {
    using ElementTestOn<Base>::Elements;

    // MonthGraph as the main scheme makes it (MinValue 0, MaxValue 6, Grid 6).
    TQorGrapher *MakeMonthGraph(TQorMainForm *Form, int Width = 335, int Height = 105)
    {
        TQorGrapher *g = Elements.template Make<TQorGrapher>(Form->Control);
        Configure(g, 17, 379 - 270, Width, Height);
        g->SetGrid(6);
        g->GridColor = 0xC0C0C0;
        g->AxisColor = 0xFF0000;
        g->TextColor = 0xFF0000;
        g->Step = 1.0;
        g->MinValue = 0.0;
        g->MaxValue = 6.0;
        g->MaxCount = 0;
        g->LineWidth = 1;
        g->LineColor = 0x0000FF;
        g->Init();
        return g;
    }

    // DayPlot as the main scheme makes it (MinY 0, MaxY 8, Grid 8).
    TQorPlotter *MakeDayPlot(TQorMainForm *Form, int Width = 336, int Height = 82)
    {
        TQorPlotter *p = Elements.template Make<TQorPlotter>(Form->Control);
        Configure(p, 15, 2, Width, Height);
        p->SetGrid(8);
        p->GridColor = 0xC0C0C0;
        p->AxisColor = 0xFF0000;
        p->TextColor = 0xFF0000;
        p->MinY = 0.0;
        p->MaxY = 8.0;
        p->MouseControl = 0;
        p->Init();
        return p;
    }

    // One of the day feed's bar elements, attached to Plot.
    TQorPlotHistogram *MakeBars(TQorPlotter *Plot, uint32_t Fill)
    {
        TQorPlotHistogram *bars = Elements.template Make<TQorPlotHistogram>();
        bars->FillColor = Fill;
        bars->Color = 0x808080;
        bars->HalfWidth = 1;
        bars->MaxCount = 9;
        bars->Step = 2.0;
        bars->StartX = 2.0;
        bars->AttachTo(Plot);
        bars->Baseline = nullptr;
        return bars;
    }

    // Adds one bar to each of the three, as the day feed does: one of them high.
    static void AddBar(TQorPlotHistogram *Green, TQorPlotHistogram *Yellow, TQorPlotHistogram *Red, double Height,
                       TQorPlotHistogram *High)
    {
        for (TQorPlotHistogram *bars : {Green, Yellow, Red}) {
            TData d = RealData(bars == High ? Height : 0.0);
            bars->doAdd(d, 0);
        }
    }
};
using ChartTest = ChartTestOn<layertest::LayerTest>;

} // namespace

TEST_F(ChartTest, GraphLinePassesThroughThePixelsOfItsValues)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300);
    TQorGrapher *graph = MakeMonthGraph(form);
    ASSERT_EQ(graph->Bitmap->Width(), 335);
    ASSERT_EQ(graph->Bitmap->Height(), 105);

    // X 0..5 over 335 pixels: 67 per value. Y 0..6 over 105: 17.5 per unit.
    for (int v : {1, 1, 5, 5, 2, 2}) {
        TData d = IntData(v);
        graph->doAdd(d, 0);
    }
    const Snapshot shot = BitmapPixels(graph->Bitmap);
    struct Probe {
        int X, Y;
        bool Red;
    } probes[] = {
        {30, 88, true},  {30, 87, false}, {30, 89, false}, // value 1: 105 - 17.5 = 87.5 -> 88
        {170, 18, true}, {170, 17, false}, {170, 19, false}, // value 5: 17.5 -> 18
        {300, 70, true}, {300, 69, false}, {300, 71, false}, // value 2: 70
    };
    for (const Probe &p : probes)
        EXPECT_EQ(shot.At(p.X, p.Y) == RedPixel, p.Red)
            << "(" << p.X << ", " << p.Y << ") is " << Hex(shot.At(p.X, p.Y));
    EXPECT_EQ(shot.At(30, 80), Face()) << "the background is the control's colour";
    EXPECT_EQ(Hex(shot.At(56, 80)), Hex(RGB(192, 192, 192))) << "a grid column";
}

TEST_F(ChartTest, GraphValuesAboveTheScaleAreDrawnBeyondThePlotArea)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300);
    TQorGrapher *graph = Elements.Make<TQorGrapher>(form->Control);
    Configure(graph, 10, 10, 335, 145);
    graph->SetGrid(6);
    graph->MaxValue = 6.0;
    graph->Step = 1.0;
    graph->MarginTop = 20;
    graph->MarginBottom = 20;
    graph->LineWidth = 1;
    graph->LineColor = 0x0000FF;
    graph->AxisColor = 0xFF0000;
    graph->GridColor = 0xC0C0C0;
    graph->Init();
    TData d = IntData(7);
    graph->doAdd(d, 0);
    d = IntData(7);
    graph->doAdd(d, 0);

    // 7 on 0..6 in 105 pixels: 105 - 122.5 = -17.5 -> -18, plus the top margin 20: y 2.
    const Snapshot shot = BitmapPixels(graph->Bitmap);
    EXPECT_EQ(Hex(shot.At(100, 2)), Hex(RedPixel)) << "above the frame at y 20";
    EXPECT_EQ(Hex(shot.At(0, 30)), Hex(BluePixel)) << "the frame's left edge";
    EXPECT_EQ(Hex(shot.At(100, 10)), Hex(Face())) << "the margin";
}

TEST_F(ChartTest, YellowBarOfHeightFourFillsItsRectangleInsideAGreyOutline)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300);
    TQorPlotter *plot = MakeDayPlot(form);
    TQorPlotHistogram *red = MakeBars(plot, 0x0000FF);
    TQorPlotHistogram *yellow = MakeBars(plot, 0x00FFFF);
    TQorPlotHistogram *green = MakeBars(plot, 0x008000);
    AddBar(green, yellow, red, 1, green);
    AddBar(green, yellow, red, 4, yellow);
    for (int i = 0; i < 5; ++i)
        AddBar(green, yellow, red, 0, green);

    // The plot paints on demand: print it into a context of our own.
    ShowAndPaint(form);
    const Snapshot shot = BitmapPixels(plot->Bitmap);

    // X 2..14 over 336: 28 pixels per unit; the bar at X 4 spans 28..84.
    // Y 0..8 over 82: its top at 82 - 41 = 41.
    EXPECT_EQ(Hex(shot.At(56, 41)), Hex(GreyPixel)) << "top edge";
    EXPECT_EQ(Hex(shot.At(28, 60)), Hex(GreyPixel)) << "left edge";
    EXPECT_EQ(Hex(shot.At(83, 60)), Hex(GreyPixel)) << "right edge (the rectangle's right is exclusive)";
    for (int x : {29, 56, 82})
        for (int y : {42, 60, 80})
            EXPECT_EQ(Hex(shot.At(x, y)), Hex(YellowPixel)) << "inside at (" << x << ", " << y << ")";
    EXPECT_EQ(Hex(shot.At(56, 40)), Hex(Face())) << "above the bar";
    EXPECT_EQ(Hex(shot.At(100, 30)), Hex(Face())) << "beside it";
    EXPECT_EQ(Hex(shot.At(10, 75)), Hex(RGB(0, 128, 0))) << "the green bar of height 1 at X 2, half cut off";
    EXPECT_EQ(Hex(shot.At(56, 81)), Hex(BluePixel)) << "the frame's bottom edge covers the bars' bottom edges";

    // The window shows the same picture (less what its border takes).
    const Snapshot screen = ScreenPixels(plot->Control->Handle);
    EXPECT_EQ(Hex(screen.At(56, 60)), Hex(YellowPixel));
    EXPECT_EQ(Hex(screen.At(56, 41)), Hex(GreyPixel));
}

TEST_F(ChartTest, PlotterClipsBarsAboveItsScaleToThePlotArea)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300);
    TQorPlotter *plot = Elements.Make<TQorPlotter>(form->Control);
    Configure(plot, 10, 10, 336, 122);
    plot->SetGrid(8);
    plot->MaxY = 8.0;
    plot->MarginTop = 20;
    plot->MarginBottom = 20;
    plot->AxisColor = 0xFF0000;
    plot->Init();
    TQorPlotHistogram *red = MakeBars(plot, 0x0000FF);
    TQorPlotHistogram *yellow = MakeBars(plot, 0x00FFFF);
    TQorPlotHistogram *green = MakeBars(plot, 0x008000);
    AddBar(green, yellow, red, 0, green);
    AddBar(green, yellow, red, 9, red); // 9 on 0..8: its top 10 pixels above the plot
    for (int i = 0; i < 5; ++i)
        AddBar(green, yellow, red, 0, green);

    ShowAndPaint(form);
    const Snapshot shot = BitmapPixels(plot->Bitmap);
    EXPECT_EQ(Hex(shot.At(56, 15)), Hex(Face())) << "nothing of the bar above the plot area";
    EXPECT_EQ(Hex(shot.At(56, 10)), Hex(Face())) << "not even its top edge";
    EXPECT_EQ(Hex(shot.At(56, 20)), Hex(BluePixel)) << "the frame";
    EXPECT_EQ(Hex(shot.At(56, 25)), Hex(RGB(255, 0, 0))) << "the red fill inside the plot";
}
