// Messages with real windows: a control freed in its own handler, and a window
// the layer has no object for.
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

} // namespace

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
