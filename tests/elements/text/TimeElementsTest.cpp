// TQorTime, TQorDateConvertor and TQorDir.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "TextTestKit.h"
#include "elements/text/TQorDateConvertor.h"
#include "elements/text/TQorDir.h"
#include "elements/text/TQorTime.h"
#include "elements/text/TimeServices.h"
#include "winlayer/Files.h"
#include "winlayer/Platform.h"

using namespace textkit;
using winlayer::TSystemTime;

namespace {

TSystemTime gFixedTime;
TSystemTime FixedClock()
{
    return gFixedTime;
}

// Puts a fixed clock in place for one test.
struct FixedTime {
    FixedTime(uint16_t Year, uint16_t Month, uint16_t Day, uint16_t Hour, uint16_t Minute, uint16_t Second = 0,
              uint16_t Millisecond = 0)
    {
        gFixedTime = TSystemTime{Year, Month, 0, Day, Hour, Minute, Second, Millisecond};
        Previous = SetClock(FixedClock);
    }
    ~FixedTime() { SetClock(Previous); }
    TClockProc Previous;
};

std::string Fields(const TSystemTime &t)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u w%u %02u:%02u:%02u.%03u", t.Year, t.Month, t.Day, t.DayOfWeek,
                  t.Hour, t.Minute, t.Second, t.Millisecond);
    return buf;
}

struct ConvertorBench : Bench {
    TQorDateConvertor *Conv = Make<TQorDateConvertor>();
    ConvertorBench(uint8_t Mode, const std::string &Format)
    {
        Conv->Mode = Mode;
        Conv->Format = Format;
        ProbeFor(Conv->onResult, "onResult");
    }
    Journal Run(void (TQorDateConvertor::*Method)(TData &, uint16_t), TData In)
    {
        Log.clear();
        Fire(Conv, Method, In);
        return Log;
    }
};

} // namespace

TEST(TQorTime, NowAndPartReadTheClockInUse)
{
    Running on;
    FixedTime at(2024, 1, 1, 18, 0);
    Bench b;
    TQorTime *clock = b.Make<TQorTime>();
    clock->Format = "D W:M:Y  h:m:s";
    EXPECT_EQ(Describe(Read(clock, &TQorTime::Now, 1)), "real 738886.75");
    EXPECT_EQ(Describe(Read(clock, &TQorTime::Part, 2)), "int 18");
    clock->PartSel = 1;
    EXPECT_EQ(Describe(Read(clock, &TQorTime::Part, 2)), "int 2024");

    gFixedTime.Hour = 0;
    gFixedTime.Minute = 40;
    clock->PartSel = 0;
    EXPECT_EQ(Describe(Read(clock, &TQorTime::Part)), "int 0") << "each read asks the clock again";
    EXPECT_EQ(Read(clock, &TQorTime::Now).RealValue, 738886.0 + 40.0 / 1440.0);
}

TEST(TQorTime, SetClockHandsBackThePreviousClockAndNullRestoresThePlatforms)
{
    TClockProc original = SetClock(FixedClock);
    EXPECT_EQ(original, &PlatformLocalTime) << "the platform's clock is the one in use at start";
    EXPECT_EQ(SetClock(nullptr), &FixedClock);
    EXPECT_EQ(SetClock(original), &PlatformLocalTime);
}

#ifndef _WIN32
// (The Windows build checks GetLocalTime in TimeServicesWin32Test.cpp.)
TEST(TQorTime, ThePlatformClockGivesTheLocalTimeOfNow)
{
    // The value read lies between two readings of the C library's local time.
    auto libraryNow = [] {
        std::time_t seconds = std::time(nullptr);
        std::tm local = *std::localtime(&seconds);
        TSystemTime t{static_cast<uint16_t>(local.tm_year + 1900), static_cast<uint16_t>(local.tm_mon + 1), 0,
                      static_cast<uint16_t>(local.tm_mday), static_cast<uint16_t>(local.tm_hour),
                      static_cast<uint16_t>(local.tm_min), static_cast<uint16_t>(local.tm_sec), 0};
        return winlayer::SystemTimeToDateTime(t);
    };
    const double oneSecond = 1.0 / 86400.0;
    double before = libraryNow();
    TSystemTime now = LocalNow();
    double after = libraryNow();
    double value = winlayer::SystemTimeToDateTime(now);
    EXPECT_GE(value, before) << Fields(now);
    EXPECT_LE(value, after + oneSecond) << Fields(now);
    EXPECT_EQ(now.DayOfWeek, static_cast<uint16_t>((static_cast<int64_t>(value) + 6) % 7 + 1))
        << "1 = Monday .. 7 = Sunday";
}
#endif

TEST(TQorDateConvertor, DecodeFillsPartsAndSignalsWithNull)
{
    Running on;
    struct Case {
        double Value;
        const char *Parts;
        const char *Minute;
    } cases[] = {
        {738886.75, "2024-01-01 w1 18:00:00.000", "int 0"},
        {738886.0 + 40.0 / 1440.0, "2024-01-01 w1 00:40:00.000", "int 40"},
        {738886.5 + 31.0 / 1440.0, "2024-01-01 w1 12:31:00.000", "int 31"},
        {738892.999999, "2024-01-07 w7 23:59:59.914", "int 59"},
        {1.0, "0001-01-01 w1 00:00:00.000", "int 0"},
        {0.25, "0000-00-00 w0 00:00:00.000", "int 0"},
        {0.0, "0000-00-00 w0 00:00:00.000", "int 0"},
        {-3.5, "0000-00-00 w0 00:00:00.000", "int 0"},
        {202751589.0, "0000-00-00 w0 00:00:00.000", "int 0"}, // beyond the record's years, still signalled
    };
    for (const Case &c : cases) {
        ConvertorBench bench(0, "HHmm");
        bench.Conv->Parts = TSystemTime{1, 2, 3, 4, 5, 6, 7, 8};
        EXPECT_EQ(bench.Run(&TQorDateConvertor::doDecode, RealData(c.Value)), Journal{"onResult null"})
            << "decoding " << c.Value;
        EXPECT_EQ(Fields(bench.Conv->Parts), c.Parts) << "decoding " << c.Value;
        EXPECT_EQ(Describe(Read(bench.Conv, &TQorDateConvertor::Minute, 1)), c.Minute) << "decoding " << c.Value;
        EXPECT_EQ(bench.Conv->Value, c.Value);
    }
}

