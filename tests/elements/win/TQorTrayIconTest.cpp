// The tray icon element on a real form of the window layer: the records it
// hands to the notification area (recorded at the seam), the events of the
// icon's callback message, hiding and restoring the form, adds the shell
// refuses or forgets, and its teardown.
#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "WinTestKit.h"
#include <shellapi.h>

#include "elements/win/TQorTrayIcon.h"
#include "winlayer/WinTimer.h"

using namespace winlayer;
using namespace wintest;

namespace {

// Every Shell_NotifyIconA request of the tray element, with a copy of its record.
std::vector<std::pair<DWORD, NOTIFYICONDATAA>> Calls;

// The notification area as a shell keeps it: it refuses the next Refusals adds
// (not ready yet), an add of the icon it has, and a modify or delete of one it
// has not.
bool ShellHasIcon = false;
int Refusals = 0;

BOOL Shell(DWORD Message, NOTIFYICONDATAA *Data)
{
    Calls.push_back({Message, *Data});
    const bool had = ShellHasIcon;
    if (Message == NIM_ADD && !had && Refusals > 0) {
        --Refusals;
        return FALSE;
    }
    if (Message == NIM_ADD)
        ShellHasIcon = true;
    if (Message == NIM_DELETE)
        ShellHasIcon = false;
    return Message == NIM_ADD ? !had : had;
}

int Count(DWORD Message)
{
    return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](auto &c) { return c.first == Message; }));
}
// Icons in the tray as the requests tell it.
int IconsShown() { return Count(NIM_ADD) - Count(NIM_DELETE); }

// What reaches the form's handler after the tray element's.
std::vector<std::pair<UINT, LPARAM>> Seen;
bool Behind(void *, TWinControl *, MSG &Msg, LRESULT &)
{
    if (Msg.message == WM_CLOSE || Msg.message == WM_SYSCOMMAND || Msg.message == WM_DESTROY)
        Seen.push_back({Msg.message, Msg.lParam});
    return false;
}
bool Saw(UINT Message, LPARAM L) { return std::count(Seen.begin(), Seen.end(), std::make_pair(Message, L)) > 0; }

// A hidden application window with a hidden form on it, and the tray element on the form.
struct TrayTest : ElementTest {
    const TQorTrayIcon::TNotifyProc OldNotify = TQorTrayIcon::NotifyIcon;
    TWinControl *App = nullptr;
    TWinControl *Form = nullptr;
    const TMessageHandler BehindHandler{&Behind, nullptr};
    HICON FormIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    std::unique_ptr<TQorTrayIcon> Tray;
    TData None;

    void SetUp() override
    {
        ElementTest::SetUp();
        Calls.clear();
        Seen.clear();
        ShellHasIcon = false;
        Refusals = 0;
        TQorTrayIcon::NotifyIcon = &Shell;
        App = NewAppWindow("tray test");
        App->SetVisible(false);
        Form = NewForm(App, "Form");
        Form->SetVisible(false);
        Form->Icon = FormIcon;
        Form->OnMessage = BehindHandler;
        ASSERT_TRUE(App->EnsureWindow());
        Tray = std::make_unique<TQorTrayIcon>(Form);
    }
    void TearDown() override
    {
        Tray.reset();
        if (App)
            App->Free();
        TQorTrayIcon::NotifyIcon = OldNotify;
        ElementTest::TearDown();
    }

    // Lets the retry timer tick until Done, or for TimeoutMs.
    static bool PumpUntil(const std::function<bool()> &Done, DWORD TimeoutMs = 10000)
    {
        const DWORD start = GetTickCount();
        while (!Done() && GetTickCount() - start < TimeoutMs) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Settle();
        }
        return Done();
    }
};

} // namespace

TEST_F(TrayTest, TheRecordsHaveTheFirstLayoutWithTheTooltipCutTo63Characters)
{
    const std::string seventy = std::string(63, 'a') + "bcdefgh";
    Tray->SetHint(seventy);
    Tray->doShowIcon(None, 0);
    Tray->doShowIcon(None, 0);
    ASSERT_EQ(Calls.size(), 1u) << "an icon in the tray is not added again";
    const NOTIFYICONDATAA &add = Calls[0].second;
    EXPECT_EQ(Calls[0].first, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(add.hWnd, Form->Handle);
    EXPECT_EQ(add.uID, 1u);
    EXPECT_EQ(add.uFlags, 7u) << "message, icon and tip";
    EXPECT_EQ(add.uCallbackMessage, 0x401u);
    EXPECT_EQ(add.hIcon, FormIcon) << "the form's icon";
    EXPECT_EQ(std::string(add.szTip), seventy.substr(0, 63));
    EXPECT_FALSE(IsWindowVisible(Form->Handle)) << "showing the icon leaves the form alone";

    // A new hint or icon modifies the record, as the end-to-end tests see.
    TData hint = StrData(std::string(70, 'k'));
    Tray->doHint(hint, 0);
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(std::string(Calls[1].second.szTip), std::string(63, 'k'));
    Form->Icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING));
    Tray->doSetIcon(hint, 0);
    EXPECT_EQ(Calls.back().second.hIcon, Form->Icon) << "not an icon: the form's own";
}

