#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/TPointLink.h"
#include "winlayer/WinControl.h"

namespace winlayer {
class TWinTimer;
}

// Puts an icon for a form into the notification area, hides the form into it
// and brings it back. It has no window of its own: it hooks into the message
// handling of the form's control, so it must be made after the form's Init.
//
// The shell may not take the icon: at logon it is often not ready yet, and
// when Explorer restarts every icon is gone. So the icon counts as added only
// when the shell took it; an add it refused is tried again by a timer, and
// the shell's "TaskbarCreated" adds the icon again. Every new try carries the
// icon and tooltip of the moment.
class TQorTrayIcon : public TElement {
public:
    explicit TQorTrayIcon(winlayer::TWinControl *FormControl);
    ~TQorTrayIcon();
    TQorTrayIcon(const TQorTrayIcon &) = delete;
    TQorTrayIcon &operator=(const TQorTrayIcon &) = delete;

    winlayer::TWinControl *Form; // not owned
    NOTIFYICONDATAA Record{};    // its first layout: cbSize NOTIFYICONDATAA_V1_SIZE
    uint8_t IconAdded = 0;       // the shell has the icon
    winlayer::TMessageHandler PrevHandler;
    std::string Hint;
    uint8_t CloseToTray = 0;      // a user's close hides the form into the tray
    uint8_t MinimizeNormally = 0; // zero: minimising hides the form into the tray
    uint8_t KeepIcon = 0;         // doRestore leaves the icon in the tray

    TPointLink onDblClick;
    TPointLink onHide;
    TPointLink onClick;
    TPointLink onMouseDown;
    TPointLink onMouseMove;
    TPointLink onMouseUp;
    TPointLink onBalloonShow;
    TPointLink onBalloonTimeout;
    TPointLink onBalloonClick;

    void SetHint(const std::string &Value);

    // A notification balloon from the icon: the incoming value's string as
    // its text, under BalloonTitle. It needs the larger record of Windows 2000
    // and later (NIF_INFO); only this request carries it, in a copy, so every
    // other request keeps the first layout. While the shell does not have the
    // icon yet (as at logon) balloons wait in PendingBalloons and go, in
    // order, once it has.
    std::string BalloonTitle;
    std::vector<std::string> PendingBalloons;
    static constexpr size_t MaxPendingBalloons = 4;
    void doBalloon(TData &Data, uint16_t Index);

    void doHide(TData &Data, uint16_t Index);
    void doShowIcon(TData &Data, uint16_t Index);
    void doRestore(TData &Data, uint16_t Index);
    void doHint(TData &Data, uint16_t Index);
    void doSetIcon(TData &Data, uint16_t Index);

    // An icon is asked for and not taken back: until the shell has it, it is
    // tried again, every RetryPeriod ms for the first FastRetries tries (the
    // first three minutes), then every twelve periods.
    uint8_t IconWanted = 0;
    int32_t RetryPeriod = 5000;
    static constexpr int FastRetries = 36;
    winlayer::TWinTimer *RetryTimer = nullptr; // owned; made at the first refusal

    // Every notification-area call goes through here, so that a test can see
    // each request with the record it carried.
    using TNotifyProc = BOOL (*)(DWORD Message, NOTIFYICONDATAA *Record);
    static TNotifyProc NotifyIcon;

    static constexpr UINT CallbackMessage = WM_USER + 1;
    // The message the shell sends every top-level window when the taskbar has
    // been made (again).
    static UINT TaskbarCreated();

private:
    static bool Messages(void *Self, winlayer::TWinControl *Sender, MSG &Msg, LRESULT &Result);
    static void FormGone(void *Self, winlayer::TWinControl *Sender);
    void Hide(bool Hiding);
    void Restore(bool Remove);
    void AddIcon();
    void DropIcon();
    void ShowBalloon(const std::string &Text);
    static void RetryTick(void *Self, winlayer::TWinTimer *Sender);
    void StopRetry();
    void CallbackEvents(LPARAM MouseMessage);
    void SetTip(const std::string &Text);
    HICON FormIcon() const;
    winlayer::TMessageHandler OwnHandler();

    // The control's destroy hook before ours: the form may be freed by the
    // window layer first, and then this element must not touch it again.
    winlayer::TControlHook PrevDestroy;
    bool FormFreed = false;
    int Retries = 0; // since the last refusal that started the timer
};
