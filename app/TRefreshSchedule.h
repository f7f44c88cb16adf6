#pragma once
#include "runtime/TClassMultiBase.h"

class TQorIndexToChanel;
class TQorTimer;
class TQorTime;
class TQorHub;
class TQorIf_else;
class TQorMath;
class TQorDoData;
class TQorMemory;
class TQorRegistry;
class TQorDateConvertor;

// The refresh schedule (container Schedule of the main scheme): downloads once at
// start, in the second half of every third hour of Universal Time, and every
// minute after a failed download until one succeeds; the hour is turned into
// Universal Time with the time-zone bias read once at start.
//
// At start and on every retry tick the download runs once, whatever the hour;
// the UT hour is computed only for the twenty-minute check.
//
// Outer points: doWork[0] start; onEvent[0] download now; onEvent[1] parse;
// onEvent[2] the cycle is done (after any parse, whatever the outcome);
// Data[0] the download outcome (1 succeeded); Var[0] local date-time; Var[1]
// local hour.
class TRefreshSchedule : public TClassMultiBase {
public:
    TRefreshSchedule(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme);

    TQorIndexToChanel *HourSwitch;
    TQorTimer *CheckTimer;
    TQorTime *Clock;
    TQorHub *HourHub;
    TQorHub *FetchTrigger;
    TQorIf_else *IsNegative;
    TQorMath *AddDay;
    TQorMath *UtHour;
    TQorDoData *PassHour;
    TQorMemory *HourStore;
    TQorIf_else *IsLedOn;
    TQorTimer *RetryTimer;
    TQorHub *ParseHub;
    TQorRegistry *BiasReader;
    TQorMath *BiasHours;
    TQorDateConvertor *MinuteReader;
    TQorIf_else *LateHalf;
    TQorIf_else *IsFullDay;
    TQorMath *SubDay;
};
