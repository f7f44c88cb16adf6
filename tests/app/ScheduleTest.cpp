// The refresh schedule in a container wired as the main scheme wires it, with a
// set clock, the real ActiveTimeBias of the Wine prefix and real WM_TIMER ticks.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/TRefreshSchedule.h"
#include "elements/io/TQorTimer.h"
#include "elements/text/TimeServices.h"
#include "runtime/RuntimeTestKit.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"
#include "winlayer/DateTime.h"
#include "winlayer/WinApp.h"
#include "winlayer/WinControl.h"
#include "winlayer/WinTimer.h"

namespace {

winlayer::TSystemTime gNow{2024, 3, 5, 14, 12, 0, 7, 0};

void SetLocalTime(uint16_t Hour, uint16_t Minute) { gNow.Hour = Hour, gNow.Minute = Minute; }

const char *const ZoneKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";

// Writes ActiveTimeBias (or removes it) for one test and puts back what was there.
struct BiasInRegistry {
    HKEY Key = nullptr;
    bool Had = false;
    DWORD OldType = 0, OldSize = sizeof OldValue;
    BYTE OldValue[64] = {};

    BiasInRegistry()
    {
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, ZoneKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr);
        Had = RegQueryValueExA(Key, "ActiveTimeBias", nullptr, &OldType, OldValue, &OldSize) == ERROR_SUCCESS;
    }
    ~BiasInRegistry()
    {
        if (Had)
            RegSetValueExA(Key, "ActiveTimeBias", 0, OldType, OldValue, OldSize);
        else
            Remove();
        RegCloseKey(Key);
    }
    void Set(int32_t Minutes)
    {
        ASSERT_EQ(RegSetValueExA(Key, "ActiveTimeBias", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&Minutes),
                                 sizeof Minutes),
                  ERROR_SUCCESS);
    }
    void Remove() { RegDeleteValueA(Key, "ActiveTimeBias"); }
};

// Counts the download requests and answers the outcome the script gives for
// each one (the last entry repeats); counts the parse requests.
struct Downloads : TElement {
    std::vector<int32_t> Outcomes{1};
    int Fetches = 0;
    int Parses = 0;
    TData Outcome = IntData(0);

    void doFetch(TData &, uint16_t)
    {
        Outcome = IntData(Outcomes[std::min(static_cast<size_t>(Fetches), Outcomes.size() - 1)]);
        ++Fetches;
    }
    void doParse(TData &, uint16_t) { ++Parses; }
    void State(TData &Data, uint16_t) { Data = Outcome; }
};

// The schedule in its container, its two events and its outcome wired to the downloads.
struct TClassScheduleTest : TScheme {
    TPointLink Starter; // stands for the main scheme's start
    TQorMultiElementEx *Schedule = Make<TQorMultiElementEx>(nullptr);
    Downloads *Fetch = Make<Downloads>();

    TClassScheduleTest()
    {
        Schedule->Mode = 0;
        Schedule->MainScheme = this;
        Schedule->SetEventCount(2);
        Schedule->SetDataCount(1);
        LinkEvent(Starter, Schedule, &TQorMultiElementEx::doWork, 0);
        LinkEvent(Schedule->onEvent[0], Fetch, &Downloads::doFetch, 0);
        LinkEvent(Schedule->onEvent[1], Fetch, &Downloads::doParse, 0);
        LinkData(Schedule->Data[0], Fetch, &Downloads::State, 0);
        Schedule->SetInstanceFactory(NewInstance<TRefreshSchedule>);
    }
    TRefreshSchedule *Inner() const { return static_cast<TRefreshSchedule *>(Schedule->Current->Scheme); }
};

// One tick of an element's timer, as the system delivers it.
void Tick(TQorTimer *Timer)
{
    PostMessageA(winlayer::TWinTimer::Window()->Handle, WM_TIMER, Timer->Timer->Id(),
                 reinterpret_cast<LPARAM>(&winlayer::TWinTimer::TimerProc));
    winlayer::PumpMessages(nullptr);
}

