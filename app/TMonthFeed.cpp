#include "TMonthFeed.h"

#include "elements/text/TQorArrayEnum.h"
#include "elements/text/TQorCopy.h"
#include "elements/text/TQorIf_else.h"
#include "elements/text/TQorStrCat.h"
#include "elements/text/TQorStr_Enum.h"
#include "elements/text/TQorTrim.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorEventFromData.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorStack.h"

// Bounded stores. Recent is never cleared and TailStack never emptied: each
// refill puts up to 16 characters in front of Recent and leaves the tails of all
// rows but two on the stack, so over months both grew without end (and every
// character put in front copied all of Recent). Recent keeps its first
// RecentMaxLength characters, which leaves its beginning exactly as it was;
// TailStack drops its bottom tails beyond TailStackMaxCount, which only matters
// after hundreds of refills in a row that find fewer than two data rows.
TMonthFeed::TMonthFeed(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
    : TClassMultiBase(Container, Parent, MainScheme)
{
    MakeEdge(Container, 1, 1);

    LineWalk = Make<TQorArrayEnum>();
    LineWalk->Reverse = 0;
    LineWalk->BreakEvent = 0;

    IsBlank = Make<TQorIf_else>();
    IsBlank->Type = 0;
    IsBlank->FOp2 = StrData("");

    RowTrimSpaces = Make<TQorTrim>();
    RowTrimSpaces->Char = " ";
    RowTrimSpaces->Mode = 0;

    RowTrimBreaks = Make<TQorTrim>();
    RowTrimBreaks->Char = "\r\n";
    RowTrimBreaks->Mode = 5;

    RowTail = Make<TQorCopy>();
    RowTail->FPosition = 1;
    RowTail->FCount = 16;
    RowTail->Direction = 1;

    RowChars = Make<TQorStr_Enum>();
    RowChars->Delimiter = "";
    RowChars->Start = 1;
    RowChars->End = -1;
    RowChars->BreakEvent = 0;
    RowChars->Direction = 0;

    IsDataRow = Make<TQorIf_else>();
    IsDataRow->Type = 4;
    IsDataRow->FOp1 = StrData(" ");
    IsDataRow->FOp2 = IntData(12);

    IsDigit = Make<TQorIf_else>();
    IsDigit->Type = 4;
    IsDigit->FOp2 = IntData(0);

    IsMissing = Make<TQorIf_else>();
    IsMissing->Type = 0;
    IsMissing->FOp2 = StrData("-");

    RowHub = Make<TQorHub>();
    RowHub->SetOutCount(3);

    RowStore = Make<TQorMemory>();
    RowStore->SetDefault(TData());

    PairText = Make<TQorStrCat>();
    PairText->FStr1 = "";
    PairText->FStr2 = "";

    PairChars = Make<TQorStr_Enum>();
    PairChars->Delimiter = "";
    PairChars->Start = 1;
    PairChars->End = -1;
    PairChars->BreakEvent = 0;
    PairChars->Direction = 0;

    IsPairDigit = Make<TQorIf_else>();
    IsPairDigit->Type = 4;
    IsPairDigit->FOp2 = IntData(0);

    IsPairMissing = Make<TQorIf_else>();
    IsPairMissing->Type = 0;
    IsPairMissing->FOp2 = StrData("-");

    TailHub = Make<TQorHub>();
    TailHub->SetOutCount(2);

    Recent = Make<TQorStrCat>();
    Recent->FStr1 = "";
    Recent->FStr2 = "";
    Recent->MaxLength = RecentMaxLength; // mend: bounded (above)

    LatestTail = Make<TQorEventFromData>();

    TailStack = Make<TQorStack>();
    TailStack->CheckEmpty = 1;
    TailStack->MaxCount = TailStackMaxCount; // mend: bounded (above)

    PairHub = Make<TQorHub>();
    PairHub->SetOutCount(5);

    PreviousTail = Make<TQorEventFromData>();

    // Event links.
    LinkEvent(Edge->onEvent[0], RowHub, &TQorHub::doEvent, 0);
    LinkEvent(LineWalk->onItem, IsDataRow, &TQorIf_else::doCompare, 0);
    LinkEvent(IsBlank->onFalse, RowTail, &TQorCopy::doCopy, 0);
    LinkEvent(RowTrimSpaces->onTrim, RowTrimBreaks, &TQorTrim::doTrimEnd, 0);
    LinkEvent(RowTrimBreaks->onTrim, IsBlank, &TQorIf_else::doCompare, 0);
    LinkEvent(RowTail->onCopy, TailHub, &TQorHub::doEvent, 0);
    LinkEvent(RowChars->onEnum, IsMissing, &TQorIf_else::doCompare, 0);
    LinkEvent(IsDataRow->onTrue, RowTrimSpaces, &TQorTrim::doTrim, 0);
    LinkEvent(IsDigit->onTrue, Edge, &TQorEditMultiEx::doWork, 0);
    LinkEvent(IsMissing->onTrue, RowChars, &TQorStr_Enum::doStop, 1);
    LinkEvent(IsMissing->onFalse, IsDigit, &TQorIf_else::doCompare, 0);
    LinkEvent(RowHub->onEvent[0], Edge, &TQorEditMultiEx::doWork, 1);
    LinkEvent(RowHub->onEvent[1], LineWalk, &TQorArrayEnum::doEnum, 0);
    LinkEvent(RowHub->onEvent[2], PairHub, &TQorHub::doEvent, 0);
    LinkEvent(RowStore->onData, RowChars, &TQorStr_Enum::doEnum, 0);
    LinkEvent(PairText->onStrCat, PairChars, &TQorStr_Enum::doEnum, 0);
    LinkEvent(PairChars->onEnum, IsPairMissing, &TQorIf_else::doCompare, 0);
    LinkEvent(IsPairDigit->onTrue, Recent, &TQorStrCat::doStrCat, 0);
    LinkEvent(IsPairMissing->onTrue, PairChars, &TQorStr_Enum::doStop, 1);
    LinkEvent(IsPairMissing->onFalse, IsPairDigit, &TQorIf_else::doCompare, 0);
    LinkEvent(TailHub->onEvent[0], RowStore, &TQorMemory::doValue, 0);
    LinkEvent(TailHub->onEvent[1], TailStack, &TQorStack::doPush, 0);
    LinkEvent(PairHub->onEvent[0], TailStack, &TQorStack::doPop, 1);
    LinkEvent(PairHub->onEvent[1], LatestTail, &TQorEventFromData::doData, 0);
    LinkEvent(PairHub->onEvent[2], TailStack, &TQorStack::doPop, 1);
    LinkEvent(PairHub->onEvent[3], PreviousTail, &TQorEventFromData::doData, 0);
    LinkEvent(PairHub->onEvent[4], PairText, &TQorStrCat::doStrCat, 0);

    // Data links.
    LinkData(Edge->Data[0], Recent, &TQorStrCat::Result, 0);
    LinkData(LineWalk->Array, Edge, &TQorEditMultiEx::Var, 0);
    LinkData(IsDataRow->Op1, LineWalk, &TQorArrayEnum::Index, 1);
    LinkData(PairText->Str1, PreviousTail, &TQorEventFromData::Var, 0);
    LinkData(PairText->Str2, LatestTail, &TQorEventFromData::Var, 0);
    LinkData(Recent->Str2, Recent, &TQorStrCat::Result, 0);
    LinkData(LatestTail->Data, TailStack, &TQorStack::Value, 0);
    LinkData(TailStack->Data, RowStore, &TQorMemory::Value, 0);
    LinkData(PreviousTail->Data, TailStack, &TQorStack::Value, 0);
}
