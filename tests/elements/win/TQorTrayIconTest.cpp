// The tray icon element on a real form of the window layer: the records it
// hands to the notification area (recorded at the seam), the events of the
// icon's callback message, and hiding and restoring the form.
#include <memory>

#include "WinTestKit.h"
#include "elements/win/TQorIcon.h"

using namespace winlayer;
using namespace wintest;
using layertest::LayerTest;

namespace {

// Sees what reaches the form's handler after the tray element's.
struct Behind {
    std::vector<std::pair<UINT, LPARAM>> Seen;
    static bool Run(void *data, TWinControl *, MSG &msg, LRESULT &)
    {
        auto *self = static_cast<Behind *>(data);
        if (msg.message == WM_CLOSE || msg.message == WM_SYSCOMMAND || msg.message == WM_DESTROY)
            self->Seen.push_back({msg.message, msg.lParam});
        return false;
    }
    bool Saw(UINT message, LPARAM lParam) const
    {
        for (const auto &s : Seen)
            if (s.first == message && s.second == lParam)
                return true;
        return false;
    }
};

struct TrayTest : LayerTest {
    TrayRecorder Recorder;
    TWinControl *App = nullptr;
    TWinControl *Form = nullptr;
    Behind Previous;
    HICON FormIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));

    void SetUp() override
    {
        LayerTest::SetUp();
        App = NewAppWindow("tray test");
        App->SetVisible(false);
        Form = NewForm(App, "Form");
        Form->SetVisible(false);
        Form->Icon = FormIcon;
        Form->OnMessage = TMessageHandler{&Behind::Run, &Previous};
        ASSERT_TRUE(App->EnsureWindow());
    }
    void TearDown() override
    {
        Tray.reset();
        if (App)
            App->Free();
        LayerTest::TearDown();
    }

    TQorTrayIcon *MakeTray()
    {
        Tray = std::make_unique<TQorTrayIcon>(Form);
        return Tray.get();
    }

    std::unique_ptr<TQorTrayIcon> Tray;
};

} // namespace