// Windows shows no balloon from a record of the first layout, and takes the
// icon and the tooltip of a record that names them: the balloon goes alone.
TEST_F(TrayTest, ABalloonGoesAloneInTheLargerRecordAndTheNextRequestHasTheFirstLayoutAgain)
{
    Tray->doShowIcon(None, 0);
    Tray->BalloonTitle = "Tervik v4";
    TData text = StrData("Геомагнитная буря: Kp 6");
    Tray->doBalloon(text, 0);
    ASSERT_EQ(Calls.size(), 2u);
    const NOTIFYICONDATAA &balloon = Calls[1].second;
    EXPECT_EQ(Calls[1].first, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(balloon.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    EXPECT_EQ(balloon.hWnd, Form->Handle);
    EXPECT_EQ(balloon.uID, 1u);
    EXPECT_EQ(balloon.uFlags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(std::string(balloon.szInfo), "Геомагнитная буря: Kp 6");
    EXPECT_EQ(std::string(balloon.szInfoTitle), "Tervik v4");

    Tray->doHint(text, 0);
    EXPECT_EQ(Calls.back().second.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(Calls.back().second.uFlags, 7u);
}

TEST_F(TrayTest, TheCallbackMessageRaisesTheMouseEventsInOrder)
{
    const std::pair<TPointLink *, const char *> events[] = {
        {&Tray->onDblClick, "DblClick"}, {&Tray->onClick, "Click"},   {&Tray->onMouseDown, "MouseDown"},
        {&Tray->onMouseMove, "MouseMove"}, {&Tray->onMouseUp, "MouseUp"}};
    for (const auto &[event, name] : events)
        SinkFor(*event, name);
    const std::pair<LPARAM, Journal> cases[] = {
        {WM_LBUTTONDOWN, {"MouseDown: int 0"}},
        {WM_LBUTTONUP, {"MouseUp: int 0", "Click: int 0"}},
        {WM_RBUTTONUP, {"Click: int 1", "MouseUp: int 1"}},
        {WM_RBUTTONDBLCLK, {"DblClick: int 1"}},
        {WM_MOUSEMOVE, {"MouseMove: null"}},
    };
    Running running;
    for (const auto &[mouse, expected] : cases) {
        Log.clear();
        SendMessageA(Form->Handle, 0x401, 1, mouse);
        EXPECT_EQ(Log, expected) << "lParam 0x" << std::hex << mouse;
    }
}

// With KeepIcon, as the program has it, the end-to-end tests see the one icon
// stay through restores and hides.
TEST_F(TrayTest, RestoreWithoutKeepIconTakesTheIconOutAndAHideAfterItPutsItBack)
{
    Tray->doRestore(None, 0);
    EXPECT_TRUE(Calls.empty() && !IsWindowVisible(Form->Handle)) << "no icon, nothing to restore";
    Tray->doShowIcon(None, 0);
    Tray->doRestore(None, 0);
    EXPECT_EQ(IconsShown(), 0) << "restored without KeepIcon";
    EXPECT_TRUE(IsWindowVisible(Form->Handle) && IsWindowVisible(App->Handle)) << "restored with the application";
    Tray->doHide(None, 0);
    EXPECT_EQ(IconsShown(), 1);
    EXPECT_FALSE(IsWindowVisible(Form->Handle) || IsWindowVisible(App->Handle)) << "hidden again";
}

TEST_F(TrayTest, MinimisingOrAUserCloseWithCloseToTrayHidesTheFormIntoTheTray)
{
    Form->SetVisible(true);
    // What is not handled goes on to the form's next handler. A minimise with
    // lParam -1 is the one the element sends itself on a user close.
    const std::tuple<uint8_t, uint8_t, UINT, LPARAM, bool> cases[] = {
        {1, 1, WM_SYSCOMMAND, 0, false}, {0, 1, WM_SYSCOMMAND, -1, false}, {0, 1, WM_CLOSE, 0, false},
        {1, 1, WM_CLOSE, 1, false},      {1, 1, WM_CLOSE, 0, true},        {0, 0, WM_SYSCOMMAND, 0, true}};
    for (const auto &[closeToTray, normally, message, lParam, hides] : cases) {
        Tray->CloseToTray = closeToTray;
        Tray->MinimizeNormally = normally;
        Seen.clear();
        SendMessageA(Form->Handle, message, message == WM_CLOSE ? 0 : SC_MINIMIZE, lParam);
        SCOPED_TRACE(testing::Message() << "message " << message << ", CloseToTray " << int(closeToTray)
                                        << ", MinimizeNormally " << int(normally) << ", lParam " << lParam);
        EXPECT_EQ(IconsShown(), hides ? 1 : 0);
        EXPECT_EQ(Saw(message, lParam), !hides);
        EXPECT_EQ(IsWindowVisible(Form->Handle) != 0, !hides);
    }
}

TEST_F(TrayTest, TheFormAndTheElementMayGoInEitherOrder)
{
    Tray->doShowIcon(None, 0);
    Tray.reset();
    EXPECT_EQ(IconsShown(), 0) << "an element that goes takes its icon along";
    EXPECT_EQ(Form->OnMessage, BehindHandler) << "and puts the form's handler back";
    EXPECT_FALSE(Form->OnDestroy) << "and the destroy hook it found";

    Tray = std::make_unique<TQorTrayIcon>(Form);
    Tray->doShowIcon(None, 0);
    App->Free(); // frees the form and its window with it
    App = nullptr;
    EXPECT_EQ(IconsShown(), 0);
    EXPECT_TRUE(Saw(WM_DESTROY, 0)) << "the destroy goes on to the form's handler";
    Tray.reset(); // must not touch the freed form
    EXPECT_EQ(Count(NIM_DELETE), 2);
}

TEST_F(TrayTest, ARefusedAddIsTriedAgainWithTheStateOfTheMomentAndTaskbarCreatedAddsTheIconAgain)
{
    Tray->RetryPeriod = 10;
    Refusals = 3;
    Tray->doShowIcon(None, 0);
    TData storm = StrData("Kp 6");
    Tray->doBalloon(storm, 0);
    ASSERT_TRUE(PumpUntil([] { return ShellHasIcon; })) << Count(NIM_ADD) << " adds";
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Count(NIM_ADD), 4) << "three refused, then no more once the shell has it";
    ASSERT_GE(Calls.size(), 2u);
    EXPECT_EQ(Calls.back().second.uFlags, static_cast<UINT>(NIF_INFO)) << "the balloon waited for the icon";
    EXPECT_EQ(std::string(Calls.back().second.szInfo), "Kp 6");

    // Explorer restarted with an empty tray and once not ready at first, or a
    // broadcast while the shell still has the icon. (The end-to-end tests see a
    // restart's add carry the icon and tooltip of the moment.)
    const std::tuple<const char *, bool, int, int> cases[] = {
        {"restarted, not ready", false, 1, 2}, {"still there", true, 0, 1}};
    for (const auto &[name, kept, refusals, adds] : cases) {
        SCOPED_TRACE(name);
        ShellHasIcon = kept;
        Refusals = refusals;
        const int before = Count(NIM_ADD);
        SendMessageA(Form->Handle, TQorTrayIcon::TaskbarCreated(), 0, 0);
        PumpUntil([] { return false; }, 300);
        EXPECT_EQ(Count(NIM_ADD) - before, adds);
        EXPECT_TRUE(ShellHasIcon && Tray->IconAdded);
    }

    SendMessageA(Form->Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
    const int before = Count(NIM_ADD);
    SendMessageA(Form->Handle, TQorTrayIcon::TaskbarCreated(), 0, 0);
    EXPECT_EQ(Count(NIM_ADD), before) << "an icon taken out of the tray is not put back";

    // A shell that keeps refusing is asked less often after the first minutes.
    Refusals = 1000;
    Tray->doShowIcon(None, 0);
    ASSERT_TRUE(PumpUntil([&] { return Count(NIM_ADD) > before + TQorTrayIcon::FastRetries + 1; }));
    EXPECT_EQ(Tray->RetryTimer->Period(), 120);
    EXPECT_TRUE(Tray->RetryTimer->Enabled());
}
