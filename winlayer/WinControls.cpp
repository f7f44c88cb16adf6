// Child controls, the events of controls and the handlers that raise them,
// keyboard navigation and fitting labels to their text.
#include <climits>

#include "winlayer/GdiCount.h"
#include "winlayer/WinControl.h"

namespace winlayer {

namespace {

UINT_PTR gLastControlId = 0;

bool IsReflectedColor(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX + WM_LAYER_REFLECT &&
           message <= WM_CTLCOLORSTATIC + WM_LAYER_REFLECT;
}

// --- The handlers behind the events. Each acts on messages of the control's own window.

bool PaintMessages(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    if ((msg.message != WM_PAINT && msg.message != WM_PRINTCLIENT) || !sender->OnPaint ||
        msg.hwnd != sender->Handle)
        return false;
    HWND window = sender->Handle;

    // The update region; an empty one or a failure is dropped.
    HRGN update = NewRectRegion(0, 0, 0, 0);
    const int updateKind = GetUpdateRgn(window, update, sender->EraseOnPaint);
    if (updateKind == NULLREGION || updateKind == ERROR) {
        DeleteRegion(update);
        update = nullptr;
    }
    sender->UpdateRgn = update;

    // The control's own clip, within what needs painting. A complicated result is
    // not worth the trouble: the whole client area is painted again instead.
    HRGN clip = nullptr;
    if (sender->ClipRgn) {
        clip = NewRectRegion(0, 0, 0, 0);
        const int clipKind = update ? CombineRgn(clip, sender->ClipRgn, update, RGN_AND)
                                    : CombineRgn(clip, sender->ClipRgn, nullptr, RGN_COPY);
        if (clipKind == COMPLEXREGION) {
            DeleteRegion(clip);
            RECT client{};
            GetClientRect(window, &client);
            clip = GdiCounted(CreateRectRgnIndirect(&client));
            InvalidateRgn(window, clip, sender->EraseOnPaint);
        }
    }

    PAINTSTRUCT paint{};
    HDC dc = reinterpret_cast<HDC>(msg.wParam);
    const bool began = dc == nullptr;
    if (began)
        dc = BeginPaint(window, &paint);
    // A context the canvas took outside the cycle goes back: during it the canvas
    // draws on the paint context.
    if (sender->MadeCanvas())
        sender->MadeCanvas()->Release();
    HDC outerPaint = sender->PaintDC;
    sender->PaintDC = dc;
    int saved = 0;
    if (clip) {
        saved = SaveDC(dc);
        SelectClipRgn(dc, clip);
    }

    sender->OnPaint(sender, dc);

    if (sender->MadeCanvas())
        sender->MadeCanvas()->Release();
    if (saved)
        RestoreDC(dc, saved);
    sender->PaintDC = outerPaint;
    if (began)
        EndPaint(window, &paint);
    DeleteRegion(clip);
    DeleteRegion(update);
    sender->UpdateRgn = nullptr;
    result = 0;
    return true;
}

bool SizeMessages(void *, TWinControl *sender, MSG &msg, LRESULT &)
{
    if (msg.message == WM_SIZE && msg.hwnd == sender->Handle && sender->OnResize)
        sender->OnResize(sender);
    return false;
}

bool MouseMessages(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    if (msg.hwnd != sender->Handle)
        return false;
    TMouseEvent event;
    TMouseEventData mouse;
    switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        event = sender->OnMouseDown;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        event = sender->OnMouseUp;
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        event = sender->OnMouseDblClk;
        break;
    case WM_MOUSEMOVE:
        event = sender->OnMouseMove;
        break;
    case WM_MOUSEWHEEL:
        event = sender->OnMouseWheel;
        break;
    default:
        return false;
    }
    if (!event)
        return false;
    switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        mouse.Button = mbLeft;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        mouse.Button = mbRight;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        mouse.Button = mbMiddle;
        break;
    default:
        mouse.Button = mbNone;
        break;
    }
    mouse.KeyState = MouseKeyState(msg.wParam, GetKeyState(VK_MENU) < 0);
    POINT at{static_cast<int16_t>(LOWORD(msg.lParam)), static_cast<int16_t>(HIWORD(msg.lParam))};
    // The wheel comes with a screen position; the record holds client positions.
    if (msg.message == WM_MOUSEWHEEL)
        ScreenToClient(sender->Handle, &at);
    mouse.X = static_cast<int16_t>(at.x);
    mouse.Y = static_cast<int16_t>(at.y);
    event(sender, mouse);
    if (!mouse.Handled)
        return false;
    result = 0;
    return true;
}

