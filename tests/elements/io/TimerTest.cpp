// The window layer's timer object and the timer element, with real system
// timers and the real message loop. Where a test needs a tick at a given moment
// it posts the very message the system posts (WM_TIMER on the hidden window,
// carrying the timer procedure) and lets the loop dispatch it.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "elements/io/TQorTimer.h"
#include "runtime/TScheme.h"
#include "winlayer/WinApp.h"
#include "winlayer/WinControl.h"
#include "winlayer/WinTimer.h"

using winlayer::NewObject;
using winlayer::TWinControl;
using winlayer::TWinObject;
using winlayer::TWinTimer;

namespace {

struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
};

using Clock = std::chrono::steady_clock;

// Pumps the real loop until Done() holds or Ms milliseconds have passed; true
// when Done() held.
template <class F> bool PumpUntil(F Done, int Ms = 5000)
{
    Clock::time_point end = Clock::now() + std::chrono::milliseconds(Ms);
    while (!Done()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
        winlayer::PumpMessages(nullptr);
    }
    return true;
}

void PumpFor(int Ms)
{
    PumpUntil([] { return false; }, Ms);
}

// The message the system posts for one tick of Timer.
void PostTick(TWinTimer *Timer)
{
    ASSERT_NE(TWinTimer::Window(), nullptr);
    PostMessageA(TWinTimer::Window()->Handle, WM_TIMER, Timer->Id(),
                 reinterpret_cast<LPARAM>(&TWinTimer::TimerProc));
}

void DeliverTick(TWinTimer *Timer)
{
    PostTick(Timer);
    winlayer::PumpMessages(nullptr);
}

struct TickCount {
    int Count = 0;
    static void Run(void *Data, TWinTimer *) { ++static_cast<TickCount *>(Data)->Count; }
};

struct FreeOnTick {
    int Count = 0;
    static void Run(void *Data, TWinTimer *Sender)
    {
        ++static_cast<FreeOnTick *>(Data)->Count;
        Sender->Free();
    }
};

} // namespace

// ---- The timer object -----------------------------------------------------------

TEST(TimerObject, APeriodOfZeroOrLessBecomesOneSecond)
{
    struct Case {
        int32_t Given, Expected;
    } cases[] = {{0, 1000}, {-5, 1000}, {20, 20}, {1200000, 1200000}};
    for (const Case &c : cases) {
        TWinTimer *timer = NewObject<TWinTimer>(c.Given);
        EXPECT_EQ(timer->Period(), c.Expected) << "made with " << c.Given;
        EXPECT_FALSE(timer->Enabled()) << "a timer starts stopped";
        timer->SetPeriod(20);
        timer->SetPeriod(c.Given);
        EXPECT_EQ(timer->Period(), c.Expected) << "set to " << c.Given;
        timer->Free();
    }
}

TEST(TimerObject, AllTimersTickThroughOneHiddenWindowThatGoesWithTheLastTimer)
{
    int32_t live = TWinObject::LiveObjects();
    TWinTimer *a = NewObject<TWinTimer>(20);
    TWinTimer *b = NewObject<TWinTimer>(30);
    EXPECT_EQ(TWinTimer::Window(), nullptr) << "no window before a timer starts";
    TickCount ticksA, ticksB;
    a->OnTimer = {&TickCount::Run, &ticksA};
    b->OnTimer = {&TickCount::Run, &ticksB};
    a->SetEnabled(true);
    TWinControl *window = TWinTimer::Window();
    ASSERT_NE(window, nullptr);
    b->SetEnabled(true);
    EXPECT_EQ(TWinTimer::Window(), window) << "the second timer uses the same window";

    EXPECT_TRUE(PumpUntil([&] { return ticksA.Count >= 2 && ticksB.Count >= 2; }))
        << "ticks: " << ticksA.Count << ", " << ticksB.Count;

    HWND handle = window->Handle;
    char className[64] = {};
    GetClassNameA(handle, className, sizeof className);
    EXPECT_STREQ(className, "obj_");
    EXPECT_FALSE(IsWindowVisible(handle));
    EXPECT_EQ(GetParent(handle), nullptr);

    a->Free();
    EXPECT_TRUE(IsWindow(handle)) << "the window stays while a timer object lives";
    b->Free();
    EXPECT_FALSE(IsWindow(handle)) << "the window goes with the last timer object";
    EXPECT_EQ(TWinTimer::Window(), nullptr);
    EXPECT_EQ(TWinObject::LiveObjects(), live);
}

