// Both charts of the main form filled by the real feeds from the sample
// DGD.txt: the Kp extraction, the 30-day feed and the daily histogram feed in
// their containers, wired as the main scheme wires them, drawing on a real
// grapher and plotter under Wine. The screenshot test shows them on the
// display for screenshot.sh; without it (TERVIK_SHOT_DIR unset) it is skipped.
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/TClassMultiElementEx_27BA100.h"
#include "app/TClassMultiElementEx_27BAAA0.h"
#include "app/TClassMultiElementEx_27BAD60.h"
#include "app/TDayPlotOwner.h"
#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorGrapher.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TQorPlotter.h"
#include "elements/win/WinTestKit.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"
#include "winlayer/WinBitmap.h"

using namespace winlayer;
using namespace wintest;

namespace {

// The part of the main scheme that fills the charts, in its creation order and
// with its properties; the local hour stands for Schedule.Var[1].
class TChartsScheme : public TScheme, public TDayPlotOwner {
public:
    TQorMainForm *MainForm;
    TQorMultiElementEx *KpParser;
    TQorMemory *LocalPath;
    TQorHub *ResultHub;
    TQorGrapher *MonthGraph;
    TQorMultiElementEx *MonthFeed;
    TQorLabel *MonthTitleLabel;
    TQorPlotter *DayPlot;
    TQorLabel *DayTitleLabel;
    TQorMultiElementEx *DayFeed;
    TQorMemory *LocalHour;

    TChartsScheme()
    {
        MainForm = Make<TQorMainForm>(nullptr);
        Configure(MainForm, 20, 20, 382, 530, 1);
        MainForm->SetCaption("Tervik v4");
        MainForm->SetBorderStyle(2);
        MainForm->Init();

        KpParser = Make<TQorMultiElementEx>(MainForm->Control);
        KpParser->Mode = 0;
        KpParser->MainScheme = this;
        KpParser->SetEventCount(4);
        KpParser->SetDataCount(1);

        LocalPath = Make<TQorMemory>();

        ResultHub = Make<TQorHub>();
        ResultHub->SetOutCount(4);

        MonthGraph = Make<TQorGrapher>(MainForm->Control);
        Configure(MonthGraph, 17, 379, 335, 105);
        MonthGraph->SetGrid(6);
        MonthGraph->GridColor = 0xC0C0C0;
        MonthGraph->AxisColor = 0xFF0000;
        MonthGraph->TextColor = 0xFF0000;
        MonthGraph->Step = 1.0;
        MonthGraph->MinValue = 0.0;
        MonthGraph->MaxValue = 6.0;
        MonthGraph->MaxCount = 0;
        MonthGraph->MarginLeft = 0;
        MonthGraph->MarginRight = 0;
        MonthGraph->MarginTop = 0;
        MonthGraph->MarginBottom = 0;
        MonthGraph->LineWidth = 1;
        MonthGraph->LineColor = 0x0000FF;
        MonthGraph->Init();

        MonthFeed = Make<TQorMultiElementEx>(MainForm->Control);
        MonthFeed->Mode = 0;
        MonthFeed->MainScheme = this;
        MonthFeed->SetEventCount(2);
        MonthFeed->SetDataCount(1);

        MonthTitleLabel = Make<TQorLabel>(MainForm->Control);
        Configure(MonthTitleLabel, 17, 361, 333, 17);
        SetFontRec("Verdana", 8, 0, MonthTitleLabel->Font, 1, 0x000000);
        MonthTitleLabel->Caption = "График геомагнитной активности за последние 30 дней";
        MonthTitleLabel->SetAutoSize(1);
        MonthTitleLabel->SetAlignment(0);
        MonthTitleLabel->Init();

        DayPlot = Make<TQorPlotter>(MainForm->Control);
        Configure(DayPlot, 15, 272, 336, 82);
        DayPlot->Name = "Plotter";
        DayPlot->SetGrid(8);
        DayPlot->GridColor = 0xC0C0C0;
        DayPlot->AxisColor = 0xFF0000;
        DayPlot->TextColor = 0xFF0000;
        DayPlot->MinY = 0.0;
        DayPlot->MaxY = 8.0;
        DayPlot->MarginLeft = 0;
        DayPlot->MarginRight = 0;
        DayPlot->MarginTop = 0;
        DayPlot->MarginBottom = 0;
        DayPlot->MouseControl = 0;
        DayPlot->Init();

        DayTitleLabel = Make<TQorLabel>(MainForm->Control);
        Configure(DayTitleLabel, 13, 251, 285, 17);
        SetFontRec("Verdana", 8, 0, DayTitleLabel->Font, 1, 0x000000);
        DayTitleLabel->Caption = "Суточная гистограмма геомагнитной активности";
        DayTitleLabel->SetAutoSize(1);
        DayTitleLabel->SetAlignment(0);
        DayTitleLabel->Init();

        DayFeed = Make<TQorMultiElementEx>(MainForm->Control);
        DayFeed->Mode = 0;
        DayFeed->MainScheme = this;
        DayFeed->SetEventCount(1);
        DayFeed->SetDataCount(2);

        LocalHour = Make<TQorMemory>();
        LocalHour->SetDefault(IntData(0));

        // Event links.
        LinkEvent(KpParser->onEvent[3], ResultHub, &TQorHub::doEvent, 0);
        LinkEvent(ResultHub->onEvent[2], MonthFeed, &TQorMultiElementEx::doWork, 0);
        LinkEvent(ResultHub->onEvent[3], DayFeed, &TQorMultiElementEx::doWork, 0);
        LinkEvent(MonthFeed->onEvent[0], MonthGraph, &TQorGrapher::doAdd, 0);
        LinkEvent(MonthFeed->onEvent[1], MonthGraph, &TQorGrapher::doClear, 1);
        LinkEvent(DayFeed->onEvent[0], DayPlot, &TQorPlotter::doClear, 0);

        // Data links.
        LinkData(KpParser->Data[0], LocalPath, &TQorMemory::Value, 0);
        LinkData(MonthFeed->Data[0], KpParser, &TQorMultiElementEx::Var, 0);
        LinkData(DayFeed->Data[0], MonthFeed, &TQorMultiElementEx::Var, 0);
        LinkData(DayFeed->Data[1], LocalHour, &TQorMemory::Value, 1);

        // The instances, in the main scheme's order.
        KpParser->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BA100>);
        MonthFeed->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BAAA0>);
        DayFeed->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BAD60>);
    }

    TPlotterInterface *DayPlotter() override { return DayPlot; }

    TClassMultiElementEx_27BAD60 *Day() const
    {
        return static_cast<TClassMultiElementEx_27BAD60 *>(DayFeed->Current->Scheme);
    }

    // The schedule's parse after a good download, at a local hour.
    void Parse(const std::string &Path, int32_t Hour)
    {
        LocalPath->SetDefault(StrData(Path));
        LocalHour->SetDefault(IntData(Hour));
        TPointLink parse;
        LinkEvent(parse, KpParser, &TQorMultiElementEx::doWork, 0);
        TData d;
        CallEvent(parse, d);
    }
};

