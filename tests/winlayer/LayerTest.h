#pragma once
// Common ground of the window layer tests: a clean loop state per test, an empty
// queue, and a watchdog that ends a loop that would otherwise hang the run.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

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
        if (!Watched)
            return;
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
        if (Watchdog.joinable())
            Watchdog.join();
        EXPECT_FALSE(Fired) << "the loop had to be ended by the watchdog";
        DrainQueue();
        ResetLayerState();
    }

    // Objects made by the test and not yet destroyed.
    int32_t LiveNow() const { return winlayer::TWinObject::LiveObjects() - LiveAtStart; }

    int32_t LiveAtStart = 0;
    // Off for a test that runs no loop and takes long on purpose.
    bool Watched = true;

private:
    std::thread Watchdog;
    std::mutex Mutex;
    std::condition_variable Done;
    bool Finished = false;
    bool Fired = false;
};

} // namespace layertest
