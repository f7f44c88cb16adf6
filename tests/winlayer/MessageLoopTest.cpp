// Messages with real windows: a control freed in its own handler, and a window
// the layer has no object for.
#include <string>
#include <vector>

#include "LayerTest.h"

using namespace winlayer;
using layertest::LayerTest;

TEST_F(LayerTest, ControlFreedInItsOwnHandlerIsDestroyedOnlyWhenTheWholeMessageIsDone)
{
    static std::vector<std::string> log;
    static HWND window;
    log.clear();
    TWinControl *form = NewForm(nullptr, "test form");
    form->SetVisible(false);
    form->EnsureWindow();
    window = form->Handle;
    form->OnDestroy = {[](void *, TWinControl *) { log.push_back("destroyed"); }, nullptr};
    AddHandler(form, {[](void *, TWinControl *, MSG &msg, LRESULT &) {
                          if (msg.message == WM_APP + 3)
                              log.push_back(std::string("older handler, window ") +
                                            (IsWindow(window) ? "there" : "gone"));
                          return false;
                      },
                      nullptr});
    AddHandler(form, {[](void *, TWinControl *sender, MSG &msg, LRESULT &) {
                          if (msg.message == WM_APP + 3) {
                              log.push_back("free");
                              sender->Free();
                          }
                          return false;
                      },
                      nullptr});
    form->ClassHandler = {[](void *, TWinControl *, MSG &msg, LRESULT &) {
                              if (msg.message == WM_APP + 3)
                                  log.push_back("class handler");
                              return false;
                          },
                          nullptr};

    SendMessageA(window, WM_APP + 3, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"free", "older handler, window there", "class handler", "destroyed"}))
        << "the object lives until the whole message is done with";
    EXPECT_FALSE(IsWindow(window)) << "freeing the object destroys its window";
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, MessageForAWindowWithoutObjectGoesToTheApplicationWindowAndActsOnlyOnThatWindow)
{
    TWinControl *app = NewAppWindow("catcher");
    app->SetVisible(false);
    app->EnsureWindow();
    std::vector<UINT> seen; // the numbers of the messages it sees from WM_APP on
    AddHandler(app, {[](void *data, TWinControl *, MSG &msg, LRESULT &) {
                         if (msg.message >= WM_APP)
                             static_cast<std::vector<UINT> *>(data)->push_back(msg.message);
                         return false;
                     },
                     &seen});
    AppWindow = app;

    // A window of the layer's class made behind the layer's back has no object.
    const auto stray = [] {
        return CreateWindowExA(0, "obj_App", "stray", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    };
    HWND caught = stray();
    ASSERT_NE(caught, nullptr);
    SendMessageA(caught, WM_APP + 9, 0, 0);
    EXPECT_EQ(seen, std::vector<UINT>{WM_APP + 9});
    SendMessageA(caught, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(caught)) << "a close of that window closes only that window";
    EXPECT_TRUE(IsWindow(app->Handle));
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and does not end the program";

    AppWindow = nullptr;
    HWND lonely = stray();
    SendMessageA(lonely, WM_APP + 10, 0, 0);
    EXPECT_EQ(seen, std::vector<UINT>{WM_APP + 9}) << "without an application window: default only";
    DestroyWindow(lonely);
    app->Free();
}
