// The loop, the order in which a message reaches hooks and handlers, and the
// close rules, with real windows.
#include "LayerTest.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::MadeForm;
using layertest::TLog;
using layertest::TTagged;

namespace {

// Remembers the numbers of the messages it sees (WM_APP and above, and 0).
struct TMessageNumbers {
    std::vector<UINT> Seen;
    static bool Run(void *data, TWinControl *, MSG &msg, LRESULT &)
    {
        if (msg.message == 0 || msg.message >= WM_APP)
            static_cast<TMessageNumbers *>(data)->Seen.push_back(msg.message);
        return false;
    }
};

struct TIdleCount {
    int Count = 0;
    static void Run(void *data, TWinControl *) { ++static_cast<TIdleCount *>(data)->Count; }
};

// Makes the application window and a hidden main form under it, both with windows.
struct TAppAndForm {
    TWinControl *App;
    TWinControl *Form;
    TAppAndForm()
    {
        App = NewAppWindow("test app");
        App->SetVisible(false);
        Form = NewForm(App, "test main form");
        Form->SetVisible(false);
        App->EnsureWindow();
    }
};

struct TCloseRefusal {
    int Asked = 0;
    static void Run(void *data, TWinControl *, bool &accept)
    {
        ++static_cast<TCloseRefusal *>(data)->Asked;
        accept = false;
    }
};

} // namespace

TEST_F(LayerTest, QueuedMessageZeroEndsTheBatchOfPumpMessages)
{
    TWinControl *form = MadeForm();
    TMessageNumbers numbers;
    AddHandler(form, {&TMessageNumbers::Run, &numbers});
    PostMessageA(form->Handle, WM_APP + 1, 0, 0);
    PostMessageA(form->Handle, 0, 0, 0);
    PostMessageA(form->Handle, WM_APP + 2, 0, 0);

    PumpMessages(nullptr);
    EXPECT_EQ(numbers.Seen, (std::vector<UINT>{WM_APP + 1, 0}))
        << "the first batch ends with the message 0";
    PumpMessages(nullptr);
    EXPECT_EQ(numbers.Seen, (std::vector<UINT>{WM_APP + 1, 0, WM_APP + 2}))
        << "the next batch takes the rest";
    form->Free();
}

TEST_F(LayerTest, QuitInTheMiddleOfABatchEndsTheLoopAfterThatBatch)
{
    TAppAndForm made;
    // OnMessage sees every dispatched message; an ordinary handler only those
    // before the quit.
    TMessageNumbers numbers, handled;
    made.Form->OnMessage = {&TMessageNumbers::Run, &numbers};
    AddHandler(made.Form, {&TMessageNumbers::Run, &handled});
    TIdleCount idle;
    IdleHook = {&TIdleCount::Run, &idle};
    HWND formWindow = made.Form->Handle;

    PostMessageA(formWindow, WM_APP + 1, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    PostMessageA(formWindow, WM_APP + 2, 0, 0);
    RunLoop(Application);

    EXPECT_EQ(numbers.Seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}))
        << "the batch goes on past WM_QUIT";
    EXPECT_EQ(handled.Seen, (std::vector<UINT>{WM_APP + 1}))
        << "after WM_QUIT only run-after-stop handlers run";
    EXPECT_EQ(idle.Count, 1) << "the idle hook runs once, after the batch";
    EXPECT_TRUE(LoopTerminated);
    EXPECT_EQ(LoopRunning, 0);
    EXPECT_EQ(AppWindow, nullptr);
    EXPECT_EQ(Application, nullptr) << "StopLoop sets the variable to none";
    EXPECT_FALSE(IsWindow(formWindow)) << "freeing the application window takes the form along";
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, ControlFreedInItsOwnHandlerIsDestroyedOnlyAfterTheHandlerWalk)
{
    struct TProbe {
        TLog Log;
        HWND Window = nullptr;
        int32_t LiveAtFree = 0;
        static bool FreeIt(void *data, TWinControl *sender, MSG &msg, LRESULT &)
        {
            if (msg.message != WM_APP + 3)
                return false;
            auto *self = static_cast<TProbe *>(data);
            self->LiveAtFree = TWinObject::LiveObjects();
            self->Log.Add("free");
            sender->Free();
            return false;
        }
        static bool Check(void *data, TWinControl *, MSG &msg, LRESULT &)
        {
            if (msg.message != WM_APP + 3)
                return false;
            auto *self = static_cast<TProbe *>(data);
            const bool alive = TWinObject::LiveObjects() == self->LiveAtFree;
            self->Log.Add(std::string("older handler: object ") + (alive ? "alive" : "gone") +
                          ", window " + (IsWindow(self->Window) ? "there" : "gone"));
            return false;
        }
        static void Destroyed(void *data, TWinControl *)
        {
            static_cast<TProbe *>(data)->Log.Add("destroyed");
        }
    } probe;

    TWinControl *form = MadeForm();
    probe.Window = form->Handle;
    form->OnDestroy = {&TProbe::Destroyed, &probe};
    AddHandler(form, {&TProbe::Check, &probe});
    AddHandler(form, {&TProbe::FreeIt, &probe});

    SendMessageA(probe.Window, WM_APP + 3, 0, 0);

    EXPECT_EQ(probe.Log.Entries,
              (std::vector<std::string>{"free", "older handler: object alive, window there",
                                        "destroyed"}));
    EXPECT_FALSE(IsWindow(probe.Window)) << "freeing the object destroys its window";
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, HandlersRunNewestFirstUntilOneClaims)
{
    struct TCase {
        const char *Claimer;
        std::vector<std::string> Expected;
        LRESULT ExpectedResult;
    };
    const TCase cases[] = {
        {"", {"newest", "middle", "oldest"}, 0},
        {"middle", {"newest", "middle"}, 22},
        {"newest", {"newest"}, 33},
    };
    for (const TCase &c : cases) {
        TWinControl *form = MadeForm();
        TLog log;
        TTagged oldest{&log, "oldest"}, middle{&log, "middle"}, newest{&log, "newest"};
        middle.Result = 22;
        newest.Result = 33;
        for (TTagged *t : {&oldest, &middle, &newest})
            t->Claim = t->Tag == c.Claimer;
        AddHandler(form, oldest.Handler());
        AddHandler(form, middle.Handler());
        AddHandler(form, newest.Handler());

        const LRESULT result = Perform(form, WM_APP + 4, 0, 0);
        EXPECT_EQ(log.Entries, c.Expected) << "claimer: '" << c.Claimer << "'";
        EXPECT_EQ(result, c.ExpectedResult) << "claimer: '" << c.Claimer << "'";
        form->Free();
    }
}

