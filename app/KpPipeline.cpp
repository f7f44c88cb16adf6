#include "KpPipeline.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/TKpExtraction.h"
#include "app/TTrayState.h"
#include "app/TMonthFeed.h"
#include "app/TDayFeed.h"
#include "elements/chart/THistogramSeries.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/chart/TRecordingPlotter.h"
#include "elements/text/TQorStrList.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"

// ---- Stand-ins --------------------------------------------------------------

TKpPipeline::TIconStandIn::TIconStandIn(std::string Name) : Name(std::move(Name)) {}

void TKpPipeline::TIconStandIn::Icon(TData &Data, uint16_t)
{
    Data.dtIcon(reinterpret_cast<winlayer::TWinIcon *>(this));
}

TKpPipeline::TRecorder::TRecorder() : onLevel(3) {}

void TKpPipeline::TRecorder::Forget()
{
    Outcome.Levels.clear();
    Outcome.Values.clear();
    Outcome.Icons.clear();
    Outcome.Hints.clear();
    Outcome.Graph.clear();
    Outcome.GraphClears = 0;
    Outcome.Journal.clear();
}

void TKpPipeline::TRecorder::doLevel(TData &Data, uint16_t Index)
{
    Outcome.Levels.push_back(Index + 1);
    if (KeepJournal)
        Outcome.Journal.push_back("level " + std::to_string(Index + 1));
    if (Index < onLevel.size())
        ForwardSame(Data, onLevel[Index]);
}

void TKpPipeline::TRecorder::doValue(TData &Data, uint16_t)
{
    Outcome.Values.push_back(ToString(Data));
    if (KeepJournal)
        Outcome.Journal.push_back("value " + Outcome.Values.back());
}

void TKpPipeline::TRecorder::doSetIcon(TData &Data, uint16_t)
{
    std::string name = "?";
    for (const TIconStandIn *icon : Known)
        if (IsIcon(Data) && AsIcon(Data) == reinterpret_cast<const winlayer::TWinIcon *>(icon))
            name = icon->Name;
    Outcome.Icons.push_back(name);
    if (KeepJournal)
        Outcome.Journal.push_back("icon " + name);
}

void TKpPipeline::TRecorder::doHint(TData &Data, uint16_t)
{
    Outcome.Hints.push_back(ToString(Data));
    if (KeepJournal)
        Outcome.Journal.push_back("tooltip " + Outcome.Hints.back());
}

void TKpPipeline::TRecorder::doAdd(TData &Data, uint16_t)
{
    Outcome.Graph.push_back(ToString(Data));
    if (KeepJournal)
        Outcome.Journal.push_back("add " + Outcome.Graph.back());
}

void TKpPipeline::TRecorder::doClear(TData &, uint16_t)
{
    Outcome.Graph.clear();
    ++Outcome.GraphClears;
    if (KeepJournal)
        Outcome.Journal.push_back("clear");
}

// ---- The pipeline -----------------------------------------------------------

