#include <gtest/gtest.h>

#include <vector>

#include "winlayer/DateTime.h"

using namespace winlayer;

namespace {

// Every field, so that records compare and print whole.
std::vector<int> Fields(const TSystemTime &t)
{
    return {t.Year, t.Month, t.Day, t.DayOfWeek, t.Hour, t.Minute, t.Second, t.Millisecond};
}

// A record no conversion would write.
const TSystemTime Untouched = {7, 7, 7, 7, 7, 7, 7, 7};

TSystemTime Date(uint16_t year, uint16_t month, uint16_t day, uint16_t hour = 0, uint16_t minute = 0,
                 uint16_t second = 0, uint16_t ms = 0, uint16_t dayOfWeek = 0)
{
    return TSystemTime{year, month, dayOfWeek, day, hour, minute, second, ms};
}

} // namespace

// Day numbers and weekdays are the proleptic Gregorian ordinals (1 January of
// year 1 = day 1, a Monday); encoding ignores the weekday.
TEST(DateTime, KnownDaysConvertBothWaysWithWeekdayMondayAsOne)
{
    struct Case { double value; TSystemTime time; } cases[] = {
        {1.0, Date(1, 1, 1, 0, 0, 0, 0, 1)},
        {730179.0, Date(2000, 2, 29, 0, 0, 0, 0, 2)},
        {738886.75, Date(2024, 1, 1, 18, 0, 0, 0, 1)},
        {738886.0 + 64801234.0 / 86400000.0, Date(2024, 1, 1, 18, 0, 1, 234, 1)},
        {738886.0 + 86399999.0 / 86400000.0, Date(2024, 1, 1, 23, 59, 59, 999, 1)}, // not yet midnight
        {3652059.0, Date(9999, 12, 31, 0, 0, 0, 0, 5)},
    };
    for (const auto &c : cases) {
        TSystemTime t = Untouched;
        EXPECT_TRUE(DateTimeToSystemTime(c.value, t)) << "for " << c.value;
        EXPECT_EQ(Fields(t), Fields(c.time)) << "for " << c.value;
        t.DayOfWeek = 0;
        EXPECT_EQ(SystemTimeToDateTime(t), c.value) << "for " << testing::PrintToString(Fields(c.time));
    }
}
