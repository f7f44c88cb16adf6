// The grapher and the plotter on real windows under Wine: pixels read back
// from what they paint, leaks over many redraws, controls freed first.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "elements/chart/TQorGrapher.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TQorPlotter.h"
#include "elements/chart/TSeries.h"
#include "elements/win/WinTestKit.h"
#include "winlayer/GdiCount.h"

using namespace winlayer;
using namespace wintest;

namespace {

std::string Hex(COLORREF C)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(C));
    return text;
}

const std::string Red = Hex(RGB(255, 0, 0)), Yellow = Hex(RGB(255, 255, 0)), Grey = Hex(RGB(128, 128, 128));
const std::string Blue = Hex(RGB(0, 0, 255)), Green = Hex(RGB(0, 128, 0));

struct ChartTest : ElementTest {
    TQorMainForm *Form = nullptr;
    TQorPlotHistogram *Bars[3] = {}; // red, yellow, green of the last plot made

    // MonthGraph as the main scheme makes it (0..6, Grid 6), Margin above and below.
    TQorGrapher *MakeMonthGraph(int Margin = 0)
    {
        TQorGrapher *g = Elements.Make<TQorGrapher>(Form->Control);
        Configure(g, 17, 109, 335, 105 + 2 * Margin);
        g->SetGrid(6);
        g->GridColor = 0xC0C0C0;
        g->AxisColor = 0xFF0000;
        g->Step = 1.0;
        g->MaxValue = 6.0;
        g->MarginTop = g->MarginBottom = Margin;
        g->LineWidth = 1;
        g->LineColor = 0x0000FF;
        g->Init();
        return g;
    }

    // DayPlot as the main scheme makes it (Y 0..8, Grid 8) with its red, yellow
    // and green bars; Margin above and below.
    TQorPlotter *MakeDayPlot(int Margin = 0)
    {
        TQorPlotter *p = Elements.Make<TQorPlotter>(Form->Control);
        Configure(p, 15, 2, 336, 82 + 2 * Margin);
        p->SetGrid(8);
        p->GridColor = 0xC0C0C0;
        p->AxisColor = 0xFF0000;
        p->MaxY = 8.0;
        p->MarginTop = p->MarginBottom = Margin;
        p->Init();
        const uint32_t fills[] = {0x0000FF, 0x00FFFF, 0x008000};
        for (int i = 0; i < 3; ++i) {
            TQorPlotHistogram *bars = Bars[i] = Elements.Make<TQorPlotHistogram>();
            bars->FillColor = fills[i];
            bars->Color = 0x808080;
            bars->HalfWidth = 1;
            bars->Step = 2.0;
            bars->StartX = 2.0;
            bars->AttachTo(p);
        }
        return p;
    }

    // One bar position as the day feed fills it: the height in the series of the
    // colour its value has (green to 3, yellow 4, red from 5), 0 in the others.
    void AddBar(double Height)
    {
        const int high = Height <= 3 ? 2 : Height < 5 ? 1 : 0;
        for (int i = 0; i < 3; ++i) {
            TData d = RealData(i == high ? Height : 0.0);
            Bars[i]->doAdd(d, 0);
        }
    }
};

} // namespace

TEST_F(ChartTest, GraphLinePassesThroughItsValuesAndAboveTheScaleBeyondThePlotArea)
{
    Running on;
    Form = MakeMainForm(382, 300);
    TQorGrapher *graph = MakeMonthGraph(20);
    // X 0..5 over 335 pixels: 67 per value. Y 0..6 over 105 below a top margin
    // of 20: 17.5 per unit, and 7 above the frame at y 20 - 17.5 -> 2.
    for (int v : {1, 1, 7, 7, 2, 2}) {
        TData d = IntData(v);
        graph->doAdd(d, 0);
    }
    const Snapshot shot = Printed(graph->Control->Handle);
    const int probes[][2] = {{30, 108}, {170, 2}, {300, 90}}; // 20 + 87.5 -> 108, 2, 20 + 70
    for (const auto &p : probes) {
        EXPECT_EQ(Hex(shot.At(p[0], p[1])), Red) << "(" << p[0] << ", " << p[1] << ")";
        EXPECT_NE(Hex(shot.At(p[0], p[1] - 1)), Red) << "(" << p[0] << ", " << p[1] - 1 << ")";
        EXPECT_NE(Hex(shot.At(p[0], p[1] + 1)), Red) << "(" << p[0] << ", " << p[1] + 1 << ")";
    }
    EXPECT_EQ(Hex(shot.At(30, 100)), Hex(GetSysColor(COLOR_BTNFACE))) << "the control's colour";
    EXPECT_EQ(Hex(shot.At(56, 100)), Hex(RGB(192, 192, 192))) << "a grid column";
    EXPECT_EQ(Hex(shot.At(0, 30)), Blue) << "the frame's left edge";
    EXPECT_EQ(Hex(shot.At(100, 10)), Hex(GetSysColor(COLOR_BTNFACE))) << "the margin";
}

