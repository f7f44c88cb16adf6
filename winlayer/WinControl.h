#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "winlayer/Callback.h"
#include "winlayer/ControlRules.h"
#include "winlayer/WinCanvas.h"
#include "winlayer/WinGraphicTool.h"
#include "winlayer/WinObject.h"

namespace winlayer {

class TWinControl;

// A message handler: (sender, message, result) -> claimed. A claimed message ends
// the walk with the result the handler left.
using TMessageHandler = TCallback<bool(TWinControl *sender, MSG &msg, LRESULT &result)>;
using TCloseQueryEvent = TCallback<void(TWinControl *sender, bool &accept)>;
using TAfterMessageHook = TCallback<void(TWinControl *sender, MSG &msg, LRESULT &result)>;
using TControlHook = TCallback<void(TWinControl *sender)>;
using TPumpFilter = TCallback<bool(MSG &msg)>;
using THaltHook = TCallback<void(unsigned exitCode)>;
// The events of controls.
using TPaintEvent = TCallback<void(TWinControl *sender, HDC dc)>;
using TMouseEvent = TCallback<void(TWinControl *sender, TMouseEventData &mouse)>;
using TKeyEvent = TCallback<void(TWinControl *sender, int &key)>; // a key set to 0 is swallowed

struct THandlerEntry {
    TMessageHandler Handler;
    bool RunAfterStop = false; // still called after the loop has been told to end
};

// Messages of the layer's own.
constexpr UINT WM_LAYER_RELEASE = 0xB003; // free the object of the window
constexpr UINT WM_LAYER_COMMAND = 0xB005; // WM_COMMAND handed on to the control that sent it
constexpr UINT WM_LAYER_REFLECT = 0xBC00; // added to WM_CTLCOLOR* handed on to the child
// MM_MCINOTIFY, which the lean Windows headers leave out.
constexpr UINT MciNotifyMessage = 0x3B9;

// Window property that ties a window to its object.
constexpr const char *SelfProp = "SELF_";
// Window property that keeps the procedure a foreign child window had before the
// layer subclassed it for transparent drawing.
constexpr const char *PrevProcProp = "PREV_PROC";

// The icon value that means "no icon at all" (0 means "not chosen yet").
inline HICON NoIcon()
{
    return reinterpret_cast<HICON>(static_cast<intptr_t>(-1));
}

// The object on a window. It is made without a window; EnsureWindow makes the
// window when it is first needed, and freeing the object destroys the window and
// the children.
class TWinControl : public TWinObject {
public:
    TWinControl(TWinControl *parent, const std::string &className);

    // --- The window and its place among the objects.
    HWND Handle = nullptr;
    TWinControl *Parent = nullptr;
    std::vector<TWinControl *> Children; // in creation order
    std::string ClassName;               // "App", "Form", "STATIC", ...
    bool StandardClass = false;          // a superclass of the system class ClassName
    bool ChildControl = false;           // a child of a form (neither form nor application window)
    WNDPROC PrevWndProc = nullptr;       // the system class's procedure when superclassed

    // --- Message dispatch, in the order WindowProc asks.
    TMessageHandler OnMessage;
    std::vector<THandlerEntry> Handlers; // walked newest first
    TMessageHandler ClassHandler;
    TCloseQueryEvent OnCloseQuery;
    TAfterMessageHook AfterMessage;

    TWinControl *FocusChild = nullptr; // who gets the focus back when this window gets it
    bool Destroying = false;           // the object is going; its window gets default processing only
    int PendingShowCmd = 0;            // show command remembered while the parent was minimised
    int SizeState = 0;                 // the last WM_SIZE type
    TPumpFilter PumpFilter;            // asked by PumpMessage, on the application window only
    TControlHook CreationHook;         // run once right after the window is made

