#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "elements/win/TQorHintManager.h"
#include "runtime/TFontRec.h"
#include "runtime/TPointLink.h"
#include "winlayer/WinControl.h"

// A routine bound to an element that hands out the element's control.
using TControlProvider = winlayer::TCallback<winlayer::TWinControl *()>;

// Builds a companion control beside an element's own (parent, four arguments).
using TCompanionFactory = winlayer::TCallback<winlayer::TWinControl *(
    winlayer::TWinControl *Parent, int32_t A1, int32_t A2, int32_t A3, int32_t A4)>;

// A layout that controls can register with; nothing in this program makes one.
struct TLayoutRecord {
    winlayer::TCallback<void(winlayer::TWinControl *Control, int32_t P1, int32_t P2)> Register;
    winlayer::TCallback<void(winlayer::TWinControl *Control)> ReleaseControl;
    int32_t RefCount = 0;
};

// The most recent mouse notification of an element's control.
struct TQorMouseRecord {
    int32_t Button = 0;    // 1 left, 2 right, 3 middle; 0 none (move, wheel)
    uint32_t KeyState = 0; // the message's key state; for the wheel the delta is the high word
    int16_t X = 0;
    int16_t Y = 0;
};

// Base of every element that owns a window control: the properties the scheme
// sets before Init configures the control, and the control's notifications
// turned into the element's events. The control itself is made by the derived
// element (its constructor or Init).
class TQorWin : public TElement {
public:
    explicit TQorWin(winlayer::TWinControl *ParentControl);
    virtual ~TQorWin();
    TQorWin(const TQorWin &) = delete;
    TQorWin &operator=(const TQorWin &) = delete;

    TControlProvider ControlProvider; // filled by Init, handed out by GetControl
    uint8_t ControlGone = 0;          // the window layer freed the control first
    winlayer::TWinControl *Parent;    // not owned
    winlayer::TWinControl *Companion = nullptr; // owned
    winlayer::TMessageHandler PrevHandler;      // called after the element's own
    TQorMouseRecord LastMouse;
    int32_t KeyReplacement = -1; // -1: none
    THintHandle HintHandle = nullptr;
    THintInterface *HintInterface = nullptr;
    TLayoutRecord *Layout = nullptr;
    TPointLink onMouseEnter;
    TPointLink onMouseLeave;
    winlayer::TWinControl *Control = nullptr; // owned
    std::string Name;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t Align = 0;
    int32_t TabOrder = 0;
    uint32_t Color = 0;
    uint8_t Ctl3D = 2; // 0 sunken, 1 flat with border, 2 the control's own look
    std::string Hint;
    TFontRec Font;
    uint8_t ParentFont = 0;
    uint8_t Transparent = 0;
    uint8_t Visible = 1;
    uint8_t Enabled = 1;
    uint32_t Cursor = 0;
    uint8_t MouseCapture = 0;
    uint8_t KeyPreview = 1;
    TCompanionFactory CompanionFactory;
    int32_t CompanionArgs[4] = {0, 0, 0, 0};
    uint8_t EdgeStyle = 0;
    int32_t LayoutParam1 = 0;
    int32_t LayoutParam2 = 0;
    TPointLink onKeyDown;
    TPointLink onKeyUp;
    TPointLink onKeyPress;
    TPointLink onMouseDown;
    TPointLink onMouseMove;
    TPointLink onMouseUp;
    TPointLink onMouseWheel;
    TPointLink onSetFocus;
    TPointLink onKillFocus;
    TPointLink onDblClick;
    TPointLink onResize;
    TPointLink onShow;
    TPointLink onHide;
    TPointLink onMove;
    TPointLink WidthDelta;
    TPointLink HeightDelta;

    // The slots the window layer reaches through the handlers Init installs.
    virtual void KeyDown(int &Key);
    virtual void KeyUp(int &Key);
    virtual void KeyChar(int &Key);
    virtual void MouseDown(const TQorMouseRecord &Mouse);
    virtual void MouseMove(const TQorMouseRecord &Mouse);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseUp(const TQorMouseRecord &Mouse);
    virtual void MouseWheel(const TQorMouseRecord &Mouse);
    virtual bool Message(MSG &Msg, LRESULT &Result);
    virtual void ControlDestroyed();
    virtual void Resized();
    virtual void Shown();
    virtual void Hidden();
    virtual void Init();
    virtual TControlProvider *GetControl();

    // Called by the scheme after all links are made.
    void AttachHint(THintInterface *Interface);
    void AttachLayout(TLayoutRecord *Record);

    // The value onMouseMove reports for the key state of a mouse notification.
    static int32_t MoveButton(uint32_t KeyState);

protected:
    // Asks the window layer for enter and leave notifications of the control.
    void TrackEnterLeave();

    // What the window layer calls; derived elements install some of them earlier.
    static winlayer::TWinControl *ProvideControl(void *Self);
    static bool Messages(void *Self, winlayer::TWinControl *Sender, MSG &Msg, LRESULT &Result);
    static void Destroyed(void *Self, winlayer::TWinControl *Sender);
    static void KeyDownWrapper(void *Self, winlayer::TWinControl *Sender, int &Key);
    static void KeyUpWrapper(void *Self, winlayer::TWinControl *Sender, int &Key);
    static void CharWrapper(void *Self, winlayer::TWinControl *Sender, int &Key);
    static void MouseDownEvent(void *Self, winlayer::TWinControl *Sender, winlayer::TMouseEventData &Mouse);
    static void MouseMoveEvent(void *Self, winlayer::TWinControl *Sender, winlayer::TMouseEventData &Mouse);
    static void MouseUpEvent(void *Self, winlayer::TWinControl *Sender, winlayer::TMouseEventData &Mouse);
    static void MouseWheelEvent(void *Self, winlayer::TWinControl *Sender, winlayer::TMouseEventData &Mouse);
    static void DblClickEvent(void *Self, winlayer::TWinControl *Sender, winlayer::TMouseEventData &Mouse);
    static void EnterEvent(void *Self, winlayer::TWinControl *Sender);
    static void LeaveEvent(void *Self, winlayer::TWinControl *Sender);
    static void ResizeEvent(void *Self, winlayer::TWinControl *Sender);
    static void ShowEvent(void *Self, winlayer::TWinControl *Sender);
    static void HideEvent(void *Self, winlayer::TWinControl *Sender);
    void SizeChanging(WINDOWPOS &Pos);
};
