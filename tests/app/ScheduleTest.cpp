// The refresh schedule in a container wired as the main scheme wires it, with a
// set clock, the real ActiveTimeBias of the Wine prefix and real WM_TIMER ticks.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/TClassMultiElementEx_27BB020.h"
#include "elements/io/TQorTimer.h"
#include "elements/text/TimeServices.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"
#include "winlayer/DateTime.h"
#include "winlayer/WinApp.h"
#include "winlayer/WinControl.h"
#include "winlayer/WinTimer.h"

namespace {

struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
};

winlayer::TSystemTime gNow{};

winlayer::TSystemTime TestClock()
{
    return gNow;
}

void SetLocalTime(uint16_t Hour, uint16_t Minute)
{
    gNow = winlayer::TSystemTime{2024, 3, 5, 14, Hour, Minute, 7, 0};
}

// Puts the test clock in place for one test.
struct ClockSet {
    TClockProc Old;
    ClockSet() : Old(SetClock(TestClock)) { SetLocalTime(12, 0); }
    ~ClockSet() { SetClock(Old); }
};

const char *const ZoneKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";

// Writes ActiveTimeBias (or removes it) for one test and puts back what was there.
class BiasInRegistry {
public:
    BiasInRegistry()
    {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, ZoneKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr);
        DWORD size = sizeof OldValue;
        Had = RegQueryValueExA(Key, "ActiveTimeBias", nullptr, &OldType, OldValue, &size) == ERROR_SUCCESS;
        OldSize = size;
    }
    ~BiasInRegistry()
    {
        if (Had)
            RegSetValueExA(Key, "ActiveTimeBias", 0, OldType, OldValue, OldSize);
        else
            RegDeleteValueA(Key, "ActiveTimeBias");
        RegCloseKey(Key);
    }
    void Set(int32_t Minutes)
    {
        ASSERT_EQ(RegSetValueExA(Key, "ActiveTimeBias", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&Minutes),
                                 sizeof Minutes),
                  ERROR_SUCCESS);
    }
    void Remove() { RegDeleteValueA(Key, "ActiveTimeBias"); }

private:
    HKEY Key = nullptr;
    bool Had = false;
    DWORD OldType = 0;
    BYTE OldValue[64] = {};
    DWORD OldSize = 0;
};

// Counts the download requests and answers the outcome the script gives for
// each one (the last entry repeats); counts the parse requests.
struct Downloads : TElement {
    std::vector<int32_t> Outcomes{1};
    int Fetches = 0;
    int Parses = 0;
    std::vector<std::string> Log;
    TData Outcome = IntData(0);

    void doFetch(TData &, uint16_t)
    {
        size_t i = static_cast<size_t>(Fetches) < Outcomes.size() ? static_cast<size_t>(Fetches)
                                                                  : Outcomes.size() - 1;
        Outcome = IntData(Outcomes[i]);
        ++Fetches;
        Log.push_back(Outcomes[i] ? "fetch ok" : "fetch failed");
    }
    void doParse(TData &, uint16_t)
    {
        ++Parses;
        Log.push_back("parse");
    }
    void State(TData &Data, uint16_t) { Data = Outcome; }
    void Reset()
    {
        Fetches = Parses = 0;
        Log.clear();
    }
};

class TClassScheduleTest : public TScheme {
public:
    TQorHub *StartHub;
    TQorMultiElementEx *Schedule;
    Downloads *Fetch;

    TClassScheduleTest()
    {
        StartHub = Make<TQorHub>();
        StartHub->SetOutCount(1);

        Schedule = Make<TQorMultiElementEx>(nullptr);
        Schedule->Mode = 0;
        Schedule->MainScheme = this;
        Schedule->SetEventCount(2);
        Schedule->SetDataCount(1);

        Fetch = Make<Downloads>();

        LinkEvent(StartHub->onEvent[0], Schedule, &TQorMultiElementEx::doWork, 0);
        LinkEvent(Schedule->onEvent[0], Fetch, &Downloads::doFetch, 0);
        LinkEvent(Schedule->onEvent[1], Fetch, &Downloads::doParse, 0);

        LinkData(Schedule->Data[0], Fetch, &Downloads::State, 0);

        Schedule->SetInstanceFactory(NewInstance<TClassMultiElementEx_27BB020>);
    }

    TClassMultiElementEx_27BB020 *Inner() const
    {
        return static_cast<TClassMultiElementEx_27BB020 *>(Schedule->Current->Scheme);
    }

    void Start() { CallEventNull(StartHub->onEvent[0]); }
};

// One tick of an element's timer, as the system delivers it.
void Tick(TQorTimer *Timer)
{
    PostMessageA(winlayer::TWinTimer::Window()->Handle, WM_TIMER, Timer->Timer->Id(),
                 reinterpret_cast<LPARAM>(&winlayer::TWinTimer::TimerProc));
    winlayer::PumpMessages(nullptr);
}

std::string Show(const std::vector<std::string> &Log)
{
    std::string text;
    for (const std::string &e : Log)
        text += (text.empty() ? "" : ", ") + e;
    return "[" + text + "]";
}

class Schedule : public testing::Test {
protected:
    void SetUp() override { Scheme = std::make_unique<TClassScheduleTest>(); }
    void TearDown() override { Scheme.reset(); }

    void StartAt(uint16_t Hour, uint16_t Minute)
    {
        SetLocalTime(Hour, Minute);
        Scheme->Start();
    }
    int32_t StoredHour() const { return Scheme->Inner()->HourStore->FValue.IntValue; }

