#include "TQorWin.h"

using namespace winlayer;

namespace {

// The global hint manager comes into being with this unit, as the common
// controls must be ready before any element asks for a tooltip.
const bool HintManagerReady = (HintManager(), true);

TQorMouseRecord RecordOf(const TMouseEventData &Mouse)
{
    TQorMouseRecord record;
    record.Button = Mouse.Button;
    record.KeyState = Mouse.KeyState;
    record.X = Mouse.X;
    record.Y = Mouse.Y;
    return record;
}

} // namespace

TQorWin::TQorWin(TWinControl *ParentControl) : Parent(ParentControl)
{
    (void)HintManagerReady;
    if (Parent)
        Color = Parent->Color;
}

TQorWin::~TQorWin()
{
    if (Layout) {
        if (Layout->ReleaseControl)
            Layout->ReleaseControl(Control);
        else
            --Layout->RefCount;
    }
    if (!ControlGone) {
        if (Companion)
            Companion->Free();
        if (Control) {
            // The element is going: nothing the control still does may reach it.
            if (Control->OnMessage == TMessageHandler{&Messages, this})
                Control->OnMessage = PrevHandler;
            Control->OnMouseDown = Control->OnMouseMove = Control->OnMouseUp = {};
            Control->OnMouseWheel = Control->OnMouseDblClk = {};
            Control->OnMouseEnter = Control->OnMouseLeave = {};
            Control->OnKeyDown = Control->OnKeyUp = Control->OnChar = {};
            Control->OnResize = Control->OnShow = Control->OnHide = {};
            Control->OnPaint = {};
            Control->OnClick = {};
            if (Control->OnDestroy == TControlHook{&Destroyed, this})
                Control->OnDestroy = {};
            Control->SetVisible(false);
            Control->Free();
        }
    }
    if (HintHandle && HintInterface)
        HintInterface->DestroyHint(HintHandle);
}

TWinControl *TQorWin::ProvideControl(void *Self)
{
    return static_cast<TQorWin *>(Self)->Control;
}

TControlProvider *TQorWin::GetControl()
{
    return &ControlProvider;
}

void TQorWin::Init()
{
    // 1.
    ControlProvider = TControlProvider{&ProvideControl, this};

    // 2.
    Control->SetColor(Color);
    const RECT bounds = Control->BoundsRect();
    Control->SetBounds(Left, Top, Width ? Width : bounds.right - bounds.left,
                       Height ? Height : bounds.bottom - bounds.top);

    // 3.
    if (Ctl3D == 0 && !Control->Ctl3D)
        Control->SetCtl3D(true);
    else if (Ctl3D == 1 && Control->Ctl3D)
        Control->SetCtl3D(false);

    // 4.
    Control->SetTransparent(Transparent != 0);
    Control->SetEnabled(Enabled != 0);
    Control->SetCursorId(static_cast<int>(Cursor));

    // 5.
    TWinGraphicTool *font = Control->Font();
    if (ParentFont && Parent) {
        font->Assign(Parent->Font());
    } else {
        font->SetColor(Font.FontColor);
        font->SetFontStyle(Font.FontStyle);
        font->SetFontName(Font.FontName);
        font->SetFontHeight(PointsToHeight(Font.FontSize));
        font->SetFontCharset(Font.FontCharset);
    }

    // 6.
    if (TabOrder > 0) {
        Control->SetStyle(Control->Style | WS_TABSTOP);
        Control->SetTabStop(true);
        Control->SetTabOrder(TabOrder);
    } else if (TabOrder == 0) {
        Control->SetTabStop(false);
    } else {
        Control->TabStop = false;
    }

    // 7.
    PrevHandler = Control->OnMessage;
    Control->SetOnMouseDown(TMouseEvent{&MouseDownEvent, this});
    Control->SetOnMouseMove(TMouseEvent{&MouseMoveEvent, this});
    Control->SetOnMouseUp(TMouseEvent{&MouseUpEvent, this});
    Control->SetOnMouseWheel(TMouseEvent{&MouseWheelEvent, this});
    Control->SetOnMouseDblClk(TMouseEvent{&DblClickEvent, this});
    Control->OnMessage = TMessageHandler{&Messages, this};
    Control->OnDestroy = TControlHook{&Destroyed, this};
    Control->SetOnKeyDown(TKeyEvent{&KeyDownWrapper, this});
    Control->SetOnKeyUp(TKeyEvent{&KeyUpWrapper, this});
    Control->SetOnChar(TKeyEvent{&CharWrapper, this});
    Control->SetOnResize(TControlHook{&ResizeEvent, this});
    Control->SetOnShow(TControlHook{&ShowEvent, this});
    Control->SetOnHide(TControlHook{&HideEvent, this});

    // 8.
    Control->SetAlign(Align);

    // 9.
    if (Control->Handle)
        SetWindowPos(Control->Handle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOOWNERZORDER);
    Control->SetVisible(Visible != 0);
    Control->GetHandle();

    // 10. The companion factory is a hook nothing in this program fills.

    // 11.
    if (Ctl3D == 0) {
        switch (EdgeStyle) {
        case 1: Control->SetExStyle(0); break;
        case 2: Control->SetExStyle(WS_EX_STATICEDGE); break;
        case 3: Control->SetExStyle(WS_EX_DLGMODALFRAME); break;
        case 4: Control->SetExStyle(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE); break;
        default: break;
        }
    }
}

