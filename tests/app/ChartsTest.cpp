// Both charts of the main form filled by the real feeds from the sample
// DGD.txt, wired as the main scheme wires them, under Wine, for a screenshot:
// the test runs only under screenshot.sh (TERVIK_SHOT_DIR set). The end-to-end
// tests read the same charts' pixels from the real program.
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/TClassMultiElementEx_27BA100.h"
#include "app/TClassMultiElementEx_27BAAA0.h"
#include "app/TClassMultiElementEx_27BAD60.h"
#include "app/TDayPlotOwner.h"
#include "elements/chart/TQorGrapher.h"
#include "elements/chart/TQorPlotter.h"
#include "elements/win/WinTestKit.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"

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
    TQorGrapher *MonthGraph;
    TQorPlotter *DayPlot;
    TQorMemory *LocalHour;

    TChartsScheme()
    {
        MainForm = Make<TQorMainForm>(nullptr);
        Configure(MainForm, 20, 20, 382, 530, 1);
        MainForm->SetCaption("Tervik v4");
        MainForm->SetBorderStyle(2);
        MainForm->Init();

        KpParser = Container(4, 1);

        LocalPath = Make<TQorMemory>();

        auto *resultHub = Make<TQorHub>();
        resultHub->SetOutCount(4);

        MonthGraph = Make<TQorGrapher>(MainForm->Control);
        Configure(MonthGraph, 17, 379, 335, 105);
        MonthGraph->SetGrid(6);
        MonthGraph->GridColor = 0xC0C0C0;
        MonthGraph->AxisColor = 0xFF0000;
        MonthGraph->TextColor = 0xFF0000;
        MonthGraph->Step = 1.0;
        MonthGraph->MaxValue = 6.0;
        MonthGraph->LineWidth = 1;
        MonthGraph->LineColor = 0x0000FF;
        MonthGraph->Init();

        auto *monthFeed = Container(2, 1);

        DayPlot = Make<TQorPlotter>(MainForm->Control);
        Configure(DayPlot, 15, 272, 336, 82);
        DayPlot->SetGrid(8);
        DayPlot->GridColor = 0xC0C0C0;
        DayPlot->AxisColor = 0xFF0000;
        DayPlot->TextColor = 0xFF0000;
        DayPlot->MaxY = 8.0;
        DayPlot->Init();

        auto *dayFeed = Container(1, 2);

        LocalHour = Make<TQorMemory>();

        // Event links.
        LinkEvent(KpParser->onEvent[3], resultHub, &TQorHub::doEvent, 0);
        LinkEvent(resultHub->onEvent[2], monthFeed, &TQorMultiElementEx::doWork, 0);
        LinkEvent(resultHub->onEvent[3], dayFeed, &TQorMultiElementEx::doWork, 0);
        LinkEvent(monthFeed->onEvent[0], MonthGraph, &TQorGrapher::doAdd, 0);
        LinkEvent(monthFeed->onEvent[1], MonthGraph, &TQorGrapher::doClear, 1);
        LinkEvent(dayFeed->onEvent[0], DayPlot, &TQorPlotter::doClear, 0);

        // Data links.
        LinkData(KpParser->Data[0], LocalPath, &TQorMemory::Value, 0);
        LinkData(monthFeed->Data[0], KpParser, &TQorMultiElementEx::Var, 0);
        LinkData(dayFeed->Data[0], monthFeed, &TQorMultiElementEx::Var, 0);
        LinkData(dayFeed->Data[1], LocalHour, &TQorMemory::Value, 1);

        // The instances, in the main scheme's order.
        KpParser->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BA100>);
        monthFeed->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BAAA0>);
        dayFeed->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BAD60>);
    }

    TQorMultiElementEx *Container(int32_t Events, int32_t Data)
    {
        TQorMultiElementEx *container = Make<TQorMultiElementEx>(MainForm->Control);
        container->MainScheme = this;
        container->SetEventCount(Events);
        container->SetDataCount(Data);
        return container;
    }

    TPlotterInterface *DayPlotter() override { return DayPlot; }

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

} // namespace

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
    const std::string done = folder + "\\done";
    bool taken = false;
    for (int i = 0; i < 300 && !taken; ++i) {
        Settle();
        Sleep(100);
        taken = GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    EXPECT_TRUE(taken) << "the picture was taken";
    StopHooks();
}