TEST(TimerObject, StoppingEndsTheTicksAndSettingTheSameStateChangesNothing)
{
    TWinTimer *timer = NewObject<TWinTimer>(15);
    TickCount ticks;
    timer->OnTimer = {&TickCount::Run, &ticks};
    timer->SetEnabled(true);
    timer->SetEnabled(true);
    EXPECT_TRUE(timer->Enabled());
    EXPECT_TRUE(PumpUntil([&] { return ticks.Count >= 3; }));

    timer->SetEnabled(false);
    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Enabled());
    winlayer::PumpMessages(nullptr); // a tick already queued is not handed on either
    int stoppedAt = ticks.Count;
    PumpFor(100);
    EXPECT_EQ(ticks.Count, stoppedAt) << "no tick after the stop";
    timer->Free();
}

TEST(TimerObject, ATickQueuedForAStoppedOrFreedTimerIsIgnored)
{
    TWinTimer *keeper = NewObject<TWinTimer>(100000); // keeps the window
    keeper->SetEnabled(true);
    TWinTimer *timer = NewObject<TWinTimer>(100000);
    TickCount ticks;
    timer->OnTimer = {&TickCount::Run, &ticks};
    timer->SetEnabled(true);

    DeliverTick(timer);
    ASSERT_EQ(ticks.Count, 1) << "a posted tick of a running timer is delivered";

    PostTick(timer);
    timer->SetEnabled(false);
    winlayer::PumpMessages(nullptr);
    EXPECT_EQ(ticks.Count, 1) << "a tick that waited past the stop is dropped";

    timer->SetEnabled(true);
    PostTick(timer);
    timer->Free(); // the queued message now names a freed object
    winlayer::PumpMessages(nullptr);
    EXPECT_EQ(ticks.Count, 1) << "a tick of a freed timer reaches nothing";
    keeper->Free();
}

TEST(TimerObject, AHandlerMayFreeItsOwnTimer)
{
    int32_t live = TWinObject::LiveObjects();
    TWinTimer *timer = NewObject<TWinTimer>(10);
    FreeOnTick handler;
    timer->OnTimer = {&FreeOnTick::Run, &handler};
    timer->SetEnabled(true);

    EXPECT_TRUE(PumpUntil([&] { return handler.Count > 0; }));
    PumpFor(50);
    EXPECT_EQ(handler.Count, 1) << "the freed timer ticks no more";
    EXPECT_EQ(TWinTimer::Window(), nullptr);
    EXPECT_EQ(TWinObject::LiveObjects(), live);
}

// ---- The timer element ------------------------------------------------------------

namespace {

// Records onTimer (index 0) and onStop (index 1) in order.
struct Recorder : TElement {
    std::vector<std::string> Events;
    void doRecord(TData &Data, uint16_t Index)
    {
        Events.push_back((Index == 0 ? "timer" : "stop") +
                         std::string(DataKind(Data) == dtNull ? "" : " <" + ToString(Data) + ">"));
    }
};

class Timer : public testing::Test, protected TScheme {
protected:
    void SetUp() override
    {
        Element = Make<TQorTimer>();
        Rec = Make<Recorder>();
        LinkEvent(Element->onTimer, Rec, &Recorder::doRecord, 0);
        LinkEvent(Element->onStop, Rec, &Recorder::doRecord, 1);
        LinkEvent(StartLink, Element, &TQorTimer::doStart, 0);
        LinkEvent(StopLink, Element, &TQorTimer::doStop, 0);
    }

    int Count(const std::string &Event) const
    {
        int n = 0;
        for (const std::string &e : Rec->Events)
            n += e == Event;
        return n;
    }

    std::string Shown() const
    {
        std::string text;
        for (const std::string &e : Rec->Events)
            text += (text.empty() ? "" : ", ") + e;
        return "[" + text + "]";
    }

    Running On;
    TQorTimer *Element = nullptr;
    Recorder *Rec = nullptr;
    TPointLink StartLink, StopLink;
};

// Pumps the loop from inside onTimer so that a second tick arrives while the
// first is still being handled.
struct Reentrant : TElement {
    TQorTimer *Timer = nullptr;
    int Calls = 0;
    int Depth = 0;
    int MaxDepth = 0;
    void doTick(TData &, uint16_t)
    {
        ++Calls;
        ++Depth;
        MaxDepth = Depth > MaxDepth ? Depth : MaxDepth;
        if (Calls == 1)
            DeliverTick(Timer->Timer);
        --Depth;
    }
};

} // namespace

TEST_F(Timer, StartsStoppedWithASecondPeriodAndNoLimit)
{
    EXPECT_EQ(Element->Interval(), 1000);
    EXPECT_FALSE(Element->Enable());
    EXPECT_EQ(Element->Busy, 0);
    EXPECT_EQ(Element->AutoStop, 0);
    EXPECT_EQ(Element->Remaining, 0);
    EXPECT_EQ(Element->QueueTicks, 0);
}

