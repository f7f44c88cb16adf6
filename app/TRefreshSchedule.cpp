#include "app/TRefreshSchedule.h"

#include "elements/io/TQorRegistry.h"
#include "elements/io/TQorTimer.h"
#include "elements/text/TQorDateConvertor.h"
#include "elements/text/TQorIf_else.h"
#include "elements/text/TQorMath.h"
#include "elements/text/TQorTime.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorIndexToChanel.h"
#include "runtime/TQorMemory.h"

// IsFullDay and SubDay take 24 off a sum of 24 or more (a bias east of
// Greenwich late in the day), so that the stored UT hour is always 0 to 23:
// IsNegative.onFalse goes to IsFullDay, whose onFalse goes on to PassHour as
// IsNegative.onFalse would. They are made last, after the elements of the table.
TRefreshSchedule::TRefreshSchedule(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
    : TClassMultiBase(Container, Parent, MainScheme)
{
    MakeEdge(Container, 1, 2);

    HourSwitch = Make<TQorIndexToChanel>();
    HourSwitch->SetCount(24);

    CheckTimer = Make<TQorTimer>();
    CheckTimer->SetInterval(1200000);
    CheckTimer->SetEnable(true);
    CheckTimer->SetAutoStop(0);
    CheckTimer->QueueTicks = 0;

    Clock = Make<TQorTime>();
    Clock->PartSel = 0;
    Clock->Format = "D W:M:Y  h:m:s";

    HourHub = Make<TQorHub>();
    HourHub->SetOutCount(2);

    FetchTrigger = Make<TQorHub>();
    FetchTrigger->SetOutCount(3); // was 2: the cycle's end, after any parse

    IsNegative = Make<TQorIf_else>();
    IsNegative->Type = 1;
    IsNegative->FOp1 = IntData(0);
    IsNegative->FOp2 = IntData(0);

    AddDay = Make<TQorMath>();
    AddDay->OpType = 0;
    AddDay->FOp1 = 24.0;
    AddDay->FOp2 = 0.0;
    AddDay->ResultType = 0;
    AddDay->SetDefault(0.0);
    AddDay->SetAngleMode(0);

    UtHour = Make<TQorMath>();
    UtHour->OpType = 0;
    UtHour->FOp1 = 0.0;
    UtHour->FOp2 = 0.0;
    UtHour->ResultType = 0;
    UtHour->SetDefault(0.0);
    UtHour->SetAngleMode(0);

    PassHour = Make<TQorDoData>();
    PassHour->FData = IntData(0);

    HourStore = Make<TQorMemory>();
    HourStore->SetDefault(IntData(0));

    IsLedOn = Make<TQorIf_else>();
    IsLedOn->Type = 0;
    IsLedOn->FOp2 = IntData(1);

    RetryTimer = Make<TQorTimer>();
    RetryTimer->SetInterval(60000);
    RetryTimer->SetEnable(false);
    RetryTimer->SetAutoStop(0);
    RetryTimer->QueueTicks = 0;

    ParseHub = Make<TQorHub>();
    ParseHub->SetOutCount(2);

    BiasReader = Make<TQorRegistry>();
    BiasReader->Root = 2;
    BiasReader->FKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";
    BiasReader->FValueName = "ActiveTimeBias";
    BiasReader->DataType = 0;
    BiasReader->SuccessOnly = 0;

    BiasHours = Make<TQorMath>();
    BiasHours->OpType = 3;
    BiasHours->FOp1 = 0.0;
    BiasHours->FOp2 = 60.0;
    BiasHours->ResultType = 0;
    BiasHours->SetDefault(0.0);
    BiasHours->SetAngleMode(0);

    MinuteReader = Make<TQorDateConvertor>();
    MinuteReader->Mode = 0;
    MinuteReader->Format = "HHmm";

    LateHalf = Make<TQorIf_else>();
    LateHalf->Type = 2;
    LateHalf->FOp1 = IntData(0);
    LateHalf->FOp2 = IntData(30);

    IsFullDay = Make<TQorIf_else>();
    IsFullDay->Type = 4;
    IsFullDay->FOp1 = IntData(0);
    IsFullDay->FOp2 = IntData(24);

    SubDay = Make<TQorMath>();
    SubDay->OpType = 1;
    SubDay->FOp1 = 0.0;
    SubDay->FOp2 = 24.0;
    SubDay->ResultType = 0;
    SubDay->SetDefault(0.0);
    SubDay->SetAngleMode(0);

    // Event links.
    LinkEvent(Edge->onEvent[0], BiasReader, &TQorRegistry::doRead, 0);
    for (int hour = 0; hour < 24; hour += 3)
        LinkEvent(HourSwitch->onEvent[hour], FetchTrigger, &TQorHub::doEvent, 0);
    LinkEvent(CheckTimer->onTimer, MinuteReader, &TQorDateConvertor::doDecode, 0);
    // HourHub.onEvent[0] -> UtHour.doAdd stays out: at start and on a retry it
    // sent an hour that is a multiple of 3 through HourSwitch to FetchTrigger,
    // and onEvent[1] then downloaded a second time. One trigger, one download.
    LinkEvent(HourHub->onEvent[1], FetchTrigger, &TQorHub::doEvent, 0);
    LinkEvent(FetchTrigger->onEvent[0], Edge, &TQorEditMultiEx::doWork, 0);
    LinkEvent(FetchTrigger->onEvent[1], IsLedOn, &TQorIf_else::doCompare, 0);
    LinkEvent(FetchTrigger->onEvent[2], Edge, &TQorEditMultiEx::doWork, 2);
    LinkEvent(IsNegative->onTrue, AddDay, &TQorMath::doAdd, 0);
    LinkEvent(IsNegative->onFalse, IsFullDay, &TQorIf_else::doCompare, 0);
    LinkEvent(AddDay->onResult, HourStore, &TQorMemory::doValue, 0);
    LinkEvent(UtHour->onResult, IsNegative, &TQorIf_else::doCompare, 0);
    LinkEvent(PassHour->onEventData, HourStore, &TQorMemory::doValue, 0);
    LinkEvent(HourStore->onData, HourSwitch, &TQorIndexToChanel::doEvent, 0);
    LinkEvent(IsLedOn->onTrue, ParseHub, &TQorHub::doEvent, 0);
    LinkEvent(IsLedOn->onFalse, RetryTimer, &TQorTimer::doStart, 0);
    LinkEvent(RetryTimer->onTimer, HourHub, &TQorHub::doEvent, 1);
    LinkEvent(ParseHub->onEvent[0], Edge, &TQorEditMultiEx::doWork, 1);
    LinkEvent(ParseHub->onEvent[1], RetryTimer, &TQorTimer::doStop, 1);
    LinkEvent(BiasReader->onRead, BiasHours, &TQorMath::doDiv, 0);
    LinkEvent(BiasHours->onResult, HourHub, &TQorHub::doEvent, 0);
    LinkEvent(MinuteReader->onResult, LateHalf, &TQorIf_else::doCompare, 0);
    LinkEvent(LateHalf->onTrue, UtHour, &TQorMath::doAdd, 0);
    LinkEvent(IsFullDay->onTrue, SubDay, &TQorMath::doSub, 0);
    LinkEvent(IsFullDay->onFalse, PassHour, &TQorDoData::doData, 0);
    LinkEvent(SubDay->onResult, HourStore, &TQorMemory::doValue, 0);

    // Data links.
    LinkData(Edge->Data[0], Clock, &TQorTime::Now, 1);
    LinkData(Edge->Data[1], Clock, &TQorTime::Part, 2);
    LinkData(HourSwitch->Data, HourStore, &TQorMemory::Value, 0);
    LinkData(IsNegative->Op1, UtHour, &TQorMath::Result, 0);
    LinkData(AddDay->Op2, UtHour, &TQorMath::Result, 0);
    LinkData(UtHour->Op1, BiasHours, &TQorMath::Result, 0);
    LinkData(UtHour->Op2, Clock, &TQorTime::Part, 2);
    LinkData(PassHour->Data, UtHour, &TQorMath::Result, 0);
    LinkData(IsLedOn->Op1, Edge, &TQorEditMultiEx::Var, 0);
    LinkData(MinuteReader->DateTime, Clock, &TQorTime::Now, 1);
    LinkData(LateHalf->Op1, MinuteReader, &TQorDateConvertor::Minute, 1);
    LinkData(IsFullDay->Op1, UtHour, &TQorMath::Result, 0);
    LinkData(SubDay->Op1, UtHour, &TQorMath::Result, 0);
}
