#include <gtest/gtest.h>

#include <vector>

#include "winlayer/DateTime.h"

using namespace winlayer;

namespace {

// Every field, so that records compare and print whole.
std::vector<int> Fields(const TSystemTime &t)
{
    return {t.Year, t.Month, t.DayOfWeek, t.Day, t.Hour, t.Minute, t.Second, t.Millisecond};
}

// A record no conversion would write.
const TSystemTime Untouched = {7, 7, 7, 7, 7, 7, 7, 7};

} // namespace

// Day numbers and weekdays are the proleptic Gregorian ordinals (1 January of
// year 1 = day 1, a Monday); encoding ignores the weekday.
TEST(DateTime, KnownDaysConvertBothWaysWithWeekdayMondayAsOne)
{
    // Year, month, weekday, day, hour, minute, second, millisecond.
    struct Case { double value; TSystemTime time; } cases[] = {
        {1.0, {1, 1, 1, 1, 0, 0, 0, 0}},
        {730179.0, {2000, 2, 2, 29, 0, 0, 0, 0}},
        {738886.75, {2024, 1, 1, 1, 18, 0, 0, 0}},
        {738886.0 + 64801234.0 / 86400000.0, {2024, 1, 1, 1, 18, 0, 1, 234}},
        {738886.0 + 86399999.0 / 86400000.0, {2024, 1, 1, 1, 23, 59, 59, 999}}, // not yet midnight
        {3652059.0, {9999, 12, 5, 31, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        TSystemTime t = Untouched;
        EXPECT_TRUE(DateTimeToSystemTime(c.value, t)) << "for " << c.value;
        EXPECT_EQ(Fields(t), Fields(c.time)) << "for " << c.value;
        t.DayOfWeek = 0;
        EXPECT_EQ(SystemTimeToDateTime(t), c.value) << "for " << testing::PrintToString(Fields(c.time));
    }
}
