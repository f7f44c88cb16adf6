#include "TQorTrayIcon.h"

#include <algorithm>
#include <cstring>

#include "winlayer/WinIcon.h"
#include "winlayer/WinTimer.h"

using namespace winlayer;

namespace {

BOOL ShellNotifyIcon(DWORD Message, NOTIFYICONDATAA *Record)
{
    return Shell_NotifyIconA(Message, Record);
}

constexpr size_t TipLength = 63; // the first layout's tooltip holds 63 characters and a zero

} // namespace

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the notification record of the 32-bit program is 88 bytes");
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "and the balloon's record 488 bytes");
#endif

TQorTrayIcon::TNotifyProc TQorTrayIcon::NotifyIcon = &ShellNotifyIcon;

UINT TQorTrayIcon::TaskbarCreated()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

TQorTrayIcon::TQorTrayIcon(TWinControl *FormControl) : Form(FormControl)
{
    PrevHandler = Form->OnMessage;
    Form->OnMessage = OwnHandler();
    PrevDestroy = Form->OnDestroy;
    Form->OnDestroy = TControlHook{&FormGone, this};
}

TQorTrayIcon::~TQorTrayIcon()
{
    if (RetryTimer) {
        RetryTimer->OnTimer = {};
        RetryTimer->Free();
    }
    // The form's window usually went first and took the icon with it; when this
    // element goes first it must leave nothing behind in the tray or on the form.
    if (FormFreed)
        return;
    if (Form->OnDestroy == TControlHook{&FormGone, this})
        Form->OnDestroy = PrevDestroy;
    if (Form->OnMessage == OwnHandler())
        Form->OnMessage = PrevHandler;
    DropIcon();
}

TMessageHandler TQorTrayIcon::OwnHandler()
{
    return TMessageHandler{&Messages, this};
}

void TQorTrayIcon::FormGone(void *Self, TWinControl *Sender)
{
    auto *self = static_cast<TQorTrayIcon *>(Self);
    self->DropIcon();
    self->FormFreed = true;
    if (self->PrevDestroy)
        self->PrevDestroy(Sender);
}

HICON TQorTrayIcon::FormIcon() const
{
    if (Form->Icon && Form->Icon != NoIcon())
        return Form->Icon;
    if (Application && Application != Form && Application->Icon && Application->Icon != NoIcon())
        return Application->Icon;
    return LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
}

void TQorTrayIcon::SetTip(const std::string &Text)
{
    std::memset(Record.szTip, 0, sizeof Record.szTip);
    std::memcpy(Record.szTip, Text.data(), std::min(Text.size(), TipLength));
}

void TQorTrayIcon::SetHint(const std::string &Value)
{
    Hint = Value;
}

void TQorTrayIcon::Hide(bool Hiding)
{
    // 1.
    if (Hiding) {
        Form->SetVisible(false);
        if (Form->Parent)
            Form->Parent->SetVisible(false);
        CallEventNull(onHide);
    }
    // 2.
    if (IconAdded)
        return;
    // 3. An icon still waiting for the shell keeps its record: that is the
    // state of the moment.
    if (!IconWanted) {
        Record.cbSize = NOTIFYICONDATAA_V1_SIZE;
        Record.hWnd = Form->GetHandle();
        Record.uID = 1;
        Record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        Record.uCallbackMessage = CallbackMessage;
        Record.hIcon = FormIcon();
        SetTip(Hint);
        IconWanted = 1;
        // A program run as administrator would not hear from the user's Explorer otherwise.
        ChangeWindowMessageFilterEx(Record.hWnd, TaskbarCreated(), MSGFLT_ALLOW, nullptr);
    }
    // 4.
    AddIcon();
}

// The shell may also time out on an add that it still carries out: a modify
// that works then tells that it has the icon.
void TQorTrayIcon::AddIcon()
{
    if (NotifyIcon(NIM_ADD, &Record) || NotifyIcon(NIM_MODIFY, &Record)) {
        IconAdded = 1;
        StopRetry();
        std::vector<std::string> waiting;
        waiting.swap(PendingBalloons);
        for (const std::string &text : waiting)
            ShowBalloon(text);
        return;
    }
    IconAdded = 0;
    if (!RetryTimer) {
        RetryTimer = winlayer::NewObject<winlayer::TWinTimer>(RetryPeriod);
        RetryTimer->OnTimer = {&TQorTrayIcon::RetryTick, this};
    }
    if (!RetryTimer->Enabled()) {
        Retries = 0;
        RetryTimer->SetPeriod(RetryPeriod);
        RetryTimer->SetEnabled(true);
    }
}

void TQorTrayIcon::RetryTick(void *Self, winlayer::TWinTimer *)
{
    auto *self = static_cast<TQorTrayIcon *>(Self);
    if (!self->IconWanted || self->IconAdded) {
        self->StopRetry();
        return;
    }
    if (++self->Retries == FastRetries)
        self->RetryTimer->SetPeriod(self->RetryPeriod * 12);
    self->AddIcon();
}

void TQorTrayIcon::StopRetry()
{
    if (RetryTimer)
        RetryTimer->SetEnabled(false);
}

// Takes the icon out of the tray, or takes back an add still waiting for the shell.
void TQorTrayIcon::DropIcon()
{
    if (IconAdded)
        NotifyIcon(NIM_DELETE, &Record);
    IconAdded = 0;
    IconWanted = 0;
    StopRetry();
}

void TQorTrayIcon::Restore(bool Remove)
{
    // 1.
    if (!IconAdded)
        return;
    // 2.
    if (Remove)
        DropIcon();
    // 3.
    if (Application && Application != Form)
        Application->SetVisible(true);
    Form->SetVisible(true);
    SetForegroundWindow(Form->Handle);
}

