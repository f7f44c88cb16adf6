#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "runtime/TFontRec.h"
#include "runtime/TPointLink.h"
#include "winlayer/Callback.h"

// A tooltip made for one control: the platform's tool record first (the
// tooltip messages take a pointer to it), then what the manager keeps with it.
struct THintRecord {
    TOOLINFOA Info;
    HFONT Font;
    std::string Text; // the tip's text, kept here so Info never points at a string that changed
};
using THintHandle = THintRecord *;

// The seven routines through which a visual element drives its tooltip, each
// bound to the manager that made the record.
struct THintInterface {
    winlayer::TCallback<THintHandle(HWND Window)> CreateHint;
    winlayer::TCallback<void(THintHandle Hint)> DestroyHint;
    winlayer::TCallback<void(THintHandle Hint, const std::string &Text)> SetHintText;
    winlayer::TCallback<void(THintHandle Hint, int Icon, const std::string &Title)> SetHintTitle;
    winlayer::TCallback<void(THintHandle Hint)> HintEnter;
    winlayer::TCallback<void(THintHandle Hint)> HintLeave;
    winlayer::TCallback<void(THintHandle Hint, int X, int Y)> HintMove;
};

// Gives visual elements their tooltips: one platform tooltip window per control
// that asks, set up from the manager's look and timing.
class TQorHintManager : public TElement {
public:
    TQorHintManager();
    ~TQorHintManager();
    TQorHintManager(const TQorHintManager &) = delete;
    TQorHintManager &operator=(const TQorHintManager &) = delete;

    THintInterface *Interface; // owned
    uint8_t Plain = 1;         // 0: balloon tips
    uint32_t BackColor = 0xFF000018;
    uint32_t InitialDelay = 500;
    uint32_t ShowTime = 5000;
    uint32_t Margin = 0;
    uint8_t Track = 0; // tips that follow the mouse
    TFontRec Font;     // its colour is the tip text colour

    THintHandle CreateHint(HWND Window);
    void DestroyHint(THintHandle Hint);
    void SetHintText(THintHandle Hint, const std::string &Text);
    void SetHintTitle(THintHandle Hint, int Icon, const std::string &Title);
    void HintEnter(THintHandle Hint);
    void HintLeave(THintHandle Hint);
    void HintMove(THintHandle Hint, int X, int Y);

    // Every message the manager sends to a tooltip window goes through here, so
    // that a test can see what was asked.
    using TSendProc = LRESULT (*)(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    static TSendProc SendTip;
};

// The logical font of the tips made from a font record.
LOGFONTA HintLogFont(const TFontRec &Font);

// The program's one manager, made with its defaults (and the common controls
// initialised) on the first call; never freed.
TQorHintManager &HintManager();