void TQorWin::AttachHint(THintInterface *Interface)
{
    if (Interface) {
        TrackEnterLeave();
        HintInterface = Interface;
    } else if (!Hint.empty()) {
        HintInterface = HintManager().Interface;
    } else {
        return;
    }
    HintHandle = HintInterface->CreateHint(Control->GetHandle());
    HintInterface->SetHintText(HintHandle, Hint);
}

void TQorWin::AttachLayout(TLayoutRecord *Record)
{
    if (!Record)
        return;
    if (Record->Register)
        Record->Register(Control, LayoutParam1, LayoutParam2);
    Layout = Record;
}

void TQorWin::TrackEnterLeave()
{
    Control->SetOnMouseEnter(TControlHook{&EnterEvent, this});
    Control->SetOnMouseLeave(TControlHook{&LeaveEvent, this});
}

// ---- The slots ----------------------------------------------------------------

void TQorWin::KeyDown(int &Key)
{
    CallEventInt(onKeyDown, Key);
}

void TQorWin::KeyUp(int &Key)
{
    CallEventInt(onKeyUp, Key);
}

void TQorWin::KeyChar(int &Key)
{
    CallEventStr(onKeyPress, std::string(1, static_cast<char>(Key)));
}

void TQorWin::MouseDown(const TQorMouseRecord &Mouse)
{
    LastMouse = Mouse;
    CallEventInt(onMouseDown, Mouse.Button - 1);
    if (MouseCapture) {
        ReleaseCapture();
        SetCapture(Control->Handle);
    }
}

int32_t TQorWin::MoveButton(uint32_t KeyState)
{
    switch (KeyState) {
    case MK_LBUTTON: return 0;
    case MK_RBUTTON: return 1;
    case MK_MBUTTON: return 2;
    default: return -1;
    }
}

void TQorWin::MouseMove(const TQorMouseRecord &Mouse)
{
    // 1.
    if (HintInterface)
        HintInterface->HintMove(HintHandle, LastMouse.X, LastMouse.Y);
    // 2.
    const int32_t button = MoveButton(LastMouse.KeyState);
    // 3.
    LastMouse = Mouse;
    CallEventInt(onMouseMove, button);
}

void TQorWin::MouseEnter()
{
    if (HintInterface)
        HintInterface->HintEnter(HintHandle);
    CallEventNull(onMouseEnter);
}

void TQorWin::MouseLeave()
{
    if (HintInterface)
        HintInterface->HintLeave(HintHandle);
    CallEventNull(onMouseLeave);
}

void TQorWin::MouseUp(const TQorMouseRecord &Mouse)
{
    LastMouse = Mouse;
    CallEventInt(onMouseUp, Mouse.Button - 1);
    if (MouseCapture)
        ReleaseCapture();
}

void TQorWin::MouseWheel(const TQorMouseRecord &Mouse)
{
    LastMouse = Mouse;
    CallEventInt(onMouseWheel, static_cast<int32_t>(Mouse.KeyState) / 65536);
}

void TQorWin::SizeChanging(WINDOWPOS &Pos)
{
    RECT current{};
    GetWindowRect(Control->Handle, &current);
    const int height = current.bottom - current.top;
    const int width = current.right - current.left;
    if (Pos.cy != height) {
        TData answer;
        answer.dtInteger(Pos.cy - height);
        ReadRaw(answer, HeightDelta);
        if (answer.DataType == dtInteger)
            Pos.cy = height + answer.IntValue;
    }
    if (Pos.cx != width) {
        TData answer;
        answer.dtInteger(Pos.cx - width);
        ReadRaw(answer, WidthDelta);
        if (answer.DataType == dtInteger)
            Pos.cx = width + answer.IntValue;
    }
}

bool TQorWin::Message(MSG &Msg, LRESULT &Result)
{
    switch (Msg.message) {
    // 1.
    case WM_MOVE:
        CallEventNull(onMove);
        break;
    // 2.
    case WM_SETFOCUS:
        CallEventNull(onSetFocus);
        break;
    case WM_KILLFOCUS:
        CallEventNull(onKillFocus);
        break;
    // 3.
    case WM_WINDOWPOSCHANGING: {
        auto *pos = reinterpret_cast<WINDOWPOS *>(Msg.lParam);
        if (pos && !(pos->flags & SWP_NOSIZE))
            SizeChanging(*pos);
        break;
    }
    default:
        break;
    }
    // 4.
    if (PrevHandler)
        return PrevHandler(Control, Msg, Result);
    return false;
}

