// The daily histogram feed: the real sub-scheme in a real container, wired as
// the main scheme wires it, drawing on a recording plotter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/TClassMultiElementEx_27BAD60.h"
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

constexpr uint32_t Green = 0x008000;
constexpr uint32_t Yellow = 0x00FFFF;
constexpr uint32_t Red = 0x0000FF;

// Tells how many series were still attached when it was freed.
int SeriesLeftAtFree = -1;
struct TProbedPlotter : TRecordingPlotter {
    ~TProbedPlotter() override { SeriesLeftAtFree = SeriesCount(); }
};

// The part of the main scheme around DayFeed: DayPlot made before it, the
// recent-values string (MonthFeed.Var[0]) and the local hour (Schedule.Var[1])
// as memories.
class TDayFeedScheme : public TScheme, public TDayPlotOwner {
public:
    TProbedPlotter *DayPlot;
    TQorMemory *Recent;
    TQorMemory *Hour;
    TQorMultiElementEx *DayFeed;
    TPointLink Refill; // stands for ResultHub.onEvent[3]

    TDayFeedScheme()
    {
        DayPlot = Make<TProbedPlotter>();
        DayPlot->SetGrid(8);
        DayPlot->MinY = 0.0;
        DayPlot->MaxY = 8.0;

        Recent = Make<TQorMemory>();
        Recent->SetDefault(StrData(""));

        Hour = Make<TQorMemory>();
        Hour->SetDefault(IntData(0));

        DayFeed = Make<TQorMultiElementEx>(nullptr);
        DayFeed->Mode = 0;
        DayFeed->MainScheme = this;
        DayFeed->SetEventCount(1);
        DayFeed->SetDataCount(2);

        LinkEvent(Refill, DayFeed, &TQorMultiElementEx::doWork, 0);
        LinkEvent(DayFeed->onEvent[0], DayPlot, &TRecordingPlotter::doClear, 0);
        LinkData(DayFeed->Data[0], Recent, &TQorMemory::Value, 0);
        LinkData(DayFeed->Data[1], Hour, &TQorMemory::Value, 1);

        DayFeed->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BAD60>);
    }

    TPlotterInterface *DayPlotter() override { return DayPlot; }

    TClassMultiElementEx_27BAD60 *Feed() const
    {
        return static_cast<TClassMultiElementEx_27BAD60 *>(DayFeed->Current->Scheme);
    }

    void RefillWith(const std::string &RecentValues, int32_t LocalHour)
    {
        Recent->SetDefault(StrData(RecentValues));
        Hour->SetDefault(IntData(LocalHour));
        TData d = StrData("3"); // the Kp value; the feed does not use it
        CallEvent(Refill, d);
    }
};

// One bar position: its X and the heights of the green, yellow and red bars.
struct Bar {
    double X;
    double Green, Yellow, Red;
    bool operator==(const Bar &o) const
    {
        return X == o.X && Green == o.Green && Yellow == o.Yellow && Red == o.Red;
    }
};

std::ostream &operator<<(std::ostream &os, const Bar &b)
{
    return os << "{x " << b.X << ": g " << b.Green << ", y " << b.Yellow << ", r " << b.Red << "}";
}

// The series attach as red, yellow, green; they advance together.
std::vector<Bar> Bars(const TDayFeedScheme &Scheme)
{
    const TSeries *red = Scheme.DayPlot->SeriesAt(0);
    const TSeries *yellow = Scheme.DayPlot->SeriesAt(1);
    const TSeries *green = Scheme.DayPlot->SeriesAt(2);
    std::vector<Bar> out;
    EXPECT_EQ(red->Count(), green->Count()) << "the three series advance together";
    EXPECT_EQ(yellow->Count(), green->Count());
    for (int32_t i = 0; i < green->Count(); ++i) {
        const size_t at = static_cast<size_t>(i);
        EXPECT_EQ(red->Values[at].X, green->Values[at].X);
        EXPECT_EQ(yellow->Values[at].X, green->Values[at].X);
        out.push_back({green->Values[at].X, green->Values[at].Y, yellow->Values[at].Y, red->Values[at].Y});
    }
    return out;
}

std::vector<Bar> Expected(const std::vector<std::pair<double, uint32_t>> &Heights)
{
    std::vector<Bar> out;
    double x = 2.0;
    for (const auto &h : Heights) {
        out.push_back({x, h.second == Green ? h.first : 0.0, h.second == Yellow ? h.first : 0.0,
                       h.second == Red ? h.first : 0.0});
        x += 2.0;
    }
    return out;
}

std::vector<std::pair<double, uint32_t>> Empty(int Count)
{
    return std::vector<std::pair<double, uint32_t>>(static_cast<size_t>(Count), {0.0, Green});
}

std::vector<std::pair<double, uint32_t>> operator+(std::vector<std::pair<double, uint32_t>> A,
                                                   const std::vector<std::pair<double, uint32_t>> &B)
{
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

} // namespace

