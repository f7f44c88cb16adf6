#include "TDayFeed.h"

#include "app/TDayPlotOwner.h"
#include "elements/chart/TQorPlotHistogram.h"
#include "elements/text/TQorCopy.h"
#include "elements/text/TQorIf_else.h"
#include "elements/text/TQorMath.h"
#include "elements/text/TQorStr_Enum.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorFor.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"

TDayFeed::TDayFeed(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
    : TClassMultiBase(Container, Parent, MainScheme)
{
    MakeEdge(Container, 1, 0);

    DayChars = Make<TQorStr_Enum>();
    DayChars->Delimiter = "";
    DayChars->Start = 1;
    DayChars->End = -1;
    DayChars->BreakEvent = 0;
    DayChars->Direction = 1;

    PadLoop = Make<TQorFor>();
    PadLoop->FStart = 1;
    PadLoop->FEnd = 8;
    PadLoop->Step = 1;
    PadLoop->IncludeEnd = 0;
    PadLoop->InData = 0;

    ZeroBar = Make<TQorDoData>();
    ZeroBar->FData = IntData(0);

    DayHub = Make<TQorHub>();
    DayHub->SetOutCount(3);

    IsLowBar = Make<TQorIf_else>();
    IsLowBar->Type = 3;
    IsLowBar->FOp2 = IntData(3);

    IsMiddleBar = Make<TQorIf_else>();
    IsMiddleBar->Type = 1;
    IsMiddleBar->FOp2 = IntData(5);

    RedBars = Make<TQorPlotHistogram>();
    RedBars->FillColor = 0x0000FF;
    RedBars->Color = 0x808080;
    RedBars->HalfWidth = 1;
    RedBars->MaxCount = 9;
    RedBars->Step = 2.0;
    RedBars->StartX = 2.0;

    YellowBars = Make<TQorPlotHistogram>();
    YellowBars->FillColor = 0x00FFFF;
    YellowBars->Color = 0x808080;
    YellowBars->HalfWidth = 1;
    YellowBars->MaxCount = 9;
    YellowBars->Step = 2.0;
    YellowBars->StartX = 2.0;

    GreenBars = Make<TQorPlotHistogram>();
    GreenBars->FillColor = 0x008000;
    GreenBars->Color = 0x808080;
    GreenBars->HalfWidth = 1;
    GreenBars->MaxCount = 9;
    GreenBars->Step = 2.0;
    GreenBars->StartX = 2.0;

    AddHub = Make<TQorHub>();
    AddHub->SetOutCount(3);

    GreenValue = Make<TQorMemory>();
    GreenValue->SetDefault(TData());

    YellowValue = Make<TQorMemory>();
    YellowValue->SetDefault(TData());

    RedValue = Make<TQorMemory>();
    RedValue->SetDefault(TData());

    BarHub = Make<TQorHub>();
    BarHub->SetOutCount(3);

    SlotCount = Make<TQorMath>();
    SlotCount->OpType = 3;
    SlotCount->FOp1 = 0.0;
    SlotCount->FOp2 = 3.0;
    SlotCount->ResultType = 0;

    DayValues = Make<TQorCopy>();
    DayValues->FPosition = 1;
    DayValues->FCount = 16;
    DayValues->Direction = 0;

    DayStore = Make<TQorMemory>();
    DayStore->SetDefault(TData());

    // Event links.
    LinkEvent(Edge->onEvent[0], DayHub, &TQorHub::doEvent, 0);
    LinkEvent(DayChars->onEnum, BarHub, &TQorHub::doEvent, 0);
    LinkEvent(DayChars->onEndEnum, PadLoop, &TQorFor::doFor, 0);
    LinkEvent(PadLoop->onEvent, ZeroBar, &TQorDoData::doData, 0);
    LinkEvent(ZeroBar->onEventData, BarHub, &TQorHub::doEvent, 1);
    LinkEvent(DayHub->onEvent[0], Edge, &TQorEditMultiEx::doWork, 0);
    LinkEvent(DayHub->onEvent[1], SlotCount, &TQorMath::doDiv, 0);
    LinkEvent(DayHub->onEvent[2], DayValues, &TQorCopy::doCopy, 0);
    LinkEvent(IsLowBar->onTrue, GreenValue, &TQorMemory::doValue, 0);
    LinkEvent(IsLowBar->onFalse, IsMiddleBar, &TQorIf_else::doCompare, 0);
    LinkEvent(IsMiddleBar->onTrue, YellowValue, &TQorMemory::doValue, 0);
    LinkEvent(IsMiddleBar->onFalse, RedValue, &TQorMemory::doValue, 0);
    LinkEvent(AddHub->onEvent[0], GreenBars, &TQorPlotHistogram::doAdd, 0);
    LinkEvent(AddHub->onEvent[1], YellowBars, &TQorPlotHistogram::doAdd, 0);
    LinkEvent(AddHub->onEvent[2], RedBars, &TQorPlotHistogram::doAdd, 0);
    LinkEvent(GreenValue->onData, YellowValue, &TQorMemory::doClear, 1);
    LinkEvent(YellowValue->onData, RedValue, &TQorMemory::doClear, 1);
    LinkEvent(BarHub->onEvent[0], GreenValue, &TQorMemory::doClear, 1);
    LinkEvent(BarHub->onEvent[1], IsLowBar, &TQorIf_else::doCompare, 0);
    LinkEvent(BarHub->onEvent[2], AddHub, &TQorHub::doEvent, 0);
    LinkEvent(DayValues->onCopy, DayStore, &TQorMemory::doValue, 0);
    LinkEvent(DayStore->onData, DayChars, &TQorStr_Enum::doEnumBack, 0);

    // Data links.
    LinkData(DayChars->Str, DayStore, &TQorMemory::Value, 0);
    LinkData(PadLoop->Start, DayChars, &TQorStr_Enum::Number, 0);
    LinkData(RedBars->ValueY, RedValue, &TQorMemory::Value, 0);
    LinkData(YellowBars->ValueY, YellowValue, &TQorMemory::Value, 0);
    LinkData(GreenBars->ValueY, GreenValue, &TQorMemory::Value, 0);
    LinkData(SlotCount->Op1, Edge, &TQorEditMultiEx::Var, 1);
    LinkData(DayValues->Str, Edge, &TQorEditMultiEx::Var, 0);
    LinkData(DayValues->Count, SlotCount, &TQorMath::Result, 0);

    // The bar series go onto the main scheme's DayPlot.
    TDayPlotOwner *owner = dynamic_cast<TDayPlotOwner *>(MainScheme);
    TPlotterInterface *dayPlot = owner ? owner->DayPlotter() : nullptr;
    RedBars->AttachTo(dayPlot);
    RedBars->Baseline = nullptr;
    YellowBars->AttachTo(dayPlot);
    YellowBars->Baseline = nullptr;
    GreenBars->AttachTo(dayPlot);
    GreenBars->Baseline = nullptr;
}
