#include "winlayer/WinControl.h"

#include <algorithm>

#include "winlayer/FatalError.h"
#include "winlayer/GdiCount.h"

namespace winlayer {

TWinControl *AppWindow = nullptr;
uint8_t LoopRunning = 0;
bool LoopTerminated = false;
bool AppWindowUsed = false;
TWinControl *PendingWindow = nullptr;
TControlHook IdleHook;
TMessageHandler PreMessageHook;
TControlHook AfterCreateHook;
TControlHook InvalidateHook;

TWinControl *Application = nullptr;
TControlHook AlignHook;
TAfterMessageHook MciNotifyHook;
HCURSOR ScreenCursor = nullptr;
int CursorLock = 0;
THaltHook HaltHook;

namespace {

// Nesting of the layer's own SetFocus calls made while handling WM_SETFOCUS.
int gFocusDepth = 0;

void RunAlignHook(TWinControl *control)
{
    if (AlignHook && control)
        AlignHook(control);
}

} // namespace

TWinControl::TWinControl(TWinControl *parent, const std::string &className)
    : Parent(parent), ClassName(className)
{
    if (Parent)
        Parent->Children.push_back(this);
}

TWinControl::~TWinControl()
{
    Destroying = true;
    if (OnDestroy)
        OnDestroy(this);

    // Nothing of the layer may point here any more.
    if (PendingWindow == this)
        PendingWindow = nullptr;
    if (AppWindow == this)
        AppWindow = nullptr;
    if (Application == this)
        Application = nullptr;
    if (AppWindow && AppWindow->FocusChild == this)
        AppWindow->FocusChild = nullptr;
    if (Application && Application->FocusChild == this)
        Application->FocusChild = nullptr;
    if (Parent) {
        auto &siblings = Parent->Children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        if (Parent->FocusChild == this)
            Parent->FocusChild = nullptr;
    }

    // A context taken from the window goes back before the window goes.
    DropCanvas();

    // The window first: its messages now get default processing only (Destroying),
    // and the windows of the children go with it.
    if (Handle) {
        HWND h = Handle;
        DestroyWindow(h);
        if (Handle) {
            RemovePropA(h, SelfProp);
            Handle = nullptr;
        }
    }

    std::vector<TWinControl *> children;
    children.swap(Children);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        (*it)->Parent = nullptr;
        (*it)->Free();
    }

    // The tools last: the window used the font until it was gone.
    for (TWinGraphicTool *tool : {FFont, FBrush}) {
        if (tool) {
            tool->OnChanged = {};
            tool->Free();
        }
    }
    FFont = FBrush = nullptr;
    DeleteRegion(ClipRgn);
    ClipRgn = nullptr;

    if (IconOwned && Icon && Icon != NoIcon())
        DestroyIcon(Icon);
}