bool EnterLeaveMessages(void *, TWinControl *sender, MSG &msg, LRESULT &)
{
    if (msg.hwnd != sender->Handle)
        return false;
    if (msg.message == WM_MOUSEMOVE && !sender->MouseInside) {
        sender->MouseInside = true;
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = sender->Handle;
        TrackMouseEvent(&track);
        if (sender->OnMouseEnter)
            sender->OnMouseEnter(sender);
    } else if (msg.message == WM_MOUSELEAVE && sender->MouseInside) {
        sender->MouseInside = false;
        if (sender->OnMouseLeave)
            sender->OnMouseLeave(sender);
    }
    return false;
}

bool KeyMessages(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    if (msg.hwnd != sender->Handle)
        return false;
    TKeyEvent event;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        event = sender->OnKeyDown;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        event = sender->OnKeyUp;
        break;
    case WM_CHAR:
        event = sender->OnChar;
        break;
    default:
        return false;
    }
    if (!event)
        return false;
    int key = static_cast<int>(msg.wParam);
    event(sender, key);
    if (key == 0) {
        result = 0;
        return true;
    }
    msg.wParam = static_cast<WPARAM>(key);
    return false;
}

bool ShowMessages(void *, TWinControl *sender, MSG &msg, LRESULT &)
{
    if (msg.message != WM_SHOWWINDOW || msg.hwnd != sender->Handle)
        return false;
    const bool wasVisible = IsWindowVisible(sender->Handle) != 0;
    if (msg.wParam && !wasVisible && sender->OnShow)
        sender->OnShow(sender);
    else if (!msg.wParam && wasVisible && sender->OnHide)
        sender->OnHide(sender);
    if (msg.wParam)
        sender->Style |= WS_VISIBLE;
    else
        sender->Style &= ~WS_VISIBLE;
    return false;
}

// A transparent control shows what its parent paints under it.
bool TransparentMessages(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    if (msg.message != WM_ERASEBKGND || !sender->Transparent || msg.hwnd != sender->Handle)
        return false;
    RECT client{};
    GetClientRect(sender->Handle, &client);
    sender->PaintBackground(reinterpret_cast<HDC>(msg.wParam), client);
    result = 1;
    return true;
}

void AddTransparentHandler(TWinControl *control)
{
    AddHandler(control, TMessageHandler{&TransparentMessages, nullptr});
}

// The form a control is on: the nearest ancestor that is not a child control.
TWinControl *FormOf(TWinControl *control)
{
    while (control && control->ChildControl)
        control = control->Parent;
    return control;
}

void CollectTabStops(TWinControl *parent, std::vector<TWinControl *> &stops)
{
    for (TWinControl *child : parent->Children) {
        if (!child->ChildControl)
            continue;
        if (child->TabStop && child->Enabled() && child->Visible())
            stops.push_back(child);
        CollectTabStops(child, stops);
    }
}

} // namespace

const TMessageHandler ChildHandler{&ChildMessages, nullptr};

UINT_PTR NextControlId()
{
    return ++gLastControlId;
}

bool ChildMessages(void *, TWinControl *sender, MSG &msg, LRESULT &result)
{
    if (IsReflectedColor(msg.message)) {
        HDC dc = reinterpret_cast<HDC>(msg.wParam);
        const uint32_t textColor = sender->MadeFont() ? sender->MadeFont()->Color() : clWindowText;
        SetTextColor(dc, ColorToRGB(textColor));
        if (sender->Transparent) {
            SetBkMode(dc, TRANSPARENT);
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        } else {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, ColorToRGB(sender->Color));
            result = reinterpret_cast<LRESULT>(sender->Brush()->Handle());
        }
        return true;
    }
    if (msg.message == WM_LAYER_COMMAND) {
        if (HIWORD(msg.wParam) == sender->ClickCode && sender->OnClick)
            sender->OnClick(sender);
        return false;
    }
    return false;
}

TWinControl *NewLabel(TWinControl *parent, const std::string &caption)
{
    TWinControl *label = NewObject<TWinControl>(parent, "STATIC");
    label->StandardClass = true;
    label->ChildControl = true;
    label->ControlId = NextControlId();
    label->Style = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP |
                   WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    label->Bounds = RECT{0, 0, 64, 22};
    label->PositionSet = true;
    label->ClickCode = STN_CLICKED;
    AddHandler(label, ChildHandler);
    label->SetCaption(caption);
    return label;
}

void TWinControl::SetOnPaint(TPaintEvent event)
{
    OnPaint = event;
    AddHandler(this, TMessageHandler{&PaintMessages, nullptr});
}

void TWinControl::SetOnResize(TControlHook event)
{
    OnResize = event;
    AddHandler(this, TMessageHandler{&SizeMessages, nullptr});
}

void TWinControl::SetOnMouseDown(TMouseEvent event)
{
    OnMouseDown = event;
    AddHandler(this, TMessageHandler{&MouseMessages, nullptr});
}

void TWinControl::SetOnMouseUp(TMouseEvent event)
{
    OnMouseUp = event;
    AddHandler(this, TMessageHandler{&MouseMessages, nullptr});
}

