#pragma once
#include "runtime/TClassMultiBase.h"

class TQorCopy;
class TQorDoData;
class TQorFor;
class TQorHub;
class TQorIf_else;
class TQorMath;
class TQorMemory;
class TQorPlotHistogram;
class TQorStr_Enum;

// Daily histogram feed (container DayFeed). Clears the plot, then adds one bar
// for each 3-hour interval of the local day that has passed, from the newest
// recent values, coloured by level, and pads the day with empty bars. Its three
// bar series draw on the main scheme's DayPlot (see TDayPlotOwner).
//   doWork[0]   refill now (its data is not used)
//   Data[0]     the recent-values string, newest first
//   Data[1]     the local hour, 0 to 23
//   onEvent[0]  clear the plot
class TDayFeed : public TClassMultiBase {
public:
    TQorStr_Enum *DayChars;
    TQorFor *PadLoop;
    TQorDoData *ZeroBar;
    TQorHub *DayHub;
    TQorIf_else *IsLowBar;
    TQorIf_else *IsMiddleBar;
    TQorPlotHistogram *RedBars;
    TQorPlotHistogram *YellowBars;
    TQorPlotHistogram *GreenBars;
    TQorHub *AddHub;
    TQorMemory *GreenValue;
    TQorMemory *YellowValue;
    TQorMemory *RedValue;
    TQorHub *BarHub;
    TQorMath *SlotCount;
    TQorCopy *DayValues;
    TQorMemory *DayStore;

    TDayFeed(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme);
};