    // --- What the window is made from. Setters apply a value to an existing window;
    // without a window the value is kept until EnsureWindow.
    bool IsAppWindow = false; // made by NewAppWindow
    UINT ClassStyle = 0;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    RECT Bounds{};            // in the parent's client coordinates
    bool PositionSet = false; // a top-level window without it is placed by the system
    std::string Caption;
    uint32_t Color = 0x8000000F; // background colour value (top bit: a system colour index)
    HICON Icon = nullptr;        // nullptr: not chosen yet; NoIcon(): none
    bool IconOwned = false;
    HCURSOR Cursor = nullptr;
    bool CreateVisible = false; // asked-for handles do not show the window early
    bool DeferredShow = false;  // show at the next EnsureWindow
    bool Transparent = false;
    bool TabStop = false;
    int TabOrder = 0;
    uint8_t Align = 0;
    bool NotAligned = false; // its size changes do not re-arrange the parent
    UINT_PTR ControlId = 0;  // the menu value of a child window
    HDC PaintDC = nullptr;   // the context of the paint cycle in progress
    HRGN UpdateRgn = nullptr;
    HRGN ClipRgn = nullptr;  // the control's own clip region (owned; see SetClipRegion)
    TControlHook OnDestroy; // the object is being freed (its owner must forget it)

    // --- Seen from the elements.
    RECT ClientMargins{};        // subtracted from the client rectangle
    bool Ctl3D = false;          // the sunken look (client edge) rather than the flat one
    bool EraseOnPaint = false;   // the paint handler asks for the update region with erasing
    WORD ClickCode = 0;          // the notification of a reflected command that is a click
    int CursorId = 0;            // the system cursor asked for by identifier; 0 none
    bool KeyNavigation = false;  // on a form: Tab and Shift+Tab move the focus among tab stops
    bool MouseInside = false;    // between the enter and leave notifications
    TControlHook AutoSizeHook;   // run after every caption (and font) change: fit to text

    // Events; the setters store the event and attach the handler that raises it.
    TPaintEvent OnPaint;
    TControlHook OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseEvent OnMouseMove;
    TMouseEvent OnMouseDblClk;
    TMouseEvent OnMouseWheel;
    TControlHook OnMouseEnter;
    TControlHook OnMouseLeave;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyEvent OnChar;
    TControlHook OnClick;
    TControlHook OnShow;
    TControlHook OnHide;
    void SetOnPaint(TPaintEvent event);
    void SetOnResize(TControlHook event);
    void SetOnMouseDown(TMouseEvent event);
    void SetOnMouseUp(TMouseEvent event);
    void SetOnMouseMove(TMouseEvent event);
    void SetOnMouseDblClk(TMouseEvent event);
    void SetOnMouseWheel(TMouseEvent event);
    void SetOnMouseEnter(TControlHook event); // switches on the enter/leave tracking
    void SetOnMouseLeave(TControlHook event);
    void SetOnKeyDown(TKeyEvent event);
    void SetOnKeyUp(TKeyEvent event);
    void SetOnChar(TKeyEvent event);
    void SetOnClick(TControlHook event);
    void SetOnShow(TControlHook event);
    void SetOnHide(TControlHook event);

    // The control's tools and canvas, made on first use and freed with it. The
    // brush has the control's colour; a change of the font is sent to the window.
    TWinGraphicTool *Font();
    TWinGraphicTool *Brush();
    TWinCanvas *Canvas(); // GetDC outside a paint cycle, the paint context during one
    TWinGraphicTool *MadeFont() const { return FFont; }
    TWinGraphicTool *MadeBrush() const { return FBrush; }
    TWinCanvas *MadeCanvas() const { return FCanvas; }
    void DropCanvas();
    // Fills the rectangle with the control's brush, or with the parent's background
    // when the control is transparent.
    void PaintBackground(HDC dc, const RECT &rect);

    // Makes the window (and the parent's first) if it does not exist yet, then the
    // children's windows. False when the window cannot be made.
    virtual bool EnsureWindow();
    // Handles one message of the window.
    virtual LRESULT WindowProc(MSG &msg);

    // The window handle; makes the window when it does not exist, hidden unless the
    // control is marked create-visible, and shows it at the next EnsureWindow.
    HWND GetHandle();
    // The processing the system would give the message.
    LRESULT DefaultProc(const MSG &msg) const;
    bool IsMainWindow() const;