void TWinControl::SetOnMouseMove(TMouseEvent event)
{
    OnMouseMove = event;
    AddHandler(this, TMessageHandler{&MouseMessages, nullptr});
}

void TWinControl::SetOnMouseDblClk(TMouseEvent event)
{
    OnMouseDblClk = event;
    AddHandler(this, TMessageHandler{&MouseMessages, nullptr});
}

void TWinControl::SetOnMouseWheel(TMouseEvent event)
{
    OnMouseWheel = event;
    AddHandler(this, TMessageHandler{&MouseMessages, nullptr});
}

void TWinControl::SetOnMouseEnter(TControlHook event)
{
    OnMouseEnter = event;
    AddHandler(this, TMessageHandler{&EnterLeaveMessages, nullptr});
}

void TWinControl::SetOnMouseLeave(TControlHook event)
{
    OnMouseLeave = event;
    AddHandler(this, TMessageHandler{&EnterLeaveMessages, nullptr});
}

void TWinControl::SetOnKeyDown(TKeyEvent event)
{
    OnKeyDown = event;
    AddHandler(this, TMessageHandler{&KeyMessages, nullptr});
}

void TWinControl::SetOnKeyUp(TKeyEvent event)
{
    OnKeyUp = event;
    AddHandler(this, TMessageHandler{&KeyMessages, nullptr});
}

void TWinControl::SetOnChar(TKeyEvent event)
{
    OnChar = event;
    AddHandler(this, TMessageHandler{&KeyMessages, nullptr});
}

void TWinControl::SetOnClick(TControlHook event)
{
    OnClick = event;
}

void TWinControl::SetOnShow(TControlHook event)
{
    OnShow = event;
    AddHandler(this, TMessageHandler{&ShowMessages, nullptr});
}

void TWinControl::SetOnHide(TControlHook event)
{
    OnHide = event;
    AddHandler(this, TMessageHandler{&ShowMessages, nullptr});
}

void TWinControl::SetTransparent(bool transparent)
{
    if (transparent == Transparent)
        return;
    Transparent = transparent;
    if (transparent) {
        AddTransparentHandler(this);
        SubclassForeignChildren(this);
    }
    Invalidate(this);
}

void FitToText(void *, TWinControl *control)
{
    HWND window = control->Handle;
    // Measured with the font the window draws with.
    HFONT font = nullptr;
    if (window)
        font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    else if (control->MadeFont())
        font = control->MadeFont()->FontHandle();
    if (!font)
        font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));

    HDC dc = GdiGetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    RECT text{0, 0, 0, 0};
    if (control->Caption.empty()) {
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        text.bottom = metrics.tmHeight;
    } else {
        UINT format = DT_CALCRECT | DT_EXPANDTABS;
        if (control->Style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
        DrawTextA(dc, control->Caption.data(), static_cast<int>(control->Caption.size()), &text,
                  format);
    }
    SelectObject(dc, old);
    GdiReleaseDC(window, dc);

    const RECT bounds = control->BoundsRect();
    const TSize2 size = FitToTextSize(TSize2{text.right - text.left, text.bottom - text.top},
                                      TSize2{bounds.right - bounds.left, bounds.bottom - bounds.top},
                                      control->Align);
    control->SetBounds(bounds.left, bounds.top, size.Width, size.Height);
}

void SetAutoSize(TWinControl *control, bool autoSize)
{
    if (!autoSize) {
        control->AutoSizeHook = {};
        return;
    }
    control->AutoSizeHook = {&FitToText, nullptr};
    FitToText(nullptr, control);
}

TWinControl *TabNavigate(TWinControl *form, TWinControl *current, bool backwards)
{
    std::vector<TWinControl *> stops;
    CollectTabStops(form, stops);
    std::vector<int> orders;
    for (TWinControl *stop : stops)
        orders.push_back(stop->TabOrder);
    int from = backwards ? INT_MAX : INT_MIN;
    if (current)
        from = current->TabOrder;
    const int index = NextTabIndex(orders, from, backwards);
    if (index < 0)
        return nullptr;
    TWinControl *next = stops[static_cast<size_t>(index)];
    SetFocus(next->GetHandle());
    form->FocusChild = next;
    return next;
}

bool KeyNavigationRule(TWinControl *control, MSG &msg, LRESULT &result)
{
    // Child controls take Tab as navigation, on forms that have it switched on.
    if (!control->ChildControl || msg.wParam != VK_TAB)
        return false;
    TWinControl *form = FormOf(control);
    if (!form || !form->KeyNavigation)
        return false;
    switch (msg.message) {
    case WM_KEYDOWN:
        TabNavigate(form, control, GetAsyncKeyState(VK_SHIFT) < 0);
        result = 0;
        return true;
    case WM_KEYUP:
    case WM_CHAR:
        result = 0;
        return true;
    default:
        return false;
    }
}

} // namespace winlayer
