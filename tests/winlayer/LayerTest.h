#pragma once
// Common ground of the window layer tests: a clean loop state per test, an empty
// queue, and a watchdog that ends a loop that would otherwise hang the run.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "winlayer/WinApp.h"
#include "winlayer/WinControl.h"

namespace layertest {

inline void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    }
}

inline void ResetLayerState()
{
    using namespace winlayer;
    AppWindow = nullptr;
    LoopRunning = 0;
    LoopTerminated = false;
    AppWindowUsed = false;
    PendingWindow = nullptr;
    IdleHook = {};
    PreMessageHook = {};
    AfterCreateHook = {};
    InvalidateHook = {};
    Application = nullptr;
    AlignHook = {};
    MciNotifyHook = {};
    ScreenCursor = nullptr;
    CursorLock = 0;
    HaltHook = {};
}

class LayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLayerState();
        DrainQueue();
        LiveAtStart = winlayer::TWinObject::LiveObjects();
        const DWORD thread = GetCurrentThreadId();
        Watchdog = std::thread([this, thread] {
            std::unique_lock<std::mutex> lock(Mutex);
            if (!Done.wait_for(lock, std::chrono::seconds(20), [this] { return Finished; })) {
                Fired = true;
                PostThreadMessageA(thread, WM_QUIT, 0, 0);
            }
        });
    }

    void TearDown() override
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Finished = true;
        }
        Done.notify_one();
        Watchdog.join();
        EXPECT_FALSE(Fired) << "the loop had to be ended by the watchdog";
        DrainQueue();
        ResetLayerState();
    }

    // Objects made by the test and not yet destroyed.
    int32_t LiveNow() const { return winlayer::TWinObject::LiveObjects() - LiveAtStart; }

    int32_t LiveAtStart = 0;

private:
    std::thread Watchdog;
    std::mutex Mutex;
    std::condition_variable Done;
    bool Finished = false;
    bool Fired = false;
};

// A hidden top-level form of its own (no application window), with its window made.
inline winlayer::TWinControl *MadeForm()
{
    winlayer::TWinControl *form = winlayer::NewForm(nullptr, "test form");
    form->SetVisible(false);
    form->EnsureWindow();
    return form;
}

// The application window and a hidden main form under it, both with windows.
struct TAppAndForm {
    winlayer::TWinControl *App;
    winlayer::TWinControl *Form;
    TAppAndForm()
    {
        App = winlayer::NewAppWindow("test app");
        App->SetVisible(false);
        Form = winlayer::NewForm(App, "test main form");
        Form->SetVisible(false);
        App->EnsureWindow();
    }
};

// A message log that handlers write into.
struct TLog {
    std::vector<std::string> Entries;
    void Add(const std::string &entry) { Entries.push_back(entry); }
};

// A handler that writes its tag for every message in [First, Last] and claims
// when told to.
struct TTagged {
    TLog *Log;
    std::string Tag;
    bool Claim = false;
    UINT First = WM_APP;
    UINT Last = WM_APP + 0x100;

    winlayer::TMessageHandler Handler() { return {&Run, this}; }

    static bool Run(void *data, winlayer::TWinControl *, MSG &msg, LRESULT &)
    {
        auto *self = static_cast<TTagged *>(data);
        if (msg.message < self->First || msg.message > self->Last)
            return false;
        self->Log->Add(self->Tag);
        return self->Claim;
    }
};

} // namespace layertest