    // Properties. A setter given the current value does nothing; without a window
    // it only stores the value.
    bool Visible() const { return (Style & WS_VISIBLE) != 0; }
    void SetVisible(bool visible);
    bool Enabled() const { return (Style & WS_DISABLED) == 0; }
    void SetEnabled(bool enabled);
    void SetCaption(const std::string &caption);
    // Bounds in the parent's client coordinates (read from the window when it exists).
    RECT BoundsRect() const;
    int Left() const { return BoundsRect().left; }
    int Top() const { return BoundsRect().top; }
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // The client rectangle less the client margins.
    RECT ClientRect() const;
    void SetColor(uint32_t color);
    void SetStyle(DWORD style);
    void SetExStyle(DWORD exStyle);
    void SetCtl3D(bool threeD);
    void SetCursorId(int id); // a system cursor (IDC_*), 0 none
    void SetCursorHandle(HCURSOR cursor);
    void SetTabStop(bool tabStop);
    void SetTabOrder(int tabOrder); // renumbers the siblings at or above it
    void SetAlign(uint8_t align);
    void SetTransparent(bool transparent);
    // Takes the region (made with NewRectRegion) as the control's own clip region.
    void SetClipRegion(HRGN region);

protected:
    ~TWinControl() override;

private:
    void EnsureChildren();
    bool MessageRule(MSG &msg, LRESULT &result);
    static void FontChanged(void *data, TWinGraphicTool *tool);

    TWinGraphicTool *FFont = nullptr;
    TWinGraphicTool *FBrush = nullptr;
    TWinCanvas *FCanvas = nullptr;
};

// --- The layer's loop state and hooks. One thread uses them; no locks.
extern TWinControl *AppWindow;      // the application window while the loop runs
extern uint8_t LoopRunning;         // incremented by RunLoop, cleared by StopLoop
extern bool LoopTerminated;         // WM_QUIT, StopLoop or session end seen
extern bool AppWindowUsed;          // an application window has been made
extern TWinControl *PendingWindow;  // the object whose window is being made
extern TControlHook IdleHook;       // after each batch of messages
extern TMessageHandler PreMessageHook; // before everything else in WindowProc
extern TControlHook AfterCreateHook;   // after each window is made
extern TControlHook InvalidateHook;    // after each Invalidate

// The application object of the program (what RunLoop and StopLoop are given).
extern TWinControl *Application;
// Re-arranges the aligned children of a control after a size change; set by the
// controls that use alignment.
extern TControlHook AlignHook;
// Gets MM_MCINOTIFY (MciNotifyMessage).
extern TAfterMessageHook MciNotifyHook;
// The cursor shown over every window while set, and a lock that keeps the layer
// from setting cursors at all.
extern HCURSOR ScreenCursor;
extern int CursorLock;
// Ends the program at session end; unset it calls ExitProcess.
extern THaltHook HaltHook;

// Adds the handler (not run after the loop ended) unless it is in the list already.
void AddHandler(TWinControl *control, TMessageHandler handler);
// The same with the run-after-stop flag given.
void AddHandler(TWinControl *control, TMessageHandler handler, bool runAfterStop);
bool HasHandler(const TWinControl *control, TMessageHandler handler);
// SendMessageA to the control's window (0 without one).
LRESULT Perform(TWinControl *control, UINT message, WPARAM wParam, LPARAM lParam);
void Invalidate(TWinControl *control);

// The window procedure of every class the layer registers.
LRESULT CALLBACK LayerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Subclasses every child window of the control not subclassed yet, so that child
// windows without an object of their own paint no background while the control
// draws transparently.
void SubclassForeignChildren(TWinControl *control);

// --- Child controls (WinControls.cpp).
// The next control identifier of the program.
UINT_PTR NextControlId();
// Attached to every child control: the reflected colour messages and commands.
bool ChildMessages(void *data, TWinControl *sender, MSG &msg, LRESULT &result);
extern const TMessageHandler ChildHandler;
// A static text control: "STATIC" superclassed, child, visible, notifying clicks,
// no prefix, no word wrap, 64 x 22 at (0, 0).
TWinControl *NewLabel(TWinControl *parent, const std::string &caption);
// Fit to text: installs (and runs now) or removes the routine that sizes a label
// to its text after every caption change.
void SetAutoSize(TWinControl *control, bool autoSize);
void FitToText(void *data, TWinControl *control);
// Moves the focus from current to the next (previous) tab stop of the form, by
// tab order and wrapping round; the control focused, or none.
TWinControl *TabNavigate(TWinControl *form, TWinControl *current, bool backwards);
// Tab navigation of a key message on a focused child control; true when swallowed.
bool KeyNavigationRule(TWinControl *control, MSG &msg, LRESULT &result);

} // namespace winlayer