void TQorTrayIcon::doHide(TData &, uint16_t)
{
    Hide(true);
}

void TQorTrayIcon::doShowIcon(TData &, uint16_t)
{
    Hide(false);
}

void TQorTrayIcon::doRestore(TData &, uint16_t)
{
    Restore(!KeepIcon);
}

void TQorTrayIcon::doHint(TData &Data, uint16_t)
{
    Hint = ToString(Data);
    SetTip(Hint);
    NotifyIcon(NIM_MODIFY, &Record);
}

void TQorTrayIcon::doSetIcon(TData &Data, uint16_t)
{
    if (IsIcon(Data))
        Record.hIcon = AsIcon(Data) ? AsIcon(Data)->Handle() : nullptr;
    else
        Record.hIcon = FormIcon();
    NotifyIcon(NIM_MODIFY, &Record);
}

void TQorTrayIcon::CallbackEvents(LPARAM MouseMessage)
{
    switch (MouseMessage) {
    case WM_MOUSEMOVE: CallEventNull(onMouseMove); break;
    case WM_LBUTTONDOWN: CallEventInt(onMouseDown, 0); break;
    case WM_LBUTTONUP:
        CallEventInt(onMouseUp, 0);
        CallEventInt(onClick, 0);
        break;
    case WM_LBUTTONDBLCLK: CallEventInt(onDblClick, 0); break;
    case WM_RBUTTONDOWN: CallEventInt(onMouseDown, 1); break;
    case WM_RBUTTONUP:
        CallEventInt(onClick, 1);
        CallEventInt(onMouseUp, 1);
        break;
    case WM_RBUTTONDBLCLK: CallEventInt(onDblClick, 1); break;
    case WM_MBUTTONDOWN: CallEventInt(onMouseDown, 2); break;
    case WM_MBUTTONUP:
        CallEventInt(onClick, 2);
        CallEventInt(onMouseUp, 2);
        break;
    case WM_MBUTTONDBLCLK: CallEventInt(onDblClick, 2); break;
    case WM_USER + 2: CallEventNull(onBalloonShow); break;
    case WM_USER + 4: CallEventNull(onBalloonTimeout); break;
    case WM_USER + 5: CallEventNull(onBalloonClick); break;
    default: break;
    }
}

bool TQorTrayIcon::Messages(void *Self, TWinControl *Sender, MSG &Msg, LRESULT &Result)
{
    auto *self = static_cast<TQorTrayIcon *>(Self);
    // The handler after ours, taken now: WM_DESTROY puts it back on the form.
    const TMessageHandler previous = self->PrevHandler;
    bool handled = false;

    // Explorer (re)started with an empty notification area.
    if (Msg.message == TaskbarCreated() && Msg.message != 0 && self->IconWanted) {
        self->IconAdded = 0;
        self->AddIcon();
    }

    switch (Msg.message) {
    case WM_DESTROY:
        // The form is going: only the icon is taken away, nothing is shown again.
        self->DropIcon();
        if (Sender->OnMessage == self->OwnHandler())
            Sender->OnMessage = previous;
        break;
    case WM_CLOSE:
        if (self->CloseToTray && Msg.lParam == 0) {
            SendMessageA(Msg.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, -1);
            Result = 0;
            handled = true;
        }
        break;
    case WM_SETICON:
        self->Record.hIcon = self->FormIcon();
        NotifyIcon(NIM_MODIFY, &self->Record);
        break;
    case WM_SYSCOMMAND:
        if (Msg.wParam == SC_MINIMIZE &&
            ((self->CloseToTray && Msg.lParam == -1) || !self->MinimizeNormally)) {
            self->Hide(true);
            Result = 0;
            handled = true;
        } else if (Msg.wParam == SC_RESTORE) {
            self->Restore(true);
        }
        break;
    case CallbackMessage:
        self->CallbackEvents(Msg.lParam);
        break;
    default:
        break;
    }

    if (handled)
        return true;
    if (previous)
        return previous(Sender, Msg, Result);
    return false;
}

void TQorTrayIcon::doBalloon(TData &Data, uint16_t)
{
    if (IconAdded)
        return ShowBalloon(ToString(Data));
    // The last few are news enough.
    if (PendingBalloons.size() == MaxPendingBalloons)
        PendingBalloons.erase(PendingBalloons.begin());
    PendingBalloons.push_back(ToString(Data));
}

void TQorTrayIcon::ShowBalloon(const std::string &Text)
{
    NOTIFYICONDATAA balloon = Record;
    balloon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    balloon.hWnd = Form->GetHandle();
    balloon.uID = 1;
    balloon.uFlags = NIF_INFO; // the icon and the tooltip stay as they are
    balloon.hIcon = nullptr;
    std::memset(balloon.szTip, 0, sizeof balloon.szTip);
    std::memset(balloon.szInfo, 0, sizeof balloon.szInfo);
    std::memcpy(balloon.szInfo, Text.data(), std::min(Text.size(), sizeof balloon.szInfo - 1));
    std::memset(balloon.szInfoTitle, 0, sizeof balloon.szInfoTitle);
    std::memcpy(balloon.szInfoTitle, BalloonTitle.data(),
                std::min(BalloonTitle.size(), sizeof balloon.szInfoTitle - 1));
    balloon.uTimeout = 10000;
    balloon.dwInfoFlags = NIIF_WARNING;
    NotifyIcon(NIM_MODIFY, &balloon);
}