TEST_F(ChartTest, BarsFillTheirRectanglesInsideAGreyOutlineClippedToThePlotArea)
{
    Running on;
    Form = MakeMainForm(382, 300);
    TQorPlotter *plot = MakeDayPlot(20);
    for (double height : {1, 4, 9, 0, 0, 0, 0}) // 9 on 0..8: its top 10 pixels above the plot
        AddBar(height);

    // X 2..14 over 336: 28 pixels per unit; the yellow 4 at X 4 spans 28..84, its top at 20 + 82 - 41.
    // The red 9 at X 6 (84..140) stops at the plot's top edge, the frame at y 20.
    const std::string face = Hex(GetSysColor(COLOR_BTNFACE));
    const std::tuple<int, int, std::string, const char *> probes[] = {
        {56, 61, Grey, "top edge"}, {28, 80, Grey, "left edge"},
        {83, 80, Grey, "right edge (the rectangle's right is exclusive)"},
        {29, 62, Yellow, "inside"}, {82, 62, Yellow, "inside"}, {29, 100, Yellow, "inside"}, {82, 100, Yellow, "inside"},
        {56, 60, face, "above the bar"}, {10, 95, Green, "the green bar of height 1 at X 2, half cut off"},
        {56, 101, Blue, "the frame's bottom edge covers the bars' bottom edges"},
        {112, 15, face, "nothing above the plot area"}, {112, 10, face, "not even the bar's top edge"},
        {112, 25, Red, "the red fill inside the plot"}};
    const Snapshot shot = Printed(plot->Control->Handle);
    for (const auto &[x, y, colour, what] : probes)
        EXPECT_EQ(Hex(shot.At(x, y)), colour) << what << " at (" << x << ", " << y << ")";
}

namespace {

// The process's private committed bytes. Wine leaves PrivateUsage 0 and keeps
// the same count in PagefileUsage (which Windows fills alike).
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                         sizeof counters);
    return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

// Ten thousand redraws take longer than the loop watchdog allows; no loop runs here.
struct ChartLeakTest : ChartTest {
    ChartLeakTest() { Watched = false; }
};

} // namespace

TEST_F(ChartLeakTest, TenThousandRedrawsOfTheGraphAndTheHistogramLeakNoGdiObjectAndNoMemory)
{
    Running on;
    Form = MakeMainForm(382, 300);
    TQorGrapher *graph = MakeMonthGraph();
    TQorPlotter *plot = MakeDayPlot();
    for (int i = 0; i < 240; ++i) {
        TData d = IntData(i * 7 % 10);
        graph->doAdd(d, 0);
    }
    layertest::TMemoryPicture target(400, 120);
    const WPARAM memory = reinterpret_cast<WPARAM>(target.DC);

    // A refill of the histogram, a redraw of both charts, and every 100th time a resize.
    auto redraw = [&](int i) {
        TData none;
        plot->doClear(none, 0);
        for (int bar = 0; bar < 7; ++bar)
            AddBar((i + bar) % 10);
        SendMessageA(plot->Control->Handle, WM_PRINTCLIENT, memory, PRF_CLIENT);
        graph->Draw();
        SendMessageA(graph->Control->Handle, WM_PRINTCLIENT, memory, PRF_CLIENT);
        if (i % 100 == 99) {
            const int grow = (i / 100) % 2;
            plot->Control->SetBounds(15, 2, 336 + grow, 82 + grow);
            graph->Control->SetBounds(17, 109, 335 + grow, 105 + grow);
        }
        layertest::DrainQueue();
    };
    for (int i = 0; i < 1000; ++i)
        redraw(i); // what is made once, and the heap's first growth
    const int32_t layerBefore = LayerGdiCount().Live();
    const SIZE_T bytesBefore = PrivateBytes();
    for (int i = 0; i < 10000; ++i)
        redraw(i);
    const int32_t layerAfter = LayerGdiCount().Live();
    const SIZE_T bytesAfter = PrivateBytes();
    EXPECT_EQ(layerAfter, layerBefore) << "the layer's own count";
    EXPECT_NE(bytesBefore, 0u) << "the system tells the private bytes";
    EXPECT_LT(bytesAfter, bytesBefore + 64 * 1024) << "7 bytes lost per redraw would be more";
}

TEST_F(ChartTest, ChartsWhoseControlTheLayerFreedFirstStillTakeValuesAndGoQuietly)
{
    Running on;
    Form = MakeMainForm(382, 300);
    TQorGrapher *graph = MakeMonthGraph();
    TQorPlotter *plot = MakeDayPlot();
    const int32_t gdiBefore = LayerGdiCount().Live();
    Form->Control->Free(); // the layer frees the form's control with its children
    ASSERT_EQ(Form->ControlGone + graph->ControlGone + plot->ControlGone, 3) << "the form's and both charts'";

    // Nothing may reach the freed controls: count every invalidation from now on.
    static int invalidations;
    invalidations = 0;
    InvalidateHook = TControlHook{[](void *, TWinControl *) { ++invalidations; }, nullptr};
    TData none, d = IntData(2);
    graph->doClear(none, 0);
    graph->doAdd(d, 0);
    EXPECT_EQ(graph->Count(), 1);
    AddBar(4);
    plot->doClear(none, 0);
    AddBar(5);
    EXPECT_EQ(plot->SeriesAt(0)->Count(), 1);
    EXPECT_EQ(invalidations, 0) << "no invalidation of a freed control";
    InvalidateHook = {};
    Elements.FreeElements();
    EXPECT_LE(LayerGdiCount().Live(), gdiBefore) << "bitmaps and regions went with the elements";
}