TEST_F(LayerTest, AddHandlerIgnoresAHandlerAlreadyInTheList)
{
    TWinControl *form = MadeForm();
    TLog log;
    TTagged a{&log, "a"}, b{&log, "b"};
    EXPECT_FALSE(HasHandler(form, a.Handler()));
    AddHandler(form, a.Handler());
    AddHandler(form, b.Handler());
    AddHandler(form, a.Handler());
    EXPECT_TRUE(HasHandler(form, a.Handler()));
    EXPECT_TRUE(HasHandler(form, b.Handler()));

    Perform(form, WM_APP + 5, 0, 0);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"b", "a"}))
        << "a second AddHandler neither adds nor moves the handler";
    form->Free();
}

TEST_F(LayerTest, AfterTheLoopEndedOnlyRunAfterStopHandlersRun)
{
    struct TCase {
        bool Terminated;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {false, {"third", "second (after stop)", "first"}},
        {true, {"second (after stop)"}},
    };
    for (const TCase &c : cases) {
        TWinControl *form = MadeForm();
        TLog log;
        TTagged first{&log, "first"}, second{&log, "second (after stop)"}, third{&log, "third"};
        AddHandler(form, first.Handler());
        AddHandler(form, second.Handler(), true);
        AddHandler(form, third.Handler());

        LoopTerminated = c.Terminated;
        Perform(form, WM_APP + 6, 0, 0);
        LoopTerminated = false;
        EXPECT_EQ(log.Entries, c.Expected) << "loop terminated: " << c.Terminated;
        form->Free();
    }
}

TEST_F(LayerTest, WindowProcAsksHooksAndHandlersInTheirOrder)
{
    struct TCase {
        const char *Claimer;
        uint8_t Running;
        std::vector<std::string> Expected;
    };
    const std::vector<std::string> all = {"pre", "app OnMessage", "OnMessage", "handler",
                                          "class handler", "after"};
    const TCase cases[] = {
        {"", 1, all},
        {"", 0, {"pre", "OnMessage", "handler", "class handler", "after"}},
        {"pre", 1, {"pre", "after"}},
        {"app OnMessage", 1, {"pre", "app OnMessage", "after"}},
        {"OnMessage", 1, {"pre", "app OnMessage", "OnMessage", "after"}},
        {"handler", 1, {"pre", "app OnMessage", "OnMessage", "handler", "after"}},
        {"class handler", 1, all},
    };
    for (const TCase &c : cases) {
        TLog log;
        TTagged pre{&log, "pre"}, appMessage{&log, "app OnMessage"}, own{&log, "OnMessage"},
            handler{&log, "handler"}, classHandler{&log, "class handler"};
        for (TTagged *t : {&pre, &appMessage, &own, &handler, &classHandler})
            t->Claim = t->Tag == c.Claimer;
        struct TAfter {
            static void Run(void *data, TWinControl *, MSG &msg, LRESULT &)
            {
                if (msg.message == WM_APP + 7)
                    static_cast<TLog *>(data)->Add("after");
            }
        };

        TWinControl *app = NewAppWindow("order app");
        TWinControl *form = MadeForm();
        app->OnMessage = appMessage.Handler();
        form->OnMessage = own.Handler();
        AddHandler(form, handler.Handler());
        form->ClassHandler = classHandler.Handler();
        form->AfterMessage = {&TAfter::Run, &log};
        PreMessageHook = pre.Handler();
        AppWindow = app;
        LoopRunning = c.Running;

        Perform(form, WM_APP + 7, 0, 0);
        EXPECT_EQ(log.Entries, c.Expected)
            << "claimer: '" << c.Claimer << "', running: " << int(c.Running);

        PreMessageHook = {};
        LoopRunning = 0;
        AppWindow = nullptr;
        form->Free();
        app->Free();
    }
}