bool FileThere(const std::string &Path)
{
    return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

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

} // namespace

struct Charts : ElementTest {};

TEST_F(Charts, TheFeedsFillBothChartsFromTheSampleFile)
{
    TChartsScheme scheme;
    scheme.MainForm->Start();
    scheme.Parse(TERVIK_SAMPLE_DGD, 17);
    Settle();

    // 29 full days and the newest one's first four values.
    EXPECT_EQ(scheme.MonthGraph->Count(), 236);
    EXPECT_EQ(scheme.MonthGraph->Values.back().X, 235.0);
    EXPECT_EQ(scheme.MonthGraph->Values.back().Y, 4.0);

    // Hour 17: the six newest values 4 3 3 2 3 3, oldest first, then one empty bar.
    const THistogramSeries *green = scheme.Day()->GreenBars->Series;
    const THistogramSeries *yellow = scheme.Day()->YellowBars->Series;
    ASSERT_EQ(green->Count(), 7);
    const double greens[] = {3, 3, 2, 3, 3, 0, 0};
    const double yellows[] = {0, 0, 0, 0, 0, 4, 0};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(green->Values[i].Y, greens[i]) << "bar " << i;
        EXPECT_EQ(yellow->Values[i].Y, yellows[i]) << "bar " << i;
    }

    // The yellow 4 at X 12 spans 252..308 under y 41 (X 2..14, Y 0..8 in 336 x 82).
    const Snapshot plot = ScreenPixels(scheme.DayPlot->Control->Handle);
    EXPECT_EQ(plot.At(280, 60), RGB(255, 255, 0));
    EXPECT_EQ(plot.At(280, 41), RGB(128, 128, 128));
    EXPECT_EQ(plot.At(100, 70), RGB(0, 128, 0)) << "the green 2 at X 6, under y 62";
    EXPECT_EQ(plot.At(100, 60), GetSysColor(COLOR_BTNFACE)) << "above it";

    // The newest day's 3 and 3 at X 233 and 234 (pixels 332 and 334 of 335):
    // a level stretch at 105 - 52.5 = 52.
    const Snapshot graph = BitmapPixels(scheme.MonthGraph->Bitmap);
    EXPECT_EQ(graph.At(333, 52), RGB(255, 0, 0));
    EXPECT_NE(graph.At(333, 51), RGB(255, 0, 0));
    StopHooks();
}

struct Screenshot : ElementTest {};

TEST_F(Screenshot, BothChartsFromTheSampleFile)
{
    const char *dir = std::getenv("TERVIK_SHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "run by screenshot.sh";
    const std::string folder = dir;

    TChartsScheme scheme;
    scheme.MainForm->Start();
    scheme.Parse(TERVIK_SAMPLE_DGD, 17);
    UpdateWindow(scheme.MainForm->Control->Handle);
    Settle();

    // Up for the picture: screenshot.sh takes it and then says so.
    std::ofstream(folder + "\\ready").put('1');
    for (int i = 0; i < 300 && !FileThere(folder + "\\done"); ++i) {
        Settle();
        Sleep(100);
    }
    EXPECT_TRUE(FileThere(folder + "\\done")) << "the picture was taken";
    StopHooks();
}
