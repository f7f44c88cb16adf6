#include <gtest/gtest.h>

#include <windows.h>

#include <cstddef>

#include "winlayer/DateTime.h"

using namespace winlayer;

// The record can be handed to the platform's date and time formatting as it is.
static_assert(sizeof(TSystemTime) == sizeof(SYSTEMTIME));
static_assert(offsetof(TSystemTime, DayOfWeek) == offsetof(SYSTEMTIME, wDayOfWeek));
static_assert(offsetof(TSystemTime, Day) == offsetof(SYSTEMTIME, wDay));
static_assert(offsetof(TSystemTime, Millisecond) == offsetof(SYSTEMTIME, wMilliseconds));

namespace {

// 1 January 1601, where FILETIME starts counting.
constexpr int64_t FileTimeFirstDay = 584389;
constexpr int64_t TicksPerMs = 10000;
constexpr int64_t MsPerDay = 86400000;

} // namespace

TEST(DateTimeWin32, DecodingAgreesWithThePlatformsCalendar)
{
    const int64_t msOfDay[] = {0, 1, 43200000, 64800000 + 1234, MsPerDay - 1};
    int checked = 0;
    for (int64_t day = FileTimeFirstDay; day <= 3652059; day += 997) {
        for (int64_t ms : msOfDay) {
            ULARGE_INTEGER ticks;
            ticks.QuadPart = static_cast<ULONGLONG>(((day - FileTimeFirstDay) * MsPerDay + ms) * TicksPerMs);
            FILETIME ft = {ticks.LowPart, ticks.HighPart};
            SYSTEMTIME platform;
            ASSERT_TRUE(FileTimeToSystemTime(&ft, &platform)) << "day " << day;

            double value = static_cast<double>(day) + static_cast<double>(ms) / static_cast<double>(MsPerDay);
            TSystemTime ours = {};
            ASSERT_TRUE(DateTimeToSystemTime(value, ours)) << "day " << day;
            EXPECT_EQ(ours.Year, platform.wYear) << "day " << day;
            EXPECT_EQ(ours.Month, platform.wMonth) << "day " << day;
            EXPECT_EQ(ours.Day, platform.wDay) << "day " << day;
            // The platform counts 0 = Sunday, ours 1 = Monday .. 7 = Sunday.
            EXPECT_EQ(ours.DayOfWeek, (platform.wDayOfWeek + 6) % 7 + 1) << "day " << day;
            EXPECT_EQ(ours.Hour, platform.wHour) << "day " << day;
            EXPECT_EQ(ours.Minute, platform.wMinute) << "day " << day;
            EXPECT_EQ(ours.Second, platform.wSecond) << "day " << day;
            EXPECT_EQ(ours.Millisecond, platform.wMilliseconds) << "day " << day;

            TSystemTime fromPlatform = {platform.wYear, platform.wMonth, platform.wDayOfWeek, platform.wDay,
                                        platform.wHour, platform.wMinute, platform.wSecond, platform.wMilliseconds};
            EXPECT_EQ(SystemTimeToDateTime(fromPlatform), value) << "day " << day;
            ++checked;
        }
    }
    EXPECT_GT(checked, 15000);
}
