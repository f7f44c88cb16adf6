// The daily histogram feed: the real sub-scheme in a real container, wired as
// the main scheme wires it, drawing on a recording plotter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TDayFeed.h"
#include "app/TDayPlotOwner.h"
#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TRecordingPlotter.h"
#include "runtime/RuntimeTestKit.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"

using namespace testkit;

namespace {

// Tells how many series were still attached when it was freed.
int SeriesLeftAtFree = -1;
struct TProbedPlotter : TRecordingPlotter {
    ~TProbedPlotter() override { SeriesLeftAtFree = SeriesCount(); }
};

// The part of the main scheme around DayFeed: DayPlot made before it, the
// recent-values string (MonthFeed.Var[0]) and the local hour (Schedule.Var[1])
// as memories.
struct TDayFeedScheme : TScheme, TDayPlotOwner {
    TProbedPlotter *DayPlot = Make<TProbedPlotter>();
    TQorMemory *Recent = Make<TQorMemory>();
    TQorMemory *Hour = Make<TQorMemory>();
    TQorMultiElementEx *DayFeed = Make<TQorMultiElementEx>(nullptr);
    TPointLink Refill; // stands for ResultHub.onEvent[3]

    TDayFeedScheme()
    {
        DayPlot->SetGrid(8);
        DayPlot->MinY = 0.0;
        DayPlot->MaxY = 8.0;
        DayFeed->Mode = 0;
        DayFeed->MainScheme = this;
        DayFeed->SetEventCount(1);
        DayFeed->SetDataCount(2);
        LinkEvent(Refill, DayFeed, &TQorMultiElementEx::doWork, 0);
        LinkEvent(DayFeed->onEvent[0], DayPlot, &TRecordingPlotter::doClear, 0);
        LinkData(DayFeed->Data[0], Recent, &TQorMemory::Value, 0);
        LinkData(DayFeed->Data[1], Hour, &TQorMemory::Value, 1);
        DayFeed->SetInstanceFactory(NewInstance<TDayFeed>);
    }
    TPlotterInterface *DayPlotter() override { return DayPlot; }

    void RefillWith(const std::string &RecentValues, int32_t LocalHour)
    {
        Recent->SetDefault(StrData(RecentValues));
        Hour->SetDefault(IntData(LocalHour));
        TData d = StrData("3"); // the Kp value; the feed does not use it
        CallEvent(Refill, d);
    }
};

// The bars, oldest first: "-" for a position without height, else the colour
// letter (by the series' fill) and height of each bar there.
std::string Bars(const TDayFeedScheme &Scheme)
{
    EXPECT_EQ(Scheme.DayPlot->SeriesCount(), 3);
    const TSeries *first = Scheme.DayPlot->SeriesAt(0);
    std::vector<std::string> bars(static_cast<size_t>(first->Count()));
    for (int32_t i = 0; i < 3; ++i) {
        const TSeries *s = Scheme.DayPlot->SeriesAt(i);
        const uint32_t fill = static_cast<const THistogramSeries *>(s)->FillColor;
        const char colour = fill == 0x008000 ? 'g' : fill == 0x00FFFF ? 'y' : fill == 0x0000FF ? 'r' : '?';
        EXPECT_EQ(s->Count(), first->Count()) << "the three series advance together";
        for (size_t at = 0; at < bars.size() && at < static_cast<size_t>(s->Count()); ++at) {
            EXPECT_EQ(s->Values[at].X, 2.0 + 2.0 * static_cast<double>(at)) << "series " << i << ", bar " << at;
            if (s->Values[at].Y != 0.0)
                bars[at] += colour + std::to_string(static_cast<int>(s->Values[at].Y));
        }
    }
    std::string out;
    for (const std::string &bar : bars)
        out += (out.empty() ? "" : " ") + (bar.empty() ? "-" : bar);
    return out;
}

} // namespace

TEST(DayFeed, BarsOfTheIntervalsPassedThenEmptyBars)
{
    StartedAs notYet(false);
    struct Case {
        const char *What;
        std::string Recent;
        int32_t Hour;
        std::string Bars;
    } cases[] = {
        {"hour 0: seven empty bars", "352411", 0, "- - - - - - -"},
        {"hour 1: seven empty bars", "352411", 1, "- - - - - - -"},
        {"hour 14: five bars, oldest first, then two empty", "352411", 14, "g1 y4 g2 r5 g3 - -"},
        {"hour 23: eight bars and no empty one", "98765432100", 23, "g2 g3 y4 r5 r6 r7 r8 r9"},
        {"recent values shorter than k: all of them, then empty bars", "42", 23, "g2 y4 - - - - -"},
    };
    for (const Case &c : cases) {
        TDayFeedScheme scheme;
        Running on;
        scheme.RefillWith(c.Recent, c.Hour);
        EXPECT_EQ(Bars(scheme), c.Bars) << c.What;
    }
}

TEST(DayFeed, EachRefillStartsFromAClearedPlotAndTheSeriesGoBackThroughThePlotterWhenTheSchemeGoes)
{
    StartedAs notYet(false);
    auto *scheme = new TDayFeedScheme;
    {
        Running on;
        EXPECT_EQ(scheme->DayPlot->Repaints, 0) << "nothing is drawn while the scheme is built";
        scheme->RefillWith("1234", 14);
        EXPECT_EQ(scheme->DayPlot->Repaints, 1 + 7 * 3) << "the clear, then one repaint per series per bar";
        scheme->RefillWith("9", 20);
        EXPECT_EQ(Bars(*scheme), "r9 - - - - - -") << "no bar of the earlier refill is left";
        // An empty recent-values string: the plot is cleared and stays empty.
        scheme->RefillWith("", 14);
        EXPECT_EQ(Bars(*scheme), "");
    }
    ASSERT_EQ(scheme->DayPlot->SeriesCount(), 3);
    SeriesLeftAtFree = -1;
    delete scheme;
    EXPECT_EQ(SeriesLeftAtFree, 0) << "the container went first and its bar elements took their series back";
}