class Schedule : public testing::Test {
protected:
    // Built while dispatch is idle, as in the program.
    void Build(int32_t BiasMinutes, std::vector<int32_t> Outcomes = {1})
    {
        Bias.Set(BiasMinutes);
        Scheme = std::make_unique<TClassScheduleTest>();
        Scheme->Fetch->Outcomes = Outcomes;
    }
    void StartAt(uint16_t Hour, uint16_t Minute)
    {
        SetLocalTime(Hour, Minute);
        CallEventNull(Scheme->Starter);
    }

    const TClockProc OldClock = SetClock([] { return gNow; });
    ~Schedule() override { SetClock(OldClock); }
    BiasInRegistry Bias;
    std::unique_ptr<TClassScheduleTest> Scheme;
};

} // namespace

// The bias is read at start, in whole hours (halves to the even neighbour),
// and turns the local hour of every tick into the UT hour.
TEST_F(Schedule, ATwentyMinuteTickDownloadsOnlyInTheLateHalfOfEveryThirdUtHour)
{
    struct Case {
        bool HasBias;
        int32_t Bias;
        uint16_t Hour, Minute;
        int32_t UtHour; // -1: not computed
        int Fetches;
    } cases[] = {
        {true, -180, 0, 40, 21, 1}, // three hours east: 0 - 3 wraps to 21
        {true, 300, 22, 40, 3, 1},  // five hours west: 27 wraps to 3
        {true, 570, 14, 45, 0, 1},  // 9.5 hours round to 10: exactly 24 wraps to 0
        {true, -330, 5, 50, 23, 0}, // -5.5 hours round to -6
        {false, 0, 7, 40, 7, 0},    // no bias in the registry: UT is the local time
        {true, 0, 3, 30, -1, 0},    // minute 30 is not in the late half
        {true, 0, 3, 31, 3, 1},
        {true, 0, 4, 45, 4, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((c.HasBias ? "bias " + std::to_string(c.Bias) : std::string("no bias")) + ", tick at " +
                     std::to_string(c.Hour) + ":" + std::to_string(c.Minute));
        Build(c.Bias);
        if (!c.HasBias)
            Bias.Remove();
        testkit::Running on;
        StartAt(11, 5); // whatever the UT hour, the start downloads once and parses the success
        const int atStart = Scheme->Fetch->Fetches;
        EXPECT_EQ(atStart, 1);
        EXPECT_EQ(Scheme->Fetch->Parses, 1);
        EXPECT_FALSE(Scheme->Inner()->RetryTimer->Enable());

        SetLocalTime(c.Hour, c.Minute);
        Tick(Scheme->Inner()->CheckTimer);

        if (c.UtHour >= 0) {
            EXPECT_EQ(Scheme->Inner()->HourStore->FValue.IntValue, c.UtHour);
        }
        EXPECT_EQ(Scheme->Fetch->Fetches - atStart, c.Fetches);
        EXPECT_EQ(Scheme->Fetch->Parses - atStart, c.Fetches);
    }
}

TEST_F(Schedule, AfterAFailedDownloadARetryRunsEveryMinuteUntilOneSucceeds)
{
    Build(0, {0, 0, 1});
    testkit::Running on;
    TQorTimer *retry = Scheme->Inner()->RetryTimer;
    const Downloads &fetch = *Scheme->Fetch;

    StartAt(3, 40); // UT 3, late half: still one download at start, and one per retry
    EXPECT_EQ(retry->Interval(), 60000);
    EXPECT_EQ(fetch.Fetches, 1);
    EXPECT_TRUE(retry->Enable()) << "a failed download starts the one-minute timer";

    Tick(retry);
    EXPECT_EQ(fetch.Fetches, 2);
    EXPECT_EQ(fetch.Parses, 0);
    EXPECT_TRUE(retry->Enable());

    Tick(retry);
    EXPECT_EQ(fetch.Fetches, 3);
    EXPECT_EQ(fetch.Parses, 1) << "the first success is parsed at once";
    EXPECT_FALSE(retry->Enable()) << "and the retries stop";
}