TEST(TQorDateConvertor, ValuesAboveTheLimitAreIgnoredAltogether)
{
    Running on;
    for (double value : {202751589.5, 1e300, HUGE_VAL}) {
        for (auto method : {&TQorDateConvertor::doDecode, &TQorDateConvertor::doFormat}) {
            ConvertorBench bench(0, "HHmm");
            bench.Conv->Parts = TSystemTime{2024, 1, 1, 1, 18, 0, 0, 0};
            bench.Conv->Result.dtString("last");
            EXPECT_EQ(bench.Run(method, RealData(value)), Journal{}) << value;
            EXPECT_EQ(Fields(bench.Conv->Parts), "2024-01-01 w1 18:00:00.000") << "parts kept";
            EXPECT_EQ(Describe(bench.Conv->Result), "str last") << "result kept";
        }
    }
}

TEST(TQorDateConvertor, TheDateTimeComesFromTheInputOrTheIncomingValue)
{
    Running on;
    {
        ConvertorBench bench(0, "");
        EXPECT_EQ(bench.Run(&TQorDateConvertor::doDecode, StrData("738886.5")), Journal{"onResult null"});
        EXPECT_EQ(bench.Conv->Parts.Hour, 12) << "an incoming string is read as a real";
    }
    {
        // The schedule's minute check: the clock's Now wired to DateTime.
        FixedTime at(2024, 1, 1, 22, 45);
        ConvertorBench bench(0, "HHmm");
        TQorTime *clock = bench.Make<TQorTime>();
        LinkData(bench.Conv->DateTime, clock, &TQorTime::Now, 1);
        bench.Run(&TQorDateConvertor::doDecode, IntData(5));
        EXPECT_EQ(Describe(Read(bench.Conv, &TQorDateConvertor::Minute, 1)), "int 45");
        EXPECT_EQ(bench.Conv->Parts.Hour, 22);
    }
}

TEST(TQorDateConvertor, TheResultIsForwardedOnTheCallersRecord)
{
    Running on;
    ConvertorBench bench(9, "HHmm");
    TPointLink call;
    LinkEvent(call, bench.Conv, &TQorDateConvertor::doFormat, 0);
    TData record = RealData(738886.5);
    CallEvent(call, record);
    EXPECT_EQ(bench.Log, Journal{"onResult str 1200"});
    EXPECT_EQ(Describe(record), "str 1200");
    EXPECT_EQ(Describe(bench.Conv->Result), "str 1200");
}

TEST(TQorDateConvertor, FormatExpandsTheDateThenTheTimePicturesAndKeepsOtherBytes)
{
    Running on;
    struct Case {
        std::string Format;
        double Value;
        std::string Expected;
    } cases[] = {
        {"HHmm", 738886.5, "1200"},
        {"HH:mm", 738886.0 + (14 * 60 + 5) / 1440.0, "14:05"},
        {"d.MM.yyyy H:mm:ss", 738886.75, "1.01.2024 18:00:00"},
        // "Данные обновлены: HH:mm" in code page 1251, byte for byte.
        {"Данные обновлены: HH:mm", 738886.0 + (14 * 60 + 5) / 1440.0,
         "\xC4\xE0\xED\xED\xFB\xE5 \xEE\xE1\xED\xEE\xE2\xEB\xE5\xED\xFB: 14:05"},
        {"", 738886.5, ""},
        // Below 1.0 the date pass has no date to work on: no text, but still a result.
        {"HH:mm", 0.5, ""},
        {"HH:mm", 0.0, ""},
    };
    for (const Case &c : cases) {
        ConvertorBench bench(9, c.Format);
        EXPECT_EQ(bench.Run(&TQorDateConvertor::doFormat, RealData(c.Value)), Journal{"onResult str " + c.Expected})
            << "format \"" << c.Format << "\" of " << c.Value;
    }
}

TEST(TQorDir, DirIsTheProgramsFolderWithItsTrailingSeparator)
{
    Running on;
    Bench b;
    TQorDir *dir = b.Make<TQorDir>();
    TData answer = Read(dir, &TQorDir::Dir);
    ASSERT_EQ(answer.DataType, dtString);
    const std::string &folder = answer.StrValue;
    ASSERT_FALSE(folder.empty());
#ifdef _WIN32
    EXPECT_EQ(folder.back(), '\\') << folder;
    const std::string self = "test_elements_text.exe";
#else
    EXPECT_EQ(folder.back(), '/') << folder;
    const std::string self = "test_elements_text";
#endif
    EXPECT_TRUE(winlayer::FileExists(folder + self)) << folder + self;
    EXPECT_EQ(folder.find(self), std::string::npos) << "the folder alone, not the file";
}
