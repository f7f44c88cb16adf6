// The grapher and the plotter on real windows under Wine: pixels read back
// from their off-screen bitmaps and from the screen, leaks over many redraws.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorGrapher.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TQorPlotter.h"
#include "elements/win/WinTestKit.h"
#include "winlayer/GdiCount.h"
#include "winlayer/WinBitmap.h"
#include "winlayer/WinMemoryStream.h"

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

namespace {

void Mouse(HWND Window, UINT Message, WPARAM Keys, int X, int Y)
{
    SendMessageA(Window, Message, Keys, MAKELPARAM(X, Y));
}

// Holds Ctrl down in the thread's key state (what GetKeyState reads) while it lives.
struct CtrlHeld {
    BYTE Old[256] = {};
    CtrlHeld()
    {
        GetKeyboardState(Old);
        BYTE keys[256];
        memcpy(keys, Old, sizeof keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
    }
    ~CtrlHeld() { SetKeyboardState(Old); }
    CtrlHeld(const CtrlHeld &) = delete;
    CtrlHeld &operator=(const CtrlHeld &) = delete;
};

// A handler-list entry that counts its calls and keeps the last sender.
struct HandlerProbe {
    int Calls = 0;
    TQorMouseRecord Last;
    static void Handle(void *Self, void *Sender)
    {
        auto *probe = static_cast<HandlerProbe *>(Self);
        ++probe->Calls;
        probe->Last = *static_cast<TQorMouseRecord *>(Sender);
    }
};

} // namespace

TEST_F(ChartTest, MiddleButtonPansAndTheWheelZoomsOnlyWithMouseControl)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300, 1);
    TQorPlotter *plot = MakeDayPlot(form);
    TQorPlotHistogram *bars = MakeBars(plot, 0x00FFFF);
    for (int v : {1, 4, 2, 5, 3, 0, 0}) {
        TData d = IntData(v);
        bars->doAdd(d, 0);
    }
    Sink *downs = SinkFor(plot->onMouseDown, "down");
    HWND window = plot->Control->Handle;

    // Off: the element's events still come, the scale stays automatic in X.
    Mouse(window, WM_MBUTTONDOWN, MK_MBUTTON, 100, 40);
    Mouse(window, WM_MOUSEMOVE, MK_MBUTTON, 128, 50);
    Mouse(window, WM_MBUTTONUP, 0, 128, 50);
    EXPECT_EQ(downs->Values(), std::vector<std::string>{"int 2"});
    EXPECT_EQ(plot->MaxX, 0.0);
    EXPECT_EQ(plot->DragMode, pdmNone);
    EXPECT_EQ(GetFocus(), window) << "a press focuses the plot";

    // On: the press freezes X at the data (2..14), the move pans by 28 pixels
    // (one unit) right and 10 down.
    plot->MouseControl = 1;
    Mouse(window, WM_MBUTTONDOWN, MK_MBUTTON, 100, 40);
    EXPECT_EQ(plot->DragMode, pdmPan);
    EXPECT_EQ(plot->MinX, 2.0);
    EXPECT_EQ(plot->MaxX, 14.0);
    Mouse(window, WM_MOUSEMOVE, MK_MBUTTON, 128, 50);
    EXPECT_DOUBLE_EQ(plot->MinX, 1.0);
    EXPECT_DOUBLE_EQ(plot->MaxX, 13.0);
    EXPECT_DOUBLE_EQ(plot->MaxY, 8.0 + 10 * 8.0 / 82);
    Mouse(window, WM_MBUTTONUP, 0, 128, 50);
    EXPECT_EQ(plot->DragMode, pdmNone);

    // A wheel notch forward zooms in by 0.192 about the last mouse position.
    plot->MinY = 0.0;
    plot->MaxY = 8.0;
    plot->MinX = 2.0;
    plot->MaxX = 14.0;
    Mouse(window, WM_MOUSEMOVE, 0, 168, 41);
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(500, 500));
    EXPECT_DOUBLE_EQ(plot->MaxY, 8.0 - 4 * (120 * 65536 / 4096.0 * 0.0001));
    EXPECT_DOUBLE_EQ(plot->MinX, 2.0 + 6 * (120 * 65536 / 4096.0 * 0.0001));

    plot->MouseControl = 0;
    SendMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(500, 500));
    EXPECT_DOUBLE_EQ(plot->MaxY, 8.0 - 4 * (120 * 65536 / 4096.0 * 0.0001)) << "off: the wheel does nothing";
}

