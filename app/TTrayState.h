#pragma once
#include "runtime/TClassMultiBase.h"

class TQorChanelToIndex;
class TQorDoData;
class TQorGetIndexData;
class TQorHub;
class TQorStrCat;

// Tray icon and hint selection (container TrayState). Turns a level, or a
// change of the download outcome, into the icon to show and the tooltip.
//   doWork[0]      the download outcome changed (its data is not used)
//   doWork[1..3]   level 1..3, with the Kp value
//   Data[0..3]     the icons for an outcome change and for levels 1..3
//   onEvent[0]     the icon to show (an icon value)
//   onEvent[1]     the tooltip: "Kp:" and the value, or the download error text
class TTrayState : public TClassMultiBase {
public:
    TQorGetIndexData *IconPick;
    TQorDoData *IconOut;
    TQorHub *LevelHub1;
    TQorHub *LevelHub2;
    TQorHub *LevelHub3;
    TQorStrCat *HintText;
    TQorHub *ErrorHub;
    TQorDoData *ErrorText;
    TQorChanelToIndex *Channel;

    TTrayState(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme);
};