void TQorWin::ControlDestroyed()
{
    ControlGone = 1;
}

void TQorWin::Resized()
{
    CallEventNull(onResize);
}

void TQorWin::Shown()
{
    CallEventNull(onShow);
}

void TQorWin::Hidden()
{
    CallEventNull(onHide);
}

// ---- What the window layer calls ---------------------------------------------

bool TQorWin::Messages(void *Self, TWinControl *Sender, MSG &Msg, LRESULT &Result)
{
    auto *self = static_cast<TQorWin *>(Self);
    // Messages of other windows (the application window asks for everyone's) are
    // passed straight on.
    if (Msg.hwnd != Sender->Handle)
        return self->PrevHandler ? self->PrevHandler(Sender, Msg, Result) : false;
    return self->Message(Msg, Result);
}

void TQorWin::Destroyed(void *Self, TWinControl *)
{
    static_cast<TQorWin *>(Self)->ControlDestroyed();
}

void TQorWin::KeyDownWrapper(void *Self, TWinControl *, int &Key)
{
    auto *self = static_cast<TQorWin *>(Self);
    TWinControl *parent = self->Parent;
    if (self->KeyPreview && parent && parent->OnKeyDown) {
        parent->OnKeyDown(parent, Key);
        if (Key == 0)
            return;
    }
    self->KeyReplacement = -1;
    self->KeyDown(Key);
    if (self->KeyReplacement >= 0)
        Key = self->KeyReplacement;
    else if (Key == 0)
        self->KeyReplacement = 0;
}

void TQorWin::KeyUpWrapper(void *Self, TWinControl *, int &Key)
{
    auto *self = static_cast<TQorWin *>(Self);
    TWinControl *parent = self->Parent;
    if (self->KeyPreview && parent && parent->OnKeyUp) {
        parent->OnKeyUp(parent, Key);
        if (Key == 0)
            return;
    }
    self->KeyReplacement = -1;
    self->KeyUp(Key);
    if (self->KeyReplacement >= 0)
        Key = self->KeyReplacement;
}

void TQorWin::CharWrapper(void *Self, TWinControl *, int &Key)
{
    auto *self = static_cast<TQorWin *>(Self);
    TWinControl *parent = self->Parent;
    if (self->KeyPreview && parent && parent->OnChar) {
        parent->OnChar(parent, Key);
        if (Key == 0)
            return;
    }
    // A key-down that ended as 0 swallows its character too.
    if (self->KeyReplacement != 0) {
        self->KeyReplacement = -1;
        self->KeyChar(Key);
    }
    if (self->KeyReplacement >= 0)
        Key = self->KeyReplacement;
}

void TQorWin::MouseDownEvent(void *Self, TWinControl *, TMouseEventData &Mouse)
{
    static_cast<TQorWin *>(Self)->MouseDown(RecordOf(Mouse));
}

void TQorWin::MouseMoveEvent(void *Self, TWinControl *, TMouseEventData &Mouse)
{
    static_cast<TQorWin *>(Self)->MouseMove(RecordOf(Mouse));
}

void TQorWin::MouseUpEvent(void *Self, TWinControl *, TMouseEventData &Mouse)
{
    static_cast<TQorWin *>(Self)->MouseUp(RecordOf(Mouse));
}

void TQorWin::MouseWheelEvent(void *Self, TWinControl *, TMouseEventData &Mouse)
{
    static_cast<TQorWin *>(Self)->MouseWheel(RecordOf(Mouse));
}

void TQorWin::DblClickEvent(void *Self, TWinControl *, TMouseEventData &Mouse)
{
    CallEventInt(static_cast<TQorWin *>(Self)->onDblClick, Mouse.Button - 1);
}

void TQorWin::EnterEvent(void *Self, TWinControl *)
{
    static_cast<TQorWin *>(Self)->MouseEnter();
}

void TQorWin::LeaveEvent(void *Self, TWinControl *)
{
    static_cast<TQorWin *>(Self)->MouseLeave();
}

void TQorWin::ResizeEvent(void *Self, TWinControl *)
{
    static_cast<TQorWin *>(Self)->Resized();
}

void TQorWin::ShowEvent(void *Self, TWinControl *)
{
    static_cast<TQorWin *>(Self)->Shown();
}

void TQorWin::HideEvent(void *Self, TWinControl *)
{
    static_cast<TQorWin *>(Self)->Hidden();
}