TEST_F(ChartTest, CtrlDragShowsAnXorBoxAndZoomsToIt)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300, 1);
    TQorPlotter *plot = MakeDayPlot(form);
    plot->MouseControl = 1;
    TQorPlotHistogram *bars = MakeBars(plot, 0x00FFFF);
    for (int v : {1, 4, 2, 5, 3, 0, 0}) {
        TData d = IntData(v);
        bars->doAdd(d, 0);
    }
    HandlerProbe downs, moves, ups;
    plot->MouseDownHandlers.Add(&HandlerProbe::Handle, &downs);
    plot->MouseMoveHandlers.Add(&HandlerProbe::Handle, &moves);
    plot->MouseUpHandlers.Add(&HandlerProbe::Handle, &ups);
    ShowAndPaint(form);
    HWND window = plot->Control->Handle;

    {
        CtrlHeld ctrl;
        Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 42, 0);
        EXPECT_EQ(plot->DragMode, pdmZoomBox);
        Mouse(window, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, 60, 20);
        Mouse(window, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, 84, 41);

        // The box's inside is the screen combined with the control's colour:
        // the background turns black; outside the box nothing changed.
        const Snapshot during = ScreenPixels(window);
        EXPECT_EQ(Hex(during.At(70, 15)), Hex(RGB(0, 0, 0))) << "inside the box";
        EXPECT_EQ(Hex(during.At(100, 15)), Hex(Face())) << "outside the box";
        Mouse(window, WM_LBUTTONUP, MK_CONTROL, 84, 41);
    }
    // Zoomed to X 3.5..5 and Y 4..8; the box is gone once the plot repainted.
    EXPECT_DOUBLE_EQ(plot->MinX, 3.5);
    EXPECT_DOUBLE_EQ(plot->MaxX, 5.0);
    EXPECT_DOUBLE_EQ(plot->MinY, 4.0);
    EXPECT_DOUBLE_EQ(plot->MaxY, 8.0);
    EXPECT_EQ(plot->DragMode, pdmNone);
    Settle();
    const Snapshot after = ScreenPixels(window);
    EXPECT_NE(Hex(after.At(70, 15)), Hex(RGB(0, 0, 0)));

    EXPECT_EQ(downs.Calls, 1);
    EXPECT_EQ(moves.Calls, 2);
    EXPECT_EQ(ups.Calls, 1);
    EXPECT_EQ(moves.Last.X, 84);
    EXPECT_EQ(ups.Last.Y, 41);

    // Dragged back up and left: both axes go back to the data and stay fixed there.
    {
        CtrlHeld ctrl;
        Mouse(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 200, 60);
        Mouse(window, WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, 100, 20);
        Mouse(window, WM_LBUTTONUP, MK_CONTROL, 100, 20);
    }
    EXPECT_EQ(plot->MinX, 2.0);
    EXPECT_EQ(plot->MaxX, 14.0);
    EXPECT_EQ(plot->MinY, 0.0);
    EXPECT_EQ(plot->MaxY, 5.0);
    plot->MouseDownHandlers.Remove(&HandlerProbe::Handle, &downs);
    plot->MouseMoveHandlers.Remove(&HandlerProbe::Handle, &moves);
    plot->MouseUpHandlers.Remove(&HandlerProbe::Handle, &ups);
}

TEST_F(ChartTest, ResizeGivesTheBitmapTheControlsSizeAndAStreamReplacesTheValues)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300);
    TQorGrapher *graph = MakeMonthGraph(form);
    TQorPlotter *plot = MakeDayPlot(form);

    graph->Control->SetBounds(17, 109, 200, 60);
    plot->Control->SetBounds(15, 2, 0, 0);
    EXPECT_EQ(graph->Bitmap->Width(), 200);
    EXPECT_EQ(graph->Bitmap->Height(), 60);
    EXPECT_EQ(plot->Bitmap->Width(), 1) << "never below 1 x 1";
    EXPECT_EQ(plot->Bitmap->Height(), 1);

    for (int v : {1, 2, 3}) {
        TData d = IntData(v);
        graph->doAdd(d, 0);
    }
    auto *stream = NewObject<TWinMemoryStream>();
    const uint8_t bytes[] = {0x05, 0x00, 0x02, 0x00, 0x06};
    stream->Write(bytes, sizeof bytes);
    TData d;
    d.dtStream(stream);
    graph->doAdd(d, 0);
    ASSERT_EQ(graph->Count(), 3) << "the stream's values replace the old ones";
    EXPECT_EQ(graph->Values[0].Y, 5.0);
    EXPECT_EQ(graph->Values[1].Y, 2.0);
    EXPECT_EQ(graph->Values[2].Y, 6.0) << "a lone last byte is a low byte";
    EXPECT_EQ(graph->Values[2].X, 2.0);
    stream->Free();

    TData none;
    graph->doClear(none, 0);
    EXPECT_EQ(graph->Count(), 0);
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
using ChartLeakTest = ChartTestOn<UnwatchedLayerTest>;

} // namespace

