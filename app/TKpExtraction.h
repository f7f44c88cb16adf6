#pragma once
#include "runtime/TClassMultiBase.h"

class TQorArrayEnum;
class TQorCopy;
class TQorHub;
class TQorIf_else;
class TQorKpDecimals;
class TQorMath;
class TQorMemory;
class TQorReplace;
class TQorStr_Enum;
class TQorStrList;
class TQorTrim;

// Current Kp extraction and level classification (container KpParser).
// Loads DGD.txt, walks its lines from the end to the last data line, takes the
// value after the last space of the line's last 16 characters, and announces it.
// Files that give the values as decimals are first rewritten to one digit each.
//   doWork[0]      parse the file now
//   Data[0]        the path of DGD.txt
//   onEvent[0..2]  level 1 (up to "3"), 2 (below "5"), 3 (from "5"), with the value
//   onEvent[3]     the value, after the level
//   Var[0]         the lines of the last parsed file, as an array value
class TKpExtraction : public TClassMultiBase {
public:
    TQorStrList *FileLines;
    TQorArrayEnum *LineEnum;
    TQorHub *LoadHub;
    TQorStrList *Lines;
    TQorKpDecimals *Decimals;
    TQorReplace *CrLfToLf;
    TQorReplace *LineBreaks;
    TQorIf_else *IsEmptyLine;
    TQorTrim *TrimSpaces;
    TQorTrim *TrimBreaks;
    TQorHub *TextHub;
    TQorCopy *LineTail;
    TQorStr_Enum *TailChars;
    TQorIf_else *IsSpace;
    TQorHub *SpaceHub;
    TQorCopy *ValueChar;
    TQorMemory *TailStore;
    TQorIf_else *IsLow;
    TQorMath *CharPos;
    TQorIf_else *IsMiddle;
    TQorHub *ValueHub;

    TKpExtraction(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme);
};