TEST_F(Timer, AutoStopOneGivesOneTickThenOnStopAndTheTimerStopped)
{
    Element->SetInterval(20);
    Element->SetAutoStop(1);
    CallEventNull(StartLink);
    EXPECT_TRUE(Element->Enable());

    EXPECT_TRUE(PumpUntil([&] { return Count("stop") > 0; })) << Shown();
    PumpFor(100);

    EXPECT_EQ(Shown(), "[timer, stop]");
    EXPECT_FALSE(Element->Enable()) << "the timer stopped itself";
    EXPECT_EQ(Element->Busy, 0);
}

TEST_F(Timer, AutoStopZeroTicksUntilDoStopAndKeepsRemainingAtMinusOne)
{
    Element->SetInterval(15);
    Element->SetAutoStop(0);
    CallEventNull(StartLink);
    EXPECT_TRUE(PumpUntil([&] { return Count("timer") >= 4; })) << Shown();
    EXPECT_EQ(Element->Remaining, -1);
    EXPECT_EQ(Count("stop"), 0);

    CallEventNull(StopLink);
    EXPECT_FALSE(Element->Enable());
    EXPECT_EQ(Rec->Events.back(), "stop");
    int ticks = Count("timer");
    PumpFor(60);
    EXPECT_EQ(Count("timer"), ticks);
}

TEST_F(Timer, ATickDuringATickIsDroppedOrHandledAfterItByQueueTicks)
{
    struct Case {
        uint8_t QueueTicks;
        int Calls;
    } cases[] = {{0, 1}, {1, 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE("QueueTicks " + std::to_string(c.QueueTicks));
        Reentrant *handler = Make<Reentrant>();
        handler->Timer = Element;
        LinkEvent(Element->onTimer, handler, &Reentrant::doTick, 0);
        Element->QueueTicks = c.QueueTicks;
        Element->SetInterval(100000); // only the ticks the test delivers
        Element->SetEnable(true);

        DeliverTick(Element->Timer);

        EXPECT_EQ(handler->Calls, c.Calls);
        EXPECT_EQ(handler->MaxDepth, 1) << "a waiting tick runs after the current one, not inside it";
        EXPECT_EQ(Element->Busy, 0);
        Element->SetEnable(false);
    }
}

TEST_F(Timer, SettingTheSameIntervalDoesNotRestartThePeriod)
{
    // Every 10 ms the interval is set again for half a second: set to the same
    // value the 100 ms period runs on and ticks; set to another value it starts
    // over every time and never completes.
    struct Case {
        int32_t Other;
        bool Ticks;
    } cases[] = {{100, true}, {101, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE("interval set to 100 and " + std::to_string(c.Other) + " in turn");
        Rec->Events.clear();
        Element->SetInterval(100);
        Element->SetEnable(true);
        Clock::time_point end = Clock::now() + std::chrono::milliseconds(500);
        for (int i = 0; Clock::now() < end; ++i) {
            Element->SetInterval(i % 2 ? 100 : c.Other);
            PumpFor(10);
        }
        Element->SetEnable(false);
        EXPECT_EQ(Count("timer") > 0, c.Ticks) << Count("timer") << " ticks";
    }
}

TEST_F(Timer, DoStopRaisesOnStopAlsoWhenAlreadyStopped)
{
    CallEventNull(StopLink);
    CallEventNull(StopLink);
    EXPECT_EQ(Shown(), "[stop, stop]");
    EXPECT_FALSE(Element->Enable());
}

TEST_F(Timer, DoStartOnARunningTimerReloadsTheRemainingTicks)
{
    Element->SetInterval(100000);
    Element->SetAutoStop(2);
    CallEventNull(StartLink);
    DeliverTick(Element->Timer);
    EXPECT_EQ(Element->Remaining, 1);
    CallEventNull(StartLink);
    EXPECT_EQ(Element->Remaining, 2);
    DeliverTick(Element->Timer);
    DeliverTick(Element->Timer);
    EXPECT_EQ(Shown(), "[timer, timer, timer, stop]");
    EXPECT_FALSE(Element->Enable());
}

TEST_F(Timer, EnableStartsAndStopsWithoutEvents)
{
    Element->SetInterval(15);
    Element->SetEnable(true);
    EXPECT_TRUE(PumpUntil([&] { return Count("timer") >= 2; })) << Shown();
    Element->SetEnable(false);
    EXPECT_FALSE(Element->Enable());
    EXPECT_EQ(Count("stop"), 0) << "only doStop and the automatic stop raise onStop";
}

TEST(TimerElement, FreeingTheElementFreesItsTimerObject)
{
    int32_t live = TWinObject::LiveObjects();
    {
        TQorTimer timer;
        timer.SetInterval(20);
        timer.SetEnable(true);
        EXPECT_NE(TWinTimer::Window(), nullptr);
    }
    EXPECT_EQ(TWinTimer::Window(), nullptr);
    EXPECT_EQ(TWinObject::LiveObjects(), live);
}