TEST_F(TrayTest, ShowIconAddsTheFirstLayoutRecordWithTheTooltipCutTo63Characters)
{
    TQorTrayIcon *tray = MakeTray();
    std::string seventy;
    for (int i = 0; i < 70; ++i)
        seventy += static_cast<char>('A' + i % 26);
    tray->SetHint(seventy);
    EXPECT_TRUE(TrayRecorder::Calls().empty()) << "setting the hint asks nothing of the platform";

    TData none;
    tray->doShowIcon(none, 3);

    ASSERT_EQ(TrayRecorder::Calls().size(), 1u);
    const TrayCall &add = TrayRecorder::Calls()[0];
    EXPECT_EQ(add.Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.Record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(add.Record.hWnd, Form->Handle);
    EXPECT_EQ(add.Record.uID, 1u);
    EXPECT_EQ(add.Record.uFlags, 7u) << "message, icon and tip";
    EXPECT_EQ(add.Record.uCallbackMessage, 0x401u);
    EXPECT_EQ(add.Record.hIcon, FormIcon) << "the form's icon";
    EXPECT_EQ(std::string(add.Record.szTip), seventy.substr(0, 63));
    EXPECT_EQ(add.Record.szTip[63], 0);
    EXPECT_EQ(tray->IconAdded, 1);
    EXPECT_FALSE(IsWindowVisible(Form->Handle)) << "showing the icon leaves the form alone";

    tray->doShowIcon(none, 3);
    EXPECT_EQ(TrayRecorder::Calls().size(), 1u) << "an icon that is in the tray is not added again";
}

TEST_F(TrayTest, HintAndIconChangesModifyTheIcon)
{
    TQorTrayIcon *tray = MakeTray();
    TData none;
    tray->doShowIcon(none, 0);

    TData text;
    text.dtString(std::string(70, 'k'));
    tray->doHint(text, 4);
    ASSERT_EQ(TrayRecorder::Calls().size(), 2u);
    EXPECT_EQ(TrayRecorder::Calls()[1].Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(std::string(TrayRecorder::Calls()[1].Record.szTip), std::string(63, 'k'));
    EXPECT_EQ(tray->Hint, std::string(70, 'k')) << "the hint keeps the whole text";

    TData number;
    number.dtInteger(42);
    tray->doHint(number, 4);
    EXPECT_EQ(std::string(TrayRecorder::Calls().back().Record.szTip), "42") << "ToString of the value";

    TQorIcon holder;
    HICON red = CreateIcon(nullptr, 16, 16, 1, 1, std::vector<BYTE>(32, 0xFF).data(),
                           std::vector<BYTE>(32, 0).data());
    holder.SetIcon(red);
    TData icon;
    holder.Icon(icon, 0);
    tray->doSetIcon(icon, 2);
    EXPECT_EQ(TrayRecorder::Calls().back().Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(TrayRecorder::Calls().back().Record.hIcon, red);

    tray->doSetIcon(number, 2);
    EXPECT_EQ(TrayRecorder::Calls().back().Record.hIcon, FormIcon) << "not an icon: the form's icon";

    Form->Icon = red;
    SendMessageA(Form->Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(red));
    EXPECT_EQ(TrayRecorder::Calls().back().Message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(TrayRecorder::Calls().back().Record.hIcon, red) << "a new form icon goes to the tray";
    Form->Icon = FormIcon;
    SendMessageA(Form->Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FormIcon));
}

TEST_F(TrayTest, CallbackMessageRaisesTheMouseEventsInOrder)
{
    TQorTrayIcon *tray = MakeTray();
    std::vector<std::string> log;
    Sink sinks[9];
    const char *names[9] = {"DblClick", "Hide", "Click", "MouseDown", "MouseMove", "MouseUp",
                            "BalloonShow", "BalloonTimeout", "BalloonClick"};
    TPointLink *events[9] = {&tray->onDblClick, &tray->onHide, &tray->onClick,
                             &tray->onMouseDown, &tray->onMouseMove, &tray->onMouseUp,
                             &tray->onBalloonShow, &tray->onBalloonTimeout, &tray->onBalloonClick};
    for (int i = 0; i < 9; ++i) {
        sinks[i].Log = &log;
        sinks[i].Name = names[i];
        LinkEvent(*events[i], &sinks[i], &Sink::doTake, 0);
    }

    struct Case {
        LPARAM Mouse;
        std::vector<std::string> Events;
    };
    const Case cases[] = {
        {WM_MOUSEMOVE, {"MouseMove: null"}},
        {WM_LBUTTONDOWN, {"MouseDown: int 0"}},
        {WM_LBUTTONUP, {"MouseUp: int 0", "Click: int 0"}},
        {WM_LBUTTONDBLCLK, {"DblClick: int 0"}},
        {WM_RBUTTONDOWN, {"MouseDown: int 1"}},
        {WM_RBUTTONUP, {"Click: int 1", "MouseUp: int 1"}},
        {WM_RBUTTONDBLCLK, {"DblClick: int 1"}},
        {WM_MBUTTONDOWN, {"MouseDown: int 2"}},
        {WM_MBUTTONUP, {"Click: int 2", "MouseUp: int 2"}},
        {WM_MBUTTONDBLCLK, {"DblClick: int 2"}},
        {0x402, {"BalloonShow: null"}},
        {0x403, {}},
        {0x404, {"BalloonTimeout: null"}},
        {0x405, {"BalloonClick: null"}},
        {0x406, {}},
    };
    Running running;
    for (const Case &c : cases) {
        log.clear();
        SendMessageA(Form->Handle, 0x401, 1, c.Mouse);
        EXPECT_EQ(log, c.Events) << "lParam 0x" << std::hex << c.Mouse;
    }
}

TEST_F(TrayTest, RestoreWithoutAnIconInTheTrayDoesNothing)
{
    TQorTrayIcon *tray = MakeTray();
    TData none;
    tray->doRestore(none, 0);
    EXPECT_TRUE(TrayRecorder::Calls().empty());
    EXPECT_FALSE(IsWindowVisible(Form->Handle)) << "the form stays hidden";
    EXPECT_FALSE(IsWindowVisible(App->Handle));
}

TEST_F(TrayTest, RestoreThenHideLeavesExactlyOneIcon)
{
    struct Case {
        uint8_t KeepIcon;
        int AfterRestore;
    };
    for (const Case c : {Case{1, 1}, Case{0, 0}}) {
        TQorTrayIcon *tray = MakeTray();
        tray->KeepIcon = c.KeepIcon;
        std::vector<std::string> log;
        Sink hidden;
        hidden.Log = &log;
        hidden.Name = "Hide";
        LinkEvent(tray->onHide, &hidden, &Sink::doTake, 0);
        Running running;
        TData none;

        tray->doShowIcon(none, 3);
        tray->doRestore(none, 0);
        EXPECT_EQ(TrayRecorder::IconsShown(), c.AfterRestore) << "KeepIcon " << int(c.KeepIcon);
        EXPECT_TRUE(IsWindowVisible(Form->Handle)) << "restored";
        EXPECT_TRUE(IsWindowVisible(App->Handle)) << "with the application window";

        tray->doHide(none, 1);
        EXPECT_EQ(TrayRecorder::IconsShown(), 1) << "KeepIcon " << int(c.KeepIcon);
        EXPECT_FALSE(IsWindowVisible(Form->Handle)) << "hidden again";
        EXPECT_FALSE(IsWindowVisible(App->Handle)) << "with the application window";
        EXPECT_EQ(log, std::vector<std::string>{"Hide: null"});

        Tray.reset();
        EXPECT_EQ(TrayRecorder::IconsShown(), 0) << "an element that goes takes its icon along";
        TrayRecorder::Calls().clear();
    }
}

TEST_F(TrayTest, MinimisingHidesTheFormIntoTheTrayUnlessMinimisedNormally)
{
    struct Case {
        uint8_t CloseToTray;
        uint8_t MinimizeNormally;
        LPARAM LParam;
        bool Hides;
    };
    const Case cases[] = {
        {0, 0, 0, true}, {0, 1, 0, false}, {1, 1, -1, true}, {1, 1, 0, false}, {0, 1, -1, false},
    };
    for (const Case &c : cases) {
        TQorTrayIcon *tray = MakeTray();
        tray->CloseToTray = c.CloseToTray;
        tray->MinimizeNormally = c.MinimizeNormally;
        Form->SetVisible(true);
        Previous.Seen.clear();
        TrayRecorder::Calls().clear();

        SendMessageA(Form->Handle, WM_SYSCOMMAND, SC_MINIMIZE, c.LParam);
        EXPECT_EQ(TrayRecorder::Count(NIM_ADD), c.Hides ? 1 : 0)
            << "CloseToTray " << int(c.CloseToTray) << " MinimizeNormally " << int(c.MinimizeNormally)
            << " lParam " << c.LParam;
        if (c.Hides) {
            EXPECT_FALSE(IsWindowVisible(Form->Handle));
            EXPECT_FALSE(Previous.Saw(WM_SYSCOMMAND, c.LParam)) << "handled by the tray";
        } else {
            EXPECT_TRUE(Previous.Saw(WM_SYSCOMMAND, c.LParam)) << "passed on";
        }
        Tray.reset();
        layertest::DrainQueue();
    }
}

TEST_F(TrayTest, RestoreFromTheTaskbarRemovesTheIcon)
{
    TQorTrayIcon *tray = MakeTray();
    tray->KeepIcon = 1;
    TData none;
    tray->doHide(none, 0);
    ASSERT_EQ(TrayRecorder::IconsShown(), 1);
    SendMessageA(Form->Handle, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(TrayRecorder::IconsShown(), 0) << "restoring always removes, KeepIcon or not";
    EXPECT_TRUE(IsWindowVisible(Form->Handle));
    EXPECT_TRUE(Previous.Saw(WM_SYSCOMMAND, 0)) << "and the restore goes on";
}

TEST_F(TrayTest, CloseToTrayHidesOnAUserCloseAndPassesAForcedCloseOn)
{
    struct Case {
        uint8_t CloseToTray;
        LPARAM LParam;
        bool Hides;
    };
    for (const Case c : {Case{1, 0, true}, Case{1, 1, false}, Case{0, 0, false}}) {
        TQorTrayIcon *tray = MakeTray();
        tray->CloseToTray = c.CloseToTray;
        tray->MinimizeNormally = 1;
        Form->SetVisible(true);
        Previous.Seen.clear();
        TrayRecorder::Calls().clear();

        const LRESULT result = SendMessageA(Form->Handle, WM_CLOSE, 0, c.LParam);
        EXPECT_EQ(result, 0);
        EXPECT_EQ(TrayRecorder::Count(NIM_ADD), c.Hides ? 1 : 0)
            << "CloseToTray " << int(c.CloseToTray) << " lParam " << c.LParam;
        EXPECT_EQ(Previous.Saw(WM_CLOSE, c.LParam), !c.Hides) << "the close goes on";
        EXPECT_EQ(IsWindowVisible(Form->Handle) != 0, !c.Hides);
        Tray.reset();
        layertest::DrainQueue();
    }
}

TEST_F(TrayTest, DestroyingTheFormWindowRemovesTheIconAndUnhooks)
{
    TQorTrayIcon *tray = MakeTray();
    TData none;
    tray->doShowIcon(none, 3);
    const TMessageHandler behind{&Behind::Run, &Previous};
    ASSERT_NE(Form->OnMessage, behind);

    DestroyWindow(Form->Handle);
    EXPECT_EQ(TrayRecorder::IconsShown(), 0);
    EXPECT_EQ(TrayRecorder::Count(NIM_DELETE), 1);
    EXPECT_TRUE(Previous.Saw(WM_DESTROY, 0)) << "the destroy goes on";
    EXPECT_FALSE(IsWindowVisible(App->Handle)) << "nothing is shown while the form goes";
    layertest::DrainQueue(); // the layer frees the form's object now

    Tray.reset();
    EXPECT_EQ(TrayRecorder::Count(NIM_DELETE), 1) << "removed once";
}

TEST_F(TrayTest, AFormFreedFirstTakesTheIconAlongAndTheElementForgetsIt)
{
    TQorTrayIcon *tray = MakeTray();
    TData none;
    tray->doShowIcon(none, 3);
    App->Free(); // frees the form and its window with it
    App = nullptr;
    EXPECT_EQ(TrayRecorder::IconsShown(), 0);
    Tray.reset(); // must not touch the freed form
    EXPECT_EQ(TrayRecorder::Count(NIM_DELETE), 1);
}

TEST_F(TrayTest, AnElementFreedFirstPutsTheFormHandlerBack)
{
    const TMessageHandler behind{&Behind::Run, &Previous};
    MakeTray();
    EXPECT_NE(Form->OnMessage, behind) << "the tray element is first";
    Tray.reset();
    EXPECT_EQ(Form->OnMessage, behind);
    EXPECT_FALSE(Form->OnDestroy) << "and the destroy hook it found";
}