TEST_F(LayerTest, RefusedCloseWhileTheLoopRunsKeepsRunningAndStopLoopIgnoresARefusal)
{
    struct TProbe {
        TWinControl *Form;
        bool FormWindowAfterClose = false;
        bool TerminatedAfterClose = true;
        static bool Run(void *data, TWinControl *, MSG &msg, LRESULT &)
        {
            if (msg.message != WM_APP + 8)
                return false;
            auto *self = static_cast<TProbe *>(data);
            self->FormWindowAfterClose = IsWindow(self->Form->Handle) != 0;
            self->TerminatedAfterClose = LoopTerminated;
            StopLoop(Application);
            return true;
        }
    };

    TAppAndForm made;
    TCloseRefusal formRefusal, appRefusal;
    made.Form->OnCloseQuery = {&TCloseRefusal::Run, &formRefusal};
    made.App->OnCloseQuery = {&TCloseRefusal::Run, &appRefusal};
    TProbe probe{made.Form};
    AddHandler(made.Form, {&TProbe::Run, &probe});

    PostMessageA(made.Form->Handle, WM_CLOSE, 0, 0);
    PostMessageA(made.Form->Handle, WM_CLOSE, 0, 0);
    PostMessageA(made.Form->Handle, WM_APP + 8, 0, 0);
    RunLoop(Application);

    EXPECT_EQ(formRefusal.Asked, 2) << "a refusal while running keeps the question for next time";
    EXPECT_TRUE(probe.FormWindowAfterClose) << "the refused close left the form";
    EXPECT_FALSE(probe.TerminatedAfterClose) << "the refused close left the loop running";
    EXPECT_EQ(appRefusal.Asked, 1) << "StopLoop closes the application window once";
    EXPECT_EQ(Application, nullptr);
    EXPECT_EQ(LiveNow(), 0) << "StopLoop freed the application window despite its refusal";
}

TEST_F(LayerTest, CloseQueryIsAskedOnceWhenAcceptedOrWhenTheLoopDoesNotRun)
{
    struct TCase {
        uint8_t Running;
        bool Refuse;
        bool Destroyed;
        bool QueryKept;
    };
    const TCase cases[] = {
        {1, true, false, true},
        {0, true, true, false},
        {1, false, true, false},
    };
    for (const TCase &c : cases) {
        // A second form under the application window: not the main window.
        TWinControl *app = NewAppWindow("close app");
        app->SetVisible(false);
        TWinControl *first = NewForm(app, "first");
        first->SetVisible(false);
        TWinControl *second = NewForm(app, "second");
        second->SetVisible(false);
        app->EnsureWindow();
        HWND secondWindow = second->Handle;
        struct TAnswer {
            bool Refuse;
            int Asked = 0;
            static void Run(void *data, TWinControl *, bool &accept)
            {
                auto *self = static_cast<TAnswer *>(data);
                ++self->Asked;
                accept = !self->Refuse;
            }
        } answer{c.Refuse};
        second->OnCloseQuery = {&TAnswer::Run, &answer};
        const int32_t liveBefore = LiveNow();

        LoopRunning = c.Running;
        SendMessageA(secondWindow, WM_CLOSE, 0, 0);
        LoopRunning = 0;

        EXPECT_EQ(answer.Asked, 1);
        EXPECT_EQ(!IsWindow(secondWindow), c.Destroyed)
            << "running " << int(c.Running) << ", refuse " << c.Refuse;
        if (c.Destroyed) {
            EXPECT_EQ(LiveNow(), liveBefore - 1) << "a form under the application window frees itself";
            EXPECT_EQ(app->Children, (std::vector<TWinControl *>{first}));
        } else {
            EXPECT_EQ(bool(second->OnCloseQuery), c.QueryKept);
        }
        MSG quit;
        EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "closing a form that is not the main window does not end the program";
        app->Free();
        EXPECT_EQ(LiveNow(), 0);
    }
}

