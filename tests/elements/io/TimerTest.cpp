// The timer element on the window layer's timer object, with real system
// timers and the real message loop. A tick at a chosen moment is the very
// message the system posts: WM_TIMER on the hidden window with the procedure.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "elements/io/TQorTimer.h"
#include "runtime/RuntimeTestKit.h"
#include "winlayer/WinApp.h"
#include "winlayer/WinControl.h"
#include "winlayer/WinTimer.h"

namespace {

// Pumps the real loop until Done() holds or Ms milliseconds have passed.
template <class F> bool PumpUntil(F Done, int Ms = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (!Done() && std::chrono::steady_clock::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        winlayer::PumpMessages(nullptr);
    }
    return Done();
}

void DeliverTick(winlayer::TWinTimer *Timer)
{
    PostMessageA(winlayer::TWinTimer::Window()->Handle, WM_TIMER, Timer->Id(),
                 reinterpret_cast<LPARAM>(&winlayer::TWinTimer::TimerProc));
    winlayer::PumpMessages(nullptr);
}

// Runs a test's own code where the element raises an event.
struct Hook : TElement {
    std::function<void(uint16_t)> Run;
    void doRun(TData &, uint16_t Index) { Run(Index); }
};

// A timer element whose onTimer and onStop go into one log.
struct Timer : testing::Test, TScheme {
    testkit::Running On;
    TQorTimer *Element = Make<TQorTimer>();
    Hook *Events = Make<Hook>();
    std::vector<std::string> Log;
    TData None;
    void SetUp() override
    {
        Events->Run = [this](uint16_t Index) { Log.push_back(Index ? "stop" : "timer"); };
        LinkEvent(Element->onTimer, Events, &Hook::doRun, 0);
        LinkEvent(Element->onStop, Events, &Hook::doRun, 1);
    }
};

} // namespace

TEST_F(Timer, AutoStopOneGivesOneTickThenOnStopAndDoStopOnAStoppedTimerRaisesOnStopAgain)
{
    Element->SetInterval(20);
    Element->SetAutoStop(1);
    Element->doStart(None, 0);
    EXPECT_TRUE(PumpUntil([&] { return Log.size() >= 2; }));
    PumpUntil([] { return false; }, 100);
    EXPECT_FALSE(Element->Enable());
    DeliverTick(Element->Timer); // a tick that waited past the stop reaches nothing
    Element->doStop(None, 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"timer", "stop", "stop"}));
}

TEST_F(Timer, ATickDuringATickIsDroppedOrHandledAfterItByQueueTicks)
{
    int calls = 0, depth = 0, deepest = 0;
    Events->Run = [&](uint16_t) {
        deepest = std::max(deepest, ++depth);
        if (++calls == 1)
            DeliverTick(Element->Timer); // a second tick comes while the first is handled
        --depth;
    };
    Element->SetInterval(100000); // only the ticks the test delivers
    Element->SetEnable(true);
    for (uint8_t queue : {0, 1}) {
        calls = deepest = 0;
        Element->QueueTicks = queue;
        DeliverTick(Element->Timer);
        EXPECT_EQ(calls, queue ? 2 : 1) << "QueueTicks " << int(queue);
        EXPECT_EQ(deepest, 1) << "a waiting tick runs after the current one, not inside it";
        EXPECT_EQ(Element->Busy, 0);
    }
}

TEST_F(Timer, SettingTheSameIntervalDoesNotRestartThePeriod)
{
    // Every 10 ms for half a second the 100 ms interval is set again: to the
    // same value the period runs on and ticks; to another it never completes.
    for (int32_t other : {100, 101}) {
        Log.clear();
        Element->SetInterval(100);
        Element->SetEnable(true);
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
            Element->SetInterval(i % 2 ? 100 : other);
            PumpUntil([] { return false; }, 10);
        }
        Element->SetEnable(false);
        EXPECT_EQ(!Log.empty(), other == 100) << Log.size() << " ticks with the interval set to 100 and " << other;
    }
}