LRESULT TWinControl::DefaultProc(const MSG &msg) const
{
    if (PrevWndProc)
        return CallWindowProcA(PrevWndProc, msg.hwnd, msg.message, msg.wParam, msg.lParam);
    return DefWindowProcA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

bool TWinControl::IsMainWindow() const
{
    if (ChildControl)
        return false;
    if (Parent)
        return Parent->Parent == nullptr && !Parent->Children.empty() &&
               Parent->Children.front() == this;
    return AppWindowUsed ? IsAppWindow : true;
}

void TWinControl::EnsureChildren()
{
    // By index: a child's creation may add controls.
    for (size_t i = 0; i < Children.size(); ++i)
        Children[i]->EnsureWindow();
}

bool TWinControl::EnsureWindow()
{
    // 1. The parent's window first; making it makes this one too, as its child.
    if (Parent && !Parent->Handle && !Parent->EnsureWindow())
        return false;

    // 2.
    if (Handle) {
        EnsureChildren();
        if (DeferredShow) {
            DeferredShow = false;
            SetVisible(true);
        }
        return true;
    }

    // 3. The class: ours, or a superclass of the system class.
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const std::string className = "obj_" + ClassName;
    WNDCLASSA systemClass{};
    if (StandardClass) {
        if (!GetClassInfoA(nullptr, ClassName.c_str(), &systemClass))
            return false;
        PrevWndProc = systemClass.lpfnWndProc;
    }
    WNDCLASSA known{};
    if (!GetClassInfoA(instance, className.c_str(), &known)) {
        WNDCLASSA wc{};
        if (StandardClass) {
            wc = systemClass;
            wc.style &= ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
        } else {
            wc.style = ClassStyle;
            wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        }
        wc.lpfnWndProc = LayerWindowProc;
        wc.hInstance = instance;
        wc.lpszMenuName = nullptr;
        wc.lpszClassName = className.c_str();
        if (!RegisterClassA(&wc))
            return false;
    }

    // 4.
    int x = Bounds.left;
    int y = Bounds.top;
    int width = Bounds.right - Bounds.left;
    int height = Bounds.bottom - Bounds.top;
    if (width == 0)
        width = CW_USEDEFAULT;
    if (height == 0)
        height = CW_USEDEFAULT;
    if (!(Style & WS_CHILD) && !PositionSet)
        x = y = CW_USEDEFAULT;
    HWND parentWindow = Parent ? Parent->Handle : nullptr;
    HMENU menu = ChildControl ? reinterpret_cast<HMENU>(ControlId) : nullptr;
    PendingWindow = this;
    HWND h = CreateWindowExA(ExStyle, className.c_str(), Caption.c_str(), Style, x, y, width,
                             height, parentWindow, menu, instance, nullptr);
    if (PendingWindow == this)
        PendingWindow = nullptr;
    if (!h) {
        Handle = nullptr;
        return false;
    }
    Handle = h;

    // 5.
    SendMessageA(h, WM_UPDATEUISTATE, 0x10002, 0);
    if (!GetPropA(h, SelfProp)) {
        SetPropA(h, SelfProp, this);
        PendingWindow = nullptr;
    }

    // 6. Top-level windows get an icon.
    if (!ChildControl) {
        HICON icon = nullptr;
        if (Icon == NoIcon()) {
            icon = nullptr;
        } else if (Icon) {
            icon = Icon;
        } else if (AppWindow && AppWindow != this && AppWindow->Icon &&
                   AppWindow->Icon != NoIcon()) {
            icon = static_cast<HICON>(CopyImage(AppWindow->Icon, IMAGE_ICON, 0, 0, 0));
            Icon = icon;
            IconOwned = icon != nullptr;
        } else {
            icon = LoadIconA(instance, "MAINICON");
            Icon = icon;
            IconOwned = false;
        }
        if (icon)
            SendMessageA(h, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }

    // 7.
    if (CreationHook)
        CreationHook(this);
    if (AfterCreateHook)
        AfterCreateHook(this);
    if (FFont)
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0xFFFF);
    EnsureChildren();
    if (Transparent)
        SubclassForeignChildren(this);
    return true;
}

HWND TWinControl::GetHandle()
{
    if (!Handle) {
        if (CreateVisible) {
            EnsureWindow();
        } else {
            const bool wasVisible = Visible();
            Style &= ~WS_VISIBLE;
            EnsureWindow();
            if (wasVisible) {
                if (Handle)
                    DeferredShow = true;
                else
                    Style |= WS_VISIBLE;
            }
        }
    }
    return Handle;
}

void TWinControl::SetVisible(bool visible)
{
    const bool current =
        Handle ? (GetWindowLongA(Handle, GWL_STYLE) & WS_VISIBLE) != 0 : Visible();
    if (visible == current && !(visible && DeferredShow)) {
        // Nothing to show or hide now; a show still pending is called off.
        if (visible)
            CreateVisible = true;
        else
            DeferredShow = false;
        return;
    }
    if (visible) {
        Style |= WS_VISIBLE;
        CreateVisible = true;
    } else {
        Style &= ~WS_VISIBLE;
        DeferredShow = false;
    }
    if (Handle)
        ShowWindow(Handle, visible ? SW_SHOW : SW_HIDE);
    RunAlignHook(Parent);
    if (visible)
        RunAlignHook(this);
}

void TWinControl::SetCaption(const std::string &caption)
{
    if (caption == Caption)
        return;
    Caption = caption;
    if (Handle) {
        SetWindowTextA(Handle, Caption.c_str());
        Invalidate(this);
    }
    if (AutoSizeHook)
        AutoSizeHook(this);
}

RECT TWinControl::BoundsRect() const
{
    if (!Handle)
        return Bounds;
    RECT rect{};
    GetWindowRect(Handle, &rect);
    if (GetWindowLongA(Handle, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(Handle);
        if (parent)
            MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT *>(&rect), 2);
    }
    return rect;
}

int TWinControl::Width() const
{
    const RECT rect = BoundsRect();
    return rect.right - rect.left;
}

int TWinControl::Height() const
{
    const RECT rect = BoundsRect();
    return rect.bottom - rect.top;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    const RECT wanted{left, top, left + width, top + height};
    const RECT current = BoundsRect();
    const bool same = EqualRect(&wanted, &current) != 0;
    Bounds = wanted;
    if (same && (Handle || PositionSet)) {
        PositionSet = true;
        return;
    }
    PositionSet = true;
    if (Handle)
        SetWindowPos(Handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetLeft(int left)
{
    const RECT r = BoundsRect();
    SetBounds(left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::SetTop(int top)
{
    const RECT r = BoundsRect();
    SetBounds(r.left, top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::SetWidth(int width)
{
    const RECT r = BoundsRect();
    SetBounds(r.left, r.top, width, r.bottom - r.top);
}

void TWinControl::SetHeight(int height)
{
    const RECT r = BoundsRect();
    SetBounds(r.left, r.top, r.right - r.left, height);
}

RECT TWinControl::ClientRect() const
{
    RECT rect{0, 0, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top};
    if (Handle)
        GetClientRect(Handle, &rect);
    rect.left += ClientMargins.left;
    rect.top += ClientMargins.top;
    rect.right -= ClientMargins.right;
    rect.bottom -= ClientMargins.bottom;
    return rect;
}

void TWinControl::SetEnabled(bool enabled)
{
    if (enabled == Enabled())
        return;
    if (enabled)
        Style &= ~WS_DISABLED;
    else
        Style |= WS_DISABLED;
    if (Handle)
        EnableWindow(Handle, enabled);
}

TWinGraphicTool *TWinControl::Font()
{
    if (!FFont) {
        FFont = NewFont();
        FFont->OnChanged = {&FontChanged, this};
    }
    return FFont;
}

void TWinControl::FontChanged(void *data, TWinGraphicTool *tool)
{
    auto *self = static_cast<TWinControl *>(data);
    if (self->Handle)
        SendMessageA(self->Handle, WM_SETFONT, reinterpret_cast<WPARAM>(tool->Handle()), 0xFFFF);
    // The canvas copied the old font; the next one copies the new.
    self->DropCanvas();
    if (self->AutoSizeHook)
        self->AutoSizeHook(self);
}

TWinGraphicTool *TWinControl::Brush()
{
    if (!FBrush) {
        FBrush = NewBrush();
        FBrush->SetColor(Color);
    }
    return FBrush;
}

namespace {

HDC FetchControlDC(void *, TWinCanvas *canvas, bool &borrowed)
{
    TWinControl *control = canvas->Owner;
    if (control->PaintDC) {
        borrowed = true;
        return control->PaintDC;
    }
    borrowed = false;
    HWND window = control->GetHandle();
    return window ? GdiGetDC(window) : nullptr;
}

} // namespace

TWinCanvas *TWinControl::Canvas()
{
    if (!FCanvas) {
        FCanvas = NewObject<TWinCanvas>(this);
        FCanvas->ReleaseKind = TCanvasRelease::ReleaseDC;
        FCanvas->Fetch = {&FetchControlDC, nullptr};
    }
    return FCanvas;
}

void TWinControl::DropCanvas()
{
    if (!FCanvas)
        return;
    TWinCanvas *canvas = FCanvas;
    FCanvas = nullptr;
    canvas->Free();
}

void TWinControl::PaintBackground(HDC dc, const RECT &rect)
{
    if (!Transparent) {
        FillRect(dc, &rect, Brush()->BrushHandle());
        return;
    }
    // What the parent would paint there, moved to our coordinates.
    if (!Handle || !Parent || !Parent->Handle)
        return;
    POINT origin{0, 0};
    MapWindowPoints(Handle, Parent->Handle, &origin, 1);
    POINT old{};
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    SendMessageA(Parent->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void TWinControl::SetColor(uint32_t color)
{
    if (color == Color)
        return;
    Color = color;
    if (FBrush)
        FBrush->SetColor(color);
    if (FCanvas && FCanvas->HasBrush())
        FCanvas->Brush()->SetColor(color);
    Invalidate(this);
}

void TWinControl::SetStyle(DWORD style)
{
    if (style == Style)
        return;
    Style = style;
    if (Handle) {
        SetWindowLongA(Handle, GWL_STYLE, static_cast<LONG>(style));
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Invalidate(this);
    }
}

void TWinControl::SetExStyle(DWORD exStyle)
{
    if (exStyle == ExStyle)
        return;
    ExStyle = exStyle;
    if (Handle) {
        SetWindowLongA(Handle, GWL_EXSTYLE, static_cast<LONG>(exStyle));
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        Invalidate(this);
    }
}

void TWinControl::SetCtl3D(bool threeD)
{
    if (threeD == Ctl3D)
        return;
    Ctl3D = threeD;
    if (threeD) {
        SetStyle(Style & ~WS_BORDER);
        SetExStyle(ExStyle | WS_EX_CLIENTEDGE);
    } else {
        SetStyle(Style | WS_BORDER);
        SetExStyle(ExStyle & ~WS_EX_CLIENTEDGE);
    }
}

void TWinControl::SetCursorId(int id)
{
    if (id == CursorId)
        return;
    CursorId = id;
    SetCursorHandle(id ? LoadCursorA(nullptr, MAKEINTRESOURCEA(id)) : nullptr);
}

void TWinControl::SetCursorHandle(HCURSOR cursor)
{
    if (cursor == Cursor)
        return;
    Cursor = cursor;
    if (!Handle || !cursor)
        return;
    POINT mouse{};
    if (GetCursorPos(&mouse) && WindowFromPoint(mouse) == Handle)
        ::SetCursor(cursor);
}

void TWinControl::SetTabStop(bool tabStop)
{
    TabStop = tabStop;
    SetStyle(tabStop ? (Style | WS_TABSTOP) : (Style & ~WS_TABSTOP));
}

void TWinControl::SetTabOrder(int tabOrder)
{
    if (tabOrder == TabOrder)
        return;
    // Room at the new place: the siblings from there on move up by one.
    if (Parent && tabOrder > 0) {
        for (TWinControl *sibling : Parent->Children)
            if (sibling != this && sibling->TabOrder >= tabOrder)
                ++sibling->TabOrder;
    }
    TabOrder = tabOrder;
}

void TWinControl::SetAlign(uint8_t align)
{
    if (align == Align)
        return;
    Align = align;
    RunAlignHook(Parent);
}

void TWinControl::SetClipRegion(HRGN region)
{
    if (region == ClipRgn)
        return;
    DeleteRegion(ClipRgn);
    ClipRgn = region;
}

LRESULT TWinControl::WindowProc(MSG &msg)
{
    // Held for the whole message: whatever frees the object meanwhile (a handler, the
    // destroy and release rules) leaves it alive until the message is done with.
    AddRef();
    LRESULT result = 0;
    bool claimed = false;

    // 1.
    if (PreMessageHook)
        claimed = PreMessageHook(this, msg, result);
    // 2.
    if (!claimed && LoopRunning && AppWindow && AppWindow != this && AppWindow->OnMessage)
        claimed = AppWindow->OnMessage(AppWindow, msg, result);
    // 3.
    if (!claimed && OnMessage)
        claimed = OnMessage(this, msg, result);
    // 4. Newest first; the walker's own hold lets a handler free the control.
    if (!claimed && !Handlers.empty()) {
        AddRef();
        for (size_t i = Handlers.size(); i-- > 0 && !claimed;) {
            if (i >= Handlers.size())
                continue;
            const THandlerEntry entry = Handlers[i];
            if (LoopTerminated && !entry.RunAfterStop)
                continue;
            claimed = entry.Handler(this, msg, result);
        }
        Release();
    }
    // 5.
    if (!claimed && ClassHandler)
        claimed = ClassHandler(this, msg, result);
    // 6, 7.
    if (!claimed && !MessageRule(msg, result))
        result = DefaultProc(msg);

    if (!LoopTerminated && !Destroying && AfterMessage)
        AfterMessage(this, msg, result);
    Release();
    return result;
}

// The layer's own handling of a message nobody claimed. True when it gave the
// result; false leaves the message to the default processing.
bool TWinControl::MessageRule(MSG &msg, LRESULT &result)
{
    // A window without an object of its own gets only the handlers of the
    // application window; its messages must not act on the application window.
    if (msg.hwnd != Handle || !Handle)
        return false;

    switch (msg.message) {
    case WM_CLOSE:
        if (OnCloseQuery) {
            bool accept = true;
            OnCloseQuery(this, accept);
            if (!accept && LoopRunning) {
                result = 0;
                return true;
            }
            OnCloseQuery = TCloseQueryEvent{};
        }
        if (IsMainWindow() || IsAppWindow) {
            if (AppWindow && AppWindow != this)
                Perform(AppWindow, WM_CLOSE, 0, 0);
            PostQuitMessage(0);
            result = 0;
            return true;
        }
        return false;

    case WM_NCDESTROY: {
        RemovePropA(msg.hwnd, SelfProp);
        if (IsAppWindow) {
            result = DefaultProc(msg);
        } else if (IsMainWindow()) {
            PostMessageA(msg.hwnd, WM_LAYER_RELEASE, 0, 0);
            result = DefaultProc(msg);
        } else if (!ChildControl && Parent && Parent->IsAppWindow) {
            Handle = nullptr;
            Destroying = true;
            Free();
            result = 0;
            return true;
        } else {
            result = DefaultProc(msg);
        }
        // The window is gone; the object must not use its handle again.
        Handle = nullptr;
        return true;
    }

    case WM_LAYER_RELEASE:
        Destroying = true;
        Free();
        result = 0;
        return true;

    case WM_SIZE:
        result = DefaultProc(msg);
        SizeState = static_cast<int>(msg.wParam);
        if (!NotAligned)
            RunAlignHook(Parent);
        RunAlignHook(this);
        return true;

    case WM_SHOWWINDOW:
        if (msg.lParam == SW_PARENTCLOSING) {
            if (IsIconic(Handle))
                PendingShowCmd = SW_SHOWMINNOACTIVE;
            else if (IsZoomed(Handle))
                PendingShowCmd = SW_SHOWMAXIMIZED;
            else
                PendingShowCmd = SW_SHOWNOACTIVATE;
            return false;
        }
        if (msg.lParam == SW_PARENTOPENING) {
            if (PendingShowCmd) {
                ShowWindow(Handle, PendingShowCmd);
                PendingShowCmd = 0;
            }
            result = 0;
            return true;
        }
        return false;

    case WM_SYSCOMMAND:
        if ((msg.wParam & 0xFFF0) == SC_MINIMIZE && IsMainWindow() && AppWindow &&
            AppWindow != this) {
            PostMessageA(AppWindow->Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            result = 0;
            return true;
        }
        return false;

    case WM_SETFOCUS:
        if (Enabled() && TabStop) {
            ++gFocusDepth;
            if (gFocusDepth == 1)
                SetFocus(Handle);
            result = DefaultProc(msg);
            --gFocusDepth;
        } else {
            result = 0;
        }
        return true;

    case WM_SETCURSOR:
        if (CursorLock == 0 && !GetCapture() && LOWORD(msg.lParam) == HTCLIENT) {
            HCURSOR cursor = ScreenCursor ? ScreenCursor : Cursor;
            // Without a cursor of our own the class cursor is the right one.
            if (cursor) {
                ::SetCursor(cursor);
                result = 1;
                return true;
            }
        }
        return false;

    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        if (!msg.lParam)
            return false;
        result = SendMessageA(reinterpret_cast<HWND>(msg.lParam), msg.message + WM_LAYER_REFLECT,
                              msg.wParam, msg.lParam);
        return true;

    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(msg.lParam);
        if (from && GetPropA(from, SelfProp)) {
            result = SendMessageA(from, WM_LAYER_COMMAND, msg.wParam, msg.lParam);
            return true;
        }
        return false;
    }

    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
        if (GetFocus() != Handle)
            return false;
        return KeyNavigationRule(this, msg, result);

    case MciNotifyMessage:
        if (MciNotifyHook)
            MciNotifyHook(this, msg, result);
        result = 0;
        return true;

    default:
        return false;
    }
}

LRESULT CALLBACK LayerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;

    TWinControl *control = nullptr;
    if (PendingWindow) {
        control = PendingWindow;
        control->Handle = hwnd;
        SetPropA(hwnd, SelfProp, control);
        PendingWindow = nullptr;
    } else {
        control = static_cast<TWinControl *>(GetPropA(hwnd, SelfProp));
    }

    // A freed object answers nothing; its window goes quietly.
    if (control && control->Destroying && control->Handle == hwnd) {
        if (message == WM_NCDESTROY) {
            RemovePropA(hwnd, SelfProp);
            control->Handle = nullptr;
        }
        return control->DefaultProc(msg);
    }
    if (FatalErrorShowing())
        return control ? control->DefaultProc(msg) : DefWindowProcA(hwnd, message, wParam, lParam);

    if (!control) {
        if (!AppWindow)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        control = AppWindow;
    }
    try {
        return control->WindowProc(msg);
    } catch (...) {
        FatalCurrentException();
    }
}

namespace {

LRESULT CALLBACK ForeignChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(hwnd, PrevProcProp));
    if ((message == WM_ERASEBKGND || message == WM_NCPAINT) && !GetPropA(hwnd, SelfProp)) {
        auto *parent = static_cast<TWinControl *>(GetPropA(GetParent(hwnd), SelfProp));
        if (parent && parent->Transparent)
            return message == WM_ERASEBKGND ? 1 : 0;
    }
    if (!previous)
        return 0;
    const LRESULT result = CallWindowProcA(previous, hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        RemovePropA(hwnd, PrevProcProp);
    return result;
}

} // namespace

void SubclassForeignChildren(TWinControl *control)
{
    if (!control || !control->Handle)
        return;
    for (HWND child = GetWindow(control->Handle, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetPropA(child, PrevProcProp))
            continue;
        const LONG_PTR previous = SetWindowLongPtrA(
            child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignChildProc));
        SetPropA(child, PrevProcProp, reinterpret_cast<HANDLE>(previous));
    }
}

void AddHandler(TWinControl *control, TMessageHandler handler)
{
    AddHandler(control, handler, false);
}

void AddHandler(TWinControl *control, TMessageHandler handler, bool runAfterStop)
{
    if (!control || !handler || HasHandler(control, handler))
        return;
    control->Handlers.push_back(THandlerEntry{handler, runAfterStop});
}

bool HasHandler(const TWinControl *control, TMessageHandler handler)
{
    if (!control)
        return false;
    for (const THandlerEntry &entry : control->Handlers)
        if (entry.Handler == handler)
            return true;
    return false;
}

LRESULT Perform(TWinControl *control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!control || !control->Handle)
        return 0;
    return SendMessageA(control->Handle, message, wParam, lParam);
}

void Invalidate(TWinControl *control)
{
    if (LoopTerminated || !control)
        return;
    if (control->Handle)
        InvalidateRect(control->Handle, nullptr, TRUE);
    if (InvalidateHook)
        InvalidateHook(control);
}

} // namespace winlayer
