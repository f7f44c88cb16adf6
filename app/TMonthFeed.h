#pragma once
#include <cstdint>

#include "runtime/TClassMultiBase.h"

class TQorArrayEnum;
class TQorCopy;
class TQorEventFromData;
class TQorHub;
class TQorIf_else;
class TQorMemory;
class TQorStack;
class TQorStr_Enum;
class TQorStrCat;
class TQorTrim;

// 30-day graph feed (container MonthFeed). Clears the graph and sends it every
// known 3-hour value of every data row, in time order; then puts the values of
// the last two days, newest first, in front of the recent-values string.
//   doWork[0]   refill now (its data is not used)
//   Data[0]     the lines of the last parsed file, as an array value
//   onEvent[0]  one graph value, a one-character string
//   onEvent[1]  clear the graph
//   Var[0]      the recent-values string, newest first
class TMonthFeed : public TClassMultiBase {
public:
    // Bounds of the two stores that would otherwise grow with every refill.
    // Only the first characters of Recent and the top two tails are ever read.
    static constexpr int32_t RecentMaxLength = 1024;
    static constexpr int32_t TailStackMaxCount = 1024;

    TQorArrayEnum *LineWalk;
    TQorIf_else *IsBlank;
    TQorTrim *RowTrimSpaces;
    TQorTrim *RowTrimBreaks;
    TQorCopy *RowTail;
    TQorStr_Enum *RowChars;
    TQorIf_else *IsDataRow;
    TQorIf_else *IsDigit;
    TQorIf_else *IsMissing;
    TQorHub *RowHub;
    TQorMemory *RowStore;
    TQorStrCat *PairText;
    TQorStr_Enum *PairChars;
    TQorIf_else *IsPairDigit;
    TQorIf_else *IsPairMissing;
    TQorHub *TailHub;
    TQorStrCat *Recent;
    TQorEventFromData *LatestTail;
    TQorStack *TailStack;
    TQorHub *PairHub;
    TQorEventFromData *PreviousTail;

    TMonthFeed(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme);
};