TKpPipeline::TKpPipeline()
{
    KpParser = Make<TQorMultiElementEx>(nullptr);
    KpParser->Mode = 0;
    KpParser->MainScheme = this;
    KpParser->SetEventCount(4);
    KpParser->SetDataCount(1);

    Recorder = Make<TRecorder>();

    TrayState = Make<TQorMultiElementEx>(nullptr);
    TrayState->Mode = 0;
    TrayState->MainScheme = this;
    TrayState->SetEventCount(2);
    TrayState->SetDataCount(4);

    LocalPath = Make<TQorMemory>();

    IconRed = Make<TIconStandIn>("ICON1");
    IconYellow = Make<TIconStandIn>("ICON2");
    IconGreen = Make<TIconStandIn>("ICON3");
    IconError = Make<TIconStandIn>("ICON4");
    Recorder->Known = {IconRed, IconYellow, IconGreen, IconError};

    ResultHub = Make<TQorHub>();
    ResultHub->SetOutCount(4);

    MonthFeed = Make<TQorMultiElementEx>(nullptr);
    MonthFeed->Mode = 0;
    MonthFeed->MainScheme = this;
    MonthFeed->SetEventCount(2);
    MonthFeed->SetDataCount(1);

    LocalHour = Make<TQorMemory>();
    LocalHour->SetDefault(IntData(0));

    DayPlot = Make<TRecordingPlotter>();
    DayPlot->SetGrid(8);
    DayPlot->MinY = 0.0;
    DayPlot->MaxY = 8.0;

    DayFeed = Make<TQorMultiElementEx>(nullptr);
    DayFeed->Mode = 0;
    DayFeed->MainScheme = this;
    DayFeed->SetEventCount(1);
    DayFeed->SetDataCount(2);

    // Event links.
    LinkEvent(KpParser->onEvent[0], Recorder, &TRecorder::doLevel, 0);
    LinkEvent(Recorder->onLevel[0], TrayState, &TQorMultiElementEx::doWork, 1);
    LinkEvent(KpParser->onEvent[1], Recorder, &TRecorder::doLevel, 1);
    LinkEvent(Recorder->onLevel[1], TrayState, &TQorMultiElementEx::doWork, 2);
    LinkEvent(KpParser->onEvent[2], Recorder, &TRecorder::doLevel, 2);
    LinkEvent(Recorder->onLevel[2], TrayState, &TQorMultiElementEx::doWork, 3);
    LinkEvent(KpParser->onEvent[3], ResultHub, &TQorHub::doEvent, 0);
    LinkEvent(OutcomeLink, TrayState, &TQorMultiElementEx::doWork, 0);
    LinkEvent(TrayState->onEvent[0], Recorder, &TRecorder::doSetIcon, 2);
    LinkEvent(TrayState->onEvent[1], Recorder, &TRecorder::doHint, 4);
    LinkEvent(ResultHub->onEvent[0], Recorder, &TRecorder::doValue, 0);
    LinkEvent(ResultHub->onEvent[2], MonthFeed, &TQorMultiElementEx::doWork, 0);
    LinkEvent(MonthFeed->onEvent[0], Recorder, &TRecorder::doAdd, 0);
    LinkEvent(MonthFeed->onEvent[1], Recorder, &TRecorder::doClear, 1);
    LinkEvent(ResultHub->onEvent[3], DayFeed, &TQorMultiElementEx::doWork, 0);
    LinkEvent(DayFeed->onEvent[0], DayPlot, &TRecordingPlotter::doClear, 0);

    // Data links.
    LinkData(KpParser->Data[0], LocalPath, &TQorMemory::Value, 0);
    LinkData(TrayState->Data[0], IconError, &TIconStandIn::Icon, 0);
    LinkData(TrayState->Data[1], IconGreen, &TIconStandIn::Icon, 0);
    LinkData(TrayState->Data[2], IconYellow, &TIconStandIn::Icon, 0);
    LinkData(TrayState->Data[3], IconRed, &TIconStandIn::Icon, 0);
    LinkData(MonthFeed->Data[0], KpParser, &TQorMultiElementEx::Var, 0);
    LinkData(RecentLink, MonthFeed, &TQorMultiElementEx::Var, 0);
    LinkData(DayFeed->Data[0], MonthFeed, &TQorMultiElementEx::Var, 0);
    LinkData(DayFeed->Data[1], LocalHour, &TQorMemory::Value, 1);

    // The instances, once every link is set, in the main scheme's order.
    KpParser->SetInstanceFactory(NewInstance<TKpExtraction>);
    TrayState->SetInstanceFactory(NewInstance<TTrayState>);
    MonthFeed->SetInstanceFactory(NewInstance<TMonthFeed>);
    DayFeed->SetInstanceFactory(NewInstance<TDayFeed>);
}

TKpExtraction *TKpPipeline::Kp() const
{
    return static_cast<TKpExtraction *>(KpParser->Current->Scheme);
}

TTrayState *TKpPipeline::Tray() const
{
    return static_cast<TTrayState *>(TrayState->Current->Scheme);
}

TMonthFeed *TKpPipeline::Month() const
{
    return static_cast<TMonthFeed *>(MonthFeed->Current->Scheme);
}

TDayFeed *TKpPipeline::Day() const
{
    return static_cast<TDayFeed *>(DayFeed->Current->Scheme);
}

TPlotterInterface *TKpPipeline::DayPlotter()
{
    return DayPlot;
}

// The three series attach red, yellow, green. They advance together, so every
// position has an X in each; a position one of them lacks counts as 0 there.
std::vector<TKpPipeline::TDayBar> TKpPipeline::DayBars() const
{
    const TDayFeed *day = Day();
    const THistogramSeries *green = day->GreenBars->Series;
    const THistogramSeries *yellow = day->YellowBars->Series;
    const THistogramSeries *red = day->RedBars->Series;

    std::vector<double> xs;
    for (const THistogramSeries *series : {green, yellow, red})
        for (const TChartItem &bar : series->Values)
            xs.push_back(bar.X);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    auto heightAt = [](const THistogramSeries *Series, double X) {
        for (const TChartItem &bar : Series->Values)
            if (bar.X == X)
                return bar.Y;
        return 0.0;
    };
    std::vector<TDayBar> bars;
    for (double x : xs)
        bars.push_back({x, heightAt(green, x), heightAt(yellow, x), heightAt(red, x)});
    return bars;
}

void TKpPipeline::Parse(const std::string &Path)
{
    LocalPath->SetDefault(StrData(Path));
    TPointLink parse;
    LinkEvent(parse, KpParser, &TQorMultiElementEx::doWork, 0);
    TData d;
    CallEvent(parse, d);
}

void TKpPipeline::ParseText(const std::string &Content)
{
    Kp()->FileLines->SetStrings(Content);
    Parse(std::string());
}

void TKpPipeline::OutcomeChanged(int32_t State)
{
    CallEventInt(OutcomeLink, State);
}

void TKpPipeline::SetHour(int32_t Hour)
{
    LocalHour->SetDefault(IntData(Hour));
}

std::string TKpPipeline::Recent()
{
    TData answer;
    ReadRaw(answer, RecentLink);
    return ToString(answer);
}

TKpPipeline::TOutcome &TKpPipeline::Outcome()
{
    return Recorder->Outcome;
}
