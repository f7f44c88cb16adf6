// The loop, the order in which a message reaches hooks and handlers, and the
// close rules, with real windows.
#include "LayerTest.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::MadeForm;
using layertest::TAppAndForm;
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
    EXPECT_EQ(numbers.Seen, (std::vector<UINT>{WM_APP + 1, 0})) << "the first batch ends with the message 0";
    PumpMessages(nullptr);
    EXPECT_EQ(numbers.Seen, (std::vector<UINT>{WM_APP + 1, 0, WM_APP + 2})) << "the next batch takes the rest";
    form->Free();
}

TEST_F(LayerTest, QuitInTheMiddleOfABatchEndsTheLoopAfterThatBatch)
{
    TAppAndForm made;
    // OnMessage sees every dispatched message; after the quit, of the handlers
    // only those flagged run-after-stop.
    TMessageNumbers numbers, handled, afterStop;
    made.Form->OnMessage = {&TMessageNumbers::Run, &numbers};
    AddHandler(made.Form, {&TMessageNumbers::Run, &afterStop}, true);
    AddHandler(made.Form, {&TMessageNumbers::Run, &handled});
    int idle = 0;
    IdleHook = {[](void *data, TWinControl *) { ++*static_cast<int *>(data); }, &idle};
    HWND formWindow = made.Form->Handle;

    PostMessageA(formWindow, WM_APP + 1, 0, 0);
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    PostMessageA(formWindow, WM_APP + 2, 0, 0);
    RunLoop(Application);

    EXPECT_EQ(numbers.Seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2})) << "the batch goes on past WM_QUIT";
    EXPECT_EQ(handled.Seen, (std::vector<UINT>{WM_APP + 1}));
    EXPECT_EQ(afterStop.Seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
    EXPECT_EQ(idle, 1) << "the idle hook runs once, after the batch";
    EXPECT_TRUE(LoopTerminated);
    EXPECT_EQ(Application, nullptr) << "StopLoop sets the variable to none";
    EXPECT_FALSE(IsWindow(formWindow)) << "freeing the application window takes the form along";
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, ControlFreedInItsOwnHandlerIsDestroyedOnlyWhenTheWholeMessageIsDone)
{
    struct TProbe {
        TLog Log;
        HWND Window = nullptr;
        static bool FreeIt(void *data, TWinControl *sender, MSG &msg, LRESULT &)
        {
            if (msg.message == WM_APP + 3) {
                static_cast<TProbe *>(data)->Log.Add("free");
                sender->Free();
            }
            return false;
        }
        static bool Check(void *data, TWinControl *, MSG &msg, LRESULT &)
        {
            auto *self = static_cast<TProbe *>(data);
            if (msg.message == WM_APP + 3)
                self->Log.Add(std::string("older handler, window ") + (IsWindow(self->Window) ? "there" : "gone"));
            return false;
        }
    } probe;

    TWinControl *form = MadeForm();
    probe.Window = form->Handle;
    form->OnDestroy = {[](void *data, TWinControl *) { static_cast<TProbe *>(data)->Log.Add("destroyed"); }, &probe};
    AddHandler(form, {&TProbe::Check, &probe});
    AddHandler(form, {&TProbe::FreeIt, &probe});
    TTagged classHandler{&probe.Log, "class handler", false, WM_APP + 3, WM_APP + 3};
    form->ClassHandler = classHandler.Handler();

    SendMessageA(probe.Window, WM_APP + 3, 0, 0);
    EXPECT_EQ(probe.Log.Entries, (std::vector<std::string>{"free", "older handler, window there", "class handler",
                                                           "destroyed"}))
        << "the object lives until the whole message is done with";
    EXPECT_FALSE(IsWindow(probe.Window)) << "freeing the object destroys its window";
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, WindowProcAsksTheApplicationOnMessageTheOwnOnMessageTheHandlersNewestFirstAndTheClassHandler)
{
    struct TCase {
        const char *Claimer;
        uint8_t Running;
        std::vector<std::string> Expected;
    };
    const TCase cases[] = {
        {"", 1, {"app OnMessage", "OnMessage", "handler", "older handler", "class handler"}},
        {"", 0, {"OnMessage", "handler", "older handler", "class handler"}},
        {"app OnMessage", 1, {"app OnMessage"}},
        {"handler", 1, {"app OnMessage", "OnMessage", "handler"}},
    };
    for (const TCase &c : cases) {
        TLog log;
        TTagged appMessage{&log, "app OnMessage"}, own{&log, "OnMessage"}, older{&log, "older handler"},
            handler{&log, "handler"}, classHandler{&log, "class handler"};
        for (TTagged *t : {&appMessage, &own, &handler, &classHandler})
            t->Claim = t->Tag == c.Claimer;
        TAppAndForm made;
        made.App->OnMessage = appMessage.Handler();
        made.Form->OnMessage = own.Handler();
        AddHandler(made.Form, older.Handler());
        AddHandler(made.Form, handler.Handler());
        AddHandler(made.Form, older.Handler()); // already there: neither added nor moved
        made.Form->ClassHandler = classHandler.Handler();
        AppWindow = made.App;
        LoopRunning = c.Running;

        Perform(made.Form, WM_APP + 7, 0, 0);
        EXPECT_EQ(log.Entries, c.Expected) << "claimer: '" << c.Claimer << "', running: " << int(c.Running);
        LoopRunning = 0;
        AppWindow = nullptr;
        made.App->Free();
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
    EXPECT_EQ(LiveNow(), 0) << "StopLoop freed the application window despite its refusal";
}

TEST_F(LayerTest, MessageForAWindowWithoutObjectGoesToTheApplicationWindowAndActsOnlyOnThatWindow)
{
    TWinControl *app = NewAppWindow("catcher");
    app->SetVisible(false);
    app->EnsureWindow();
    TMessageNumbers seen;
    AddHandler(app, {&TMessageNumbers::Run, &seen});
    AppWindow = app;

    // A window of the layer's class made behind the layer's back has no object.
    const auto stray = [] {
        return CreateWindowExA(0, "obj_App", "stray", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    HWND caught = stray();
    ASSERT_NE(caught, nullptr);
    SendMessageA(caught, WM_APP + 9, 0, 0);
    EXPECT_EQ(seen.Seen, std::vector<UINT>{WM_APP + 9});
    SendMessageA(caught, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(caught)) << "a close of that window closes only that window";
    EXPECT_TRUE(IsWindow(app->Handle));
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and does not end the program";

    AppWindow = nullptr;
    HWND lonely = stray();
    SendMessageA(lonely, WM_APP + 10, 0, 0);
    EXPECT_EQ(seen.Seen, std::vector<UINT>{WM_APP + 9}) << "without an application window: default only";
    DestroyWindow(lonely);
    app->Free();
}