TEST(DayFeed, AttachesRedYellowGreenBarsToTheMainSchemesPlotter)
{
    StartedAs notYet(false);
    TDayFeedScheme scheme;
    TClassMultiElementEx_27BAD60 *feed = scheme.Feed();
    ASSERT_EQ(scheme.DayPlot->SeriesCount(), 3);
    EXPECT_EQ(scheme.DayPlot->SeriesAt(0), feed->RedBars->Series);
    EXPECT_EQ(scheme.DayPlot->SeriesAt(1), feed->YellowBars->Series);
    EXPECT_EQ(scheme.DayPlot->SeriesAt(2), feed->GreenBars->Series);

    const struct {
        TQorPlotHistogram *Element;
        uint32_t Fill;
    } bars[] = {{feed->RedBars, Red}, {feed->YellowBars, Yellow}, {feed->GreenBars, Green}};
    for (const auto &b : bars) {
        const THistogramSeries *s = b.Element->Series;
        EXPECT_EQ(s->Plotter, scheme.DayPlot);
        EXPECT_EQ(s->FillColor, b.Fill);
        EXPECT_EQ(s->Color, 0x808080u);
        EXPECT_EQ(s->HalfWidth, 1);
        EXPECT_EQ(s->MaxCount, 9);
        EXPECT_EQ(s->StartX, 2.0);
        ASSERT_EQ(s->Baseline, &b.Element->Baseline);
        EXPECT_EQ(*s->Baseline, nullptr) << "bars stand on the bottom of the plot";
        EXPECT_EQ(b.Element->Step, 2.0);
        EXPECT_EQ(s->Count(), 0);
    }
    EXPECT_EQ(scheme.DayPlot->Repaints, 0) << "nothing is drawn while the scheme is built";
}

TEST(DayFeed, WithoutAPlotterTheBarsStayUnattached)
{
    StartedAs notYet(false);
    TScheme plain;
    auto *container = plain.Make<TQorMultiElementEx>(nullptr);
    container->MainScheme = &plain;
    container->SetEventCount(1);
    container->SetDataCount(2);
    container->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BAD60>);
    auto *feed = static_cast<TClassMultiElementEx_27BAD60 *>(container->Current->Scheme);
    EXPECT_EQ(feed->RedBars->Series->Plotter, nullptr);
    EXPECT_EQ(feed->GreenBars->Plotter, nullptr);
}

TEST(DayFeed, BarsOfTheIntervalsPassedThenEmptyBars)
{
    StartedAs notYet(false);
    struct Case {
        const char *What;
        std::string Recent;
        int32_t Hour;
        std::vector<std::pair<double, uint32_t>> Bars;
    } cases[] = {
        {"hour 0: seven empty bars", "352411", 0, Empty(7)},
        {"hour 1: seven empty bars", "352411", 1, Empty(7)},
        {"hour 2: one bar", "352411", 2, std::vector<std::pair<double, uint32_t>>{{3, Green}} + Empty(6)},
        {"hour 14: five bars, oldest first, then two empty", "352411", 14,
         std::vector<std::pair<double, uint32_t>>{{1, Green}, {4, Yellow}, {2, Green}, {5, Red}, {3, Green}} +
             Empty(2)},
        {"hour 23: eight bars and no empty one", "98765432100", 23,
         {{2, Green}, {3, Green}, {4, Yellow}, {5, Red}, {6, Red}, {7, Red}, {8, Red}, {9, Red}}},
        {"a red bar taller than the plot", "9", 2, std::vector<std::pair<double, uint32_t>>{{9, Red}} + Empty(6)},
        {"a yellow bar of height 4", "4", 4, std::vector<std::pair<double, uint32_t>>{{4, Yellow}} + Empty(6)},
        {"recent values shorter than k: all of them, then empty bars", "42", 23,
         std::vector<std::pair<double, uint32_t>>{{2, Green}, {4, Yellow}} + Empty(5)},
        {"a zero value is a green bar without height", "0", 5,
         std::vector<std::pair<double, uint32_t>>{{0, Green}} + Empty(6)},
    };
    for (const Case &c : cases) {
        TDayFeedScheme scheme;
        Running on;
        scheme.RefillWith(c.Recent, c.Hour);
        EXPECT_EQ(Bars(scheme), Expected(c.Bars)) << c.What;
    }
}

TEST(DayFeed, IntervalCountFollowsTheLocalHour)
{
    StartedAs notYet(false);
    const int valueBars[24] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8};
    TDayFeedScheme scheme;
    Running on;
    for (int32_t hour = 0; hour < 24; ++hour) {
        scheme.RefillWith("55555555555", hour);
        const std::vector<Bar> bars = Bars(scheme);
        int withHeight = 0;
        for (const Bar &b : bars)
            withHeight += b.Red == 5.0 ? 1 : 0;
        EXPECT_EQ(withHeight, valueBars[hour]) << "hour " << hour;
        EXPECT_EQ(bars.size(), hour == 23 ? 8u : 7u) << "hour " << hour;
    }
}

TEST(DayFeed, EachRefillStartsFromAClearedPlot)
{
    StartedAs notYet(false);
    TDayFeedScheme scheme;
    Running on;
    scheme.RefillWith("1234", 14);
    EXPECT_EQ(scheme.DayPlot->Repaints, 1 + 7 * 3) << "the clear, then one repaint per series per bar";
    scheme.RefillWith("9", 20);
    EXPECT_EQ(Bars(scheme), Expected(std::vector<std::pair<double, uint32_t>>{{9, Red}} + Empty(6)))
        << "no bar of the earlier refill is left";

    // An empty recent-values string: the plot is cleared and stays empty.
    scheme.RefillWith("", 14);
    EXPECT_TRUE(Bars(scheme).empty());
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_EQ(scheme.DayPlot->SeriesAt(i)->Count(), 0);
}

TEST(DayFeed, FreesItsSeriesThroughThePlotterWhenTheSchemeGoes)
{
    StartedAs notYet(false);
    auto *scheme = new TDayFeedScheme;
    {
        Running on;
        scheme->RefillWith("123", 12);
    }
    ASSERT_EQ(scheme->DayPlot->SeriesCount(), 3);
    SeriesLeftAtFree = -1;
    delete scheme;
    EXPECT_EQ(SeriesLeftAtFree, 0) << "the container went first and its bar elements took their series back";
}