TEST_F(LayerTest, ClosingTheMainFormClosesTheApplicationWindowAndPostsQuit)
{
    TAppAndForm made;
    TLog log;
    TTagged appClose{&log, "app got WM_CLOSE"};
    appClose.First = appClose.Last = WM_CLOSE;
    AddHandler(made.App, appClose.Handler());
    AppWindow = made.App;
    LoopRunning = 1;

    const LRESULT result = Perform(made.Form, WM_CLOSE, 0, 0);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(log.Entries, (std::vector<std::string>{"app got WM_CLOSE"}));
    EXPECT_TRUE(IsWindow(made.Form->Handle)) << "the main form is not destroyed by its close";
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_QUIT was posted";
    LoopRunning = 0;
    AppWindow = nullptr;
    made.App->Free();
}

TEST_F(LayerTest, MessageForAWindowWithoutObjectGoesToTheApplicationWindow)
{
    TWinControl *app = NewAppWindow("catcher");
    app->SetVisible(false);
    app->EnsureWindow();
    struct TSeen {
        std::vector<std::pair<HWND, UINT>> Messages;
        static bool Run(void *data, TWinControl *, MSG &msg, LRESULT &)
        {
            static_cast<TSeen *>(data)->Messages.emplace_back(msg.hwnd, msg.message);
            return false;
        }
        bool Saw(HWND window, UINT message) const
        {
            for (const auto &m : Messages)
                if (m.first == window && m.second == message)
                    return true;
            return false;
        }
    } seen;
    AddHandler(app, {&TSeen::Run, &seen});
    AppWindow = app;

    // A window of the layer's class made behind the layer's back has no object.
    HWND stray = CreateWindowExA(0, "obj_App", "stray", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(stray, nullptr);
    EXPECT_TRUE(seen.Saw(stray, WM_NCCREATE)) << "its creation went to the application window";
    SendMessageA(stray, WM_APP + 9, 0, 0);
    EXPECT_TRUE(seen.Saw(stray, WM_APP + 9));

    SendMessageA(stray, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(stray)) << "a close of that window closes only that window";
    EXPECT_TRUE(IsWindow(app->Handle));
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "and does not end the program";

    AppWindow = nullptr;
    HWND lonely = CreateWindowExA(0, "obj_App", "lonely", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(lonely, nullptr);
    SendMessageA(lonely, WM_APP + 10, 0, 0);
    EXPECT_FALSE(seen.Saw(lonely, WM_APP + 10)) << "without an application window: default only";
    DestroyWindow(lonely);
    app->Free();
}

TEST_F(LayerTest, PumpFilterOfTheApplicationWindowKeepsAMessageFromDispatch)
{
    TAppAndForm made;
    TMessageNumbers numbers;
    AddHandler(made.Form, {&TMessageNumbers::Run, &numbers});
    struct TFilter {
        static bool Run(void *, MSG &msg) { return msg.message == WM_APP + 11; }
    };
    made.App->PumpFilter = {&TFilter::Run, nullptr};
    PostMessageA(made.Form->Handle, WM_APP + 11, 0, 0);
    PostMessageA(made.Form->Handle, WM_APP + 12, 0, 0);

    PumpMessages(made.App);
    EXPECT_EQ(numbers.Seen, (std::vector<UINT>{WM_APP + 12}));
    made.App->Free();
}

TEST_F(LayerTest, SessionEndFreesTheApplicationWindowAndHalts)
{
    TAppAndForm made;
    struct THalt {
        int Calls = 0;
        unsigned Code = 99;
        static void Run(void *data, unsigned code)
        {
            auto *self = static_cast<THalt *>(data);
            ++self->Calls;
            self->Code = code;
        }
    } halt;
    HaltHook = {&THalt::Run, &halt};
    AppWindow = made.App;
    LoopRunning = 1;
    HWND appWindow = made.App->Handle;

    SendMessageA(made.Form->Handle, WM_ENDSESSION, TRUE, 0);

    EXPECT_EQ(halt.Calls, 1);
    EXPECT_EQ(halt.Code, 0u);
    EXPECT_TRUE(LoopTerminated);
    EXPECT_EQ(LoopRunning, 0);
    EXPECT_EQ(AppWindow, nullptr);
    EXPECT_FALSE(IsWindow(appWindow));
    EXPECT_EQ(LiveNow(), 0) << "the application window and its form are freed";
}
