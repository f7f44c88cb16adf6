#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>

#include "winlayer/DateTime.h"

using namespace winlayer;

namespace winlayer {
bool operator==(const TSystemTime &a, const TSystemTime &b); // in DateTimeTest.cpp
std::ostream &operator<<(std::ostream &out, const TSystemTime &t);
} // namespace winlayer

namespace {

// 1 January 1601, where FILETIME starts counting.
constexpr int64_t FileTimeFirstDay = 584389;
constexpr int64_t TicksPerMs = 10000;
constexpr int64_t MsPerDay = 86400000;

} // namespace

TEST(DateTimeWin32, DecodingAgreesWithThePlatformsCalendar)
{
    for (int64_t day = FileTimeFirstDay; day <= 3652059; day += 997) {
        const int64_t msOfDay[] = {0, 64801234, MsPerDay - 1};
        for (int64_t ms : msOfDay) {
            ULARGE_INTEGER ticks;
            ticks.QuadPart = static_cast<ULONGLONG>(((day - FileTimeFirstDay) * MsPerDay + ms) * TicksPerMs);
            FILETIME ft = {ticks.LowPart, ticks.HighPart};
            SYSTEMTIME platform;
            ASSERT_TRUE(FileTimeToSystemTime(&ft, &platform)) << "day " << day;

            double value = static_cast<double>(day) + static_cast<double>(ms) / static_cast<double>(MsPerDay);
            TSystemTime ours = {};
            ASSERT_TRUE(DateTimeToSystemTime(value, ours)) << "day " << day;
            // The platform counts 0 = Sunday, ours 1 = Monday .. 7 = Sunday.
            const TSystemTime expected = {platform.wYear, platform.wMonth,
                                          static_cast<uint16_t>((platform.wDayOfWeek + 6) % 7 + 1), platform.wDay,
                                          platform.wHour, platform.wMinute, platform.wSecond, platform.wMilliseconds};
            ASSERT_EQ(ours, expected) << "day " << day << ", " << ms << " ms";
            ASSERT_EQ(SystemTimeToDateTime(ours), value) << "day " << day << ", " << ms << " ms";
        }
    }
}