    ClockSet Clock;
    BiasInRegistry Bias;
    std::unique_ptr<TClassScheduleTest> Scheme; // built while dispatch is idle, as in the program
};

} // namespace

TEST_F(Schedule, AtStartTheBiasIsReadAndTheDownloadRunsOnceOrTwiceByTheUtHour)
{
    struct Case {
        bool HasBias;
        int32_t Bias;
        uint16_t Hour, Minute;
        int32_t UtHour;
        int Fetches;
    } cases[] = {
        {true, -180, 0, 40, 21, 2}, // three hours east: 0 - 3 wraps to 21
        {true, 300, 22, 40, 3, 2},  // five hours west: 27 wraps to 3
        {true, 570, 14, 0, 0, 2},   // 9.5 hours round to 10: exactly 24 wraps to 0
        {true, -330, 5, 50, 23, 1}, // -5.5 hours round to -6
        {true, 0, 4, 10, 4, 1},
        {false, 0, 7, 10, 7, 1},    // no bias in the registry: UT is the local time
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((c.HasBias ? "bias " + std::to_string(c.Bias) : std::string("no bias")) + " at " +
                     std::to_string(c.Hour) + ":" + std::to_string(c.Minute));
        if (c.HasBias)
            Bias.Set(c.Bias);
        else
            Bias.Remove();
        Scheme = std::make_unique<TClassScheduleTest>();
        Running on;

        StartAt(c.Hour, c.Minute);

        EXPECT_EQ(StoredHour(), c.UtHour);
        EXPECT_EQ(Scheme->Fetch->Fetches, c.Fetches);
        EXPECT_EQ(Scheme->Fetch->Parses, c.Fetches) << "every successful download is parsed";
        EXPECT_FALSE(Scheme->Inner()->RetryTimer->Enable());
    }
}

TEST_F(Schedule, ATwentyMinuteTickDownloadsOnlyInTheLateHalfOfEveryThirdUtHour)
{
    struct Case {
        int32_t Bias;
        uint16_t Hour, Minute;
        int Fetches;
    } cases[] = {
        {-180, 0, 40, 1}, // UT 21
        {300, 22, 40, 1}, // UT 3
        {0, 3, 30, 0},    // minute 30 is not in the late half
        {0, 3, 31, 1},
        {0, 4, 45, 0},    // UT 4
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("bias " + std::to_string(c.Bias) + ", tick at " + std::to_string(c.Hour) + ":" +
                     std::to_string(c.Minute));
        Bias.Set(c.Bias);
        Scheme = std::make_unique<TClassScheduleTest>();
        Running on;
        StartAt(11, 5);
        Scheme->Fetch->Reset();

        SetLocalTime(c.Hour, c.Minute);
        Tick(Scheme->Inner()->CheckTimer);

        EXPECT_EQ(Scheme->Fetch->Fetches, c.Fetches) << Show(Scheme->Fetch->Log);
        EXPECT_EQ(Scheme->Fetch->Parses, c.Fetches);
    }
}

TEST_F(Schedule, AfterAFailedDownloadARetryRunsEveryMinuteUntilOneSucceeds)
{
    Bias.Set(0);
    Scheme = std::make_unique<TClassScheduleTest>();
    Scheme->Fetch->Outcomes = {0, 0, 1};
    Running on;
    TQorTimer *retry = Scheme->Inner()->RetryTimer;

    StartAt(4, 10); // UT 4: one download at start
    EXPECT_EQ(retry->Interval(), 60000);
    EXPECT_EQ(Show(Scheme->Fetch->Log), "[fetch failed]");
    EXPECT_TRUE(retry->Enable()) << "a failed download starts the one-minute timer";

    Tick(retry);
    EXPECT_EQ(Show(Scheme->Fetch->Log), "[fetch failed, fetch failed]");
    EXPECT_TRUE(retry->Enable());

    Tick(retry);
    EXPECT_EQ(Show(Scheme->Fetch->Log), "[fetch failed, fetch failed, fetch ok, parse]")
        << "the first success is parsed at once";
    EXPECT_FALSE(retry->Enable()) << "and the retries stop";

    Tick(retry); // a tick the system would no longer send
    SetLocalTime(4, 50);
    Tick(Scheme->Inner()->CheckTimer);
    EXPECT_EQ(Scheme->Fetch->Fetches, 3) << Show(Scheme->Fetch->Log);
}

TEST_F(Schedule, ARetryInAThirdHourDownloadsTwiceAndTheTwentyMinuteTickGoesOn)
{
    Bias.Set(-180);
    Scheme = std::make_unique<TClassScheduleTest>();
    Scheme->Fetch->Outcomes = {0};
    Running on;
    TQorTimer *retry = Scheme->Inner()->RetryTimer;

    StartAt(0, 10); // UT 21
    EXPECT_EQ(Scheme->Fetch->Fetches, 2);
    Tick(retry);
    EXPECT_EQ(Scheme->Fetch->Fetches, 4) << "each retry runs the whole hour step";
    SetLocalTime(0, 45);
    Tick(Scheme->Inner()->CheckTimer);
    EXPECT_EQ(Scheme->Fetch->Fetches, 5) << "the twenty-minute check goes on beside the retries";
    EXPECT_EQ(Scheme->Fetch->Parses, 0);
    EXPECT_TRUE(retry->Enable());
}