TEST_F(ChartLeakTest, TenThousandRedrawsOfTheGraphAndTheHistogramLeakNoGdiObjectAndNoMemory)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300);
    TQorGrapher *graph = MakeMonthGraph(form);
    TQorPlotter *plot = MakeDayPlot(form);
    TQorPlotHistogram *red = MakeBars(plot, 0x0000FF);
    TQorPlotHistogram *yellow = MakeBars(plot, 0x00FFFF);
    TQorPlotHistogram *green = MakeBars(plot, 0x008000);
    for (int i = 0; i < 240; ++i) {
        TData d = IntData(i * 7 % 10);
        graph->doAdd(d, 0);
    }

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 400, 120);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, target);

    // One refill of the histogram (clear, seven bars) and a redraw of both
    // charts; every 100th time both are resized too.
    auto redraw = [&](int i) {
        TData none;
        plot->doClear(none, 0);
        for (int bar = 0; bar < 7; ++bar) {
            const double height = (i + bar) % 10;
            AddBar(green, yellow, red, height, height <= 3 ? green : height < 5 ? yellow : red);
        }
        SendMessageA(plot->Control->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        graph->Draw();
        SendMessageA(graph->Control->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
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
    const DWORD systemBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const SIZE_T bytesBefore = PrivateBytes();

    for (int i = 0; i < 10000; ++i)
        redraw(i);

    const int32_t layerAfter = LayerGdiCount().Live();
    const DWORD systemAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const SIZE_T bytesAfter = PrivateBytes();
    std::printf("GDI objects (layer count): %d before, %d after\n", static_cast<int>(layerBefore),
                static_cast<int>(layerAfter));
    std::printf("GDI objects (GetGuiResources): %lu before, %lu after\n", static_cast<unsigned long>(systemBefore),
                static_cast<unsigned long>(systemAfter));
    std::printf("private bytes: %llu before, %llu after\n", static_cast<unsigned long long>(bytesBefore),
                static_cast<unsigned long long>(bytesAfter));
    RecordProperty("PrivateBytesBefore", std::to_string(bytesBefore));
    RecordProperty("PrivateBytesAfter", std::to_string(bytesAfter));

    EXPECT_EQ(layerAfter, layerBefore) << "the layer's own count";
    if (systemBefore != 0) {
        EXPECT_EQ(systemAfter, systemBefore) << "the system's count";
    }
    EXPECT_NE(bytesBefore, 0u) << "the system tells the private bytes";
    EXPECT_LT(bytesAfter, bytesBefore + 64 * 1024) << "7 bytes lost per redraw would be more";

    SelectObject(memory, old);
    DeleteObject(target);
    DeleteDC(memory);
}

TEST_F(ChartTest, ChartsWhoseControlTheLayerFreedFirstStillTakeValuesAndGoQuietly)
{
    Running on;
    TQorMainForm *form = MakeMainForm(382, 300);
    TQorGrapher *graph = MakeMonthGraph(form);
    TQorPlotter *plot = MakeDayPlot(form);
    TQorPlotHistogram *bars = MakeBars(plot, 0x00FFFF);
    const int32_t gdiBefore = LayerGdiCount().Live();

    form->Control->Free(); // the layer frees the form's control with its children
    ASSERT_EQ(graph->ControlGone, 1);
    ASSERT_EQ(plot->ControlGone, 1);

    // Nothing may reach the freed controls: count every invalidation from now on.
    static int invalidations;
    invalidations = 0;
    InvalidateHook = TControlHook{[](void *, TWinControl *) { ++invalidations; }, nullptr};

    TData d = IntData(3);
    graph->doAdd(d, 0);
    TData none;
    graph->doClear(none, 0);
    d = IntData(2);
    graph->doAdd(d, 0);
    EXPECT_EQ(graph->Count(), 1);
    d = IntData(4);
    bars->doAdd(d, 0);
    plot->doClear(none, 0);
    d = IntData(5);
    bars->doAdd(d, 0);
    EXPECT_EQ(bars->Series->Count(), 1);
    EXPECT_EQ(invalidations, 0) << "no invalidation of a freed control";
    InvalidateHook = {};

    Elements.FreeElements();
    EXPECT_LE(LayerGdiCount().Live(), gdiBefore) << "bitmaps and regions went with the elements";
}
