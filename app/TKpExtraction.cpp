#include "TKpExtraction.h"

#include "elements/text/TQorArrayEnum.h"
#include "elements/text/TQorCopy.h"
#include "elements/text/TQorIf_else.h"
#include "elements/text/TQorKpDecimals.h"
#include "elements/text/TQorMath.h"
#include "elements/text/TQorReplace.h"
#include "elements/text/TQorStrList.h"
#include "elements/text/TQorStr_Enum.h"
#include "elements/text/TQorTrim.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"

// CR LF files. The file is loaded split at CR, so FileLines.Text hands on CR LF
// line ends whatever the file had, and turning every LF into CR LF after that
// doubled every line of a CR LF file: header lines then slid past the 30-day
// feed's index of 12 and their digits entered the graph. CrLfToLf first makes
// every CR LF a single LF, so LineBreaks sees LF-only text for LF, CR LF and
// CR files alike; for an LF file nothing changes but one empty item less at the
// end, which both walks skip.
//
// Decimal values. The provider's newer file writes the planetary values as
// decimals ("2.00  0.67 -1.00"), whose last 16 characters are no values at all.
// Decimals rewrites such rows to the one-digit layout as the text is read from
// FileLines, ahead of both line-end replacements; it keeps every line end as
// it was, so the CR LF mend sees what it always saw.
TKpExtraction::TKpExtraction(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
    : TClassMultiBase(Container, Parent, MainScheme)
{
    MakeEdge(Container, 1, 1);

    FileLines = Make<TQorStrList>();
    FileLines->SetStrings("");
    FileLines->FFileName = "";

    LineEnum = Make<TQorArrayEnum>();
    LineEnum->Reverse = 1;
    LineEnum->BreakEvent = 0;

    LoadHub = Make<TQorHub>();
    LoadHub->SetOutCount(2);

    Lines = Make<TQorStrList>();
    Lines->SetStrings("");
    Lines->FFileName = "";

    // Decimal values (above).
    Decimals = Make<TQorKpDecimals>();

    // Mend for CR LF files (above).
    CrLfToLf = Make<TQorReplace>();
    CrLfToLf->FSubStr = "\r\n";
    CrLfToLf->FDest = "\n";

    LineBreaks = Make<TQorReplace>();
    LineBreaks->FSubStr = "\n";
    LineBreaks->FDest = "\r\n";

    IsEmptyLine = Make<TQorIf_else>();
    IsEmptyLine->Type = 0;
    IsEmptyLine->FOp2 = StrData("");

    TrimSpaces = Make<TQorTrim>();
    TrimSpaces->Char = " ";
    TrimSpaces->Mode = 0;

    TrimBreaks = Make<TQorTrim>();
    TrimBreaks->Char = "\r\n";
    TrimBreaks->Mode = 5;

    TextHub = Make<TQorHub>();
    TextHub->SetOutCount(2);

    LineTail = Make<TQorCopy>();
    LineTail->FPosition = 1;
    LineTail->FCount = 16;
    LineTail->Direction = 1;

    TailChars = Make<TQorStr_Enum>();
    TailChars->Delimiter = "";
    TailChars->Start = 1;
    TailChars->End = -1;
    TailChars->BreakEvent = 0;
    TailChars->Direction = 1;

    IsSpace = Make<TQorIf_else>();
    IsSpace->Type = 0;
    IsSpace->FOp1 = StrData(" ");

    SpaceHub = Make<TQorHub>();
    SpaceHub->SetOutCount(3);

    ValueChar = Make<TQorCopy>();
    ValueChar->FPosition = 0;
    ValueChar->FCount = 1;
    ValueChar->Direction = 1;

    TailStore = Make<TQorMemory>();
    TailStore->SetDefault(TData());

    IsLow = Make<TQorIf_else>();
    IsLow->Type = 3;
    IsLow->FOp2 = IntData(3);

    CharPos = Make<TQorMath>();
    CharPos->SetDefault(0.0);
    CharPos->SetAngleMode(0);
    CharPos->OpType = 1;
    CharPos->FOp1 = 0.0;
    CharPos->FOp2 = 1.0;
    CharPos->ResultType = 0;

    IsMiddle = Make<TQorIf_else>();
    IsMiddle->Type = 1;
    IsMiddle->FOp2 = IntData(5);

    ValueHub = Make<TQorHub>();
    ValueHub->SetOutCount(2);

    // Event links.
    LinkEvent(Edge->onEvent[0], LoadHub, &TQorHub::doEvent, 0);
    LinkEvent(LineEnum->onItem, TrimSpaces, &TQorTrim::doTrim, 0);
    LinkEvent(LoadHub->onEvent[0], FileLines, &TQorStrList::doLoad, 4);
    LinkEvent(LoadHub->onEvent[1], CrLfToLf, &TQorReplace::doReplace, 0); // mend: was LineBreaks.doReplace
    LinkEvent(CrLfToLf->onReplace, LineBreaks, &TQorReplace::doReplace, 0); // mend
    LinkEvent(LineBreaks->onReplace, TextHub, &TQorHub::doEvent, 0);
    LinkEvent(IsEmptyLine->onFalse, LineTail, &TQorCopy::doCopy, 0);
    LinkEvent(TrimSpaces->onTrim, TrimBreaks, &TQorTrim::doTrimEnd, 0);
    LinkEvent(TrimBreaks->onTrim, IsEmptyLine, &TQorIf_else::doCompare, 0);
    LinkEvent(TextHub->onEvent[0], Lines, &TQorStrList::doText, 3);
    LinkEvent(TextHub->onEvent[1], LineEnum, &TQorArrayEnum::doEnum, 0);
    LinkEvent(LineTail->onCopy, TailStore, &TQorMemory::doValue, 0);
    LinkEvent(TailChars->onEnum, IsSpace, &TQorIf_else::doCompare, 0);
    LinkEvent(IsSpace->onTrue, SpaceHub, &TQorHub::doEvent, 0);
    LinkEvent(SpaceHub->onEvent[0], TailChars, &TQorStr_Enum::doStop, 1);
    LinkEvent(SpaceHub->onEvent[1], LineEnum, &TQorArrayEnum::doStop, 1);
    LinkEvent(SpaceHub->onEvent[2], CharPos, &TQorMath::doSub, 0);
    LinkEvent(ValueChar->onCopy, ValueHub, &TQorHub::doEvent, 0);
    LinkEvent(TailStore->onData, TailChars, &TQorStr_Enum::doEnumBack, 0);
    LinkEvent(IsLow->onTrue, Edge, &TQorEditMultiEx::doWork, 0);
    LinkEvent(IsLow->onFalse, IsMiddle, &TQorIf_else::doCompare, 0);
    LinkEvent(CharPos->onResult, ValueChar, &TQorCopy::doCopy, 0);
    LinkEvent(IsMiddle->onTrue, Edge, &TQorEditMultiEx::doWork, 1);
    LinkEvent(IsMiddle->onFalse, Edge, &TQorEditMultiEx::doWork, 2);
    LinkEvent(ValueHub->onEvent[0], IsLow, &TQorIf_else::doCompare, 0);
    LinkEvent(ValueHub->onEvent[1], Edge, &TQorEditMultiEx::doWork, 3);

    // Data links.
    LinkData(Edge->Data[0], Lines, &TQorStrList::Array, 2);
    LinkData(FileLines->FileName, Edge, &TQorEditMultiEx::Var, 0);
    LinkData(LineEnum->Array, Lines, &TQorStrList::Array, 2);
    LinkData(Decimals->Text, FileLines, &TQorStrList::Text, 0); // decimal values
    LinkData(CrLfToLf->Str, Decimals, &TQorKpDecimals::Result, 0); // was LineBreaks.Str <- FileLines.Text
    LinkData(ValueChar->Str, TailStore, &TQorMemory::Value, 0);
    LinkData(ValueChar->Position, CharPos, &TQorMath::Result, 0);
    LinkData(CharPos->Op1, TailChars, &TQorStr_Enum::Number, 0);
}
