#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "winlayer/DateTime.h"

using namespace winlayer;

namespace winlayer {
bool operator==(const TSystemTime &a, const TSystemTime &b)
{
    return a.Year == b.Year && a.Month == b.Month && a.DayOfWeek == b.DayOfWeek && a.Day == b.Day &&
           a.Hour == b.Hour && a.Minute == b.Minute && a.Second == b.Second && a.Millisecond == b.Millisecond;
}
std::ostream &operator<<(std::ostream &out, const TSystemTime &t)
{
    return out << t.Year << "-" << t.Month << "-" << t.Day << " (weekday " << t.DayOfWeek << ") " << t.Hour << ":"
               << t.Minute << ":" << t.Second << "." << t.Millisecond;
}
} // namespace winlayer

namespace {

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
        {3652059.0, Date(9999, 12, 31, 0, 0, 0, 0, 5)},
    };
    for (const auto &c : cases) {
        TSystemTime t = Untouched;
        EXPECT_TRUE(DateTimeToSystemTime(c.value, t)) << "for " << c.value;
        EXPECT_EQ(t, c.time) << "for " << c.value;
        t.DayOfWeek = 0;
        EXPECT_EQ(SystemTimeToDateTime(t), c.value) << "for " << c.time;
    }
}

TEST(DateTime, InvalidFieldsEncodeAsZero)
{
    const TSystemTime invalid[] = {
        Date(0, 1, 1),     Date(10000, 1, 1),     Date(2024, 13, 1),     Date(2024, 1, 0),
        Date(2023, 2, 29), Date(2100, 2, 29),     Date(2024, 4, 31),     Date(2024, 1, 1, 24),
        Date(2024, 1, 1, 0, 60), Date(2024, 1, 1, 0, 0, 60), Date(2024, 1, 1, 0, 0, 0, 1000),
    };
    for (const TSystemTime &t : invalid)
        EXPECT_EQ(SystemTimeToDateTime(t), 0.0) << "for " << t;
    EXPECT_EQ(SystemTimeToDateTime(Date(9999, 12, 31, 23, 59, 59, 999)), 3652059.0 + 86399999.0 / 86400000.0)
        << "the last valid value of every field";
}

TEST(DateTime, AFractionRoundingToAWholeDayIsMidnightOfTheNext)
{
    struct Case { double value; TSystemTime time; } cases[] = {
        {738885.0 + 0.9999999998, Date(2024, 1, 1, 0, 0, 0, 0, 1)},        // 31 Dec 2023, 0.02 ms short
        {738886.0 + 0.9999999, Date(2024, 1, 1, 23, 59, 59, 991, 1)},       // 8.64 ms short: not rounded up
        {730179.0 + 86399999.4 / 86400000.0, Date(2000, 2, 29, 23, 59, 59, 999, 2)},
    };
    for (const auto &c : cases) {
        TSystemTime t = Untouched;
        EXPECT_TRUE(DateTimeToSystemTime(c.value, t)) << "for " << c.value;
        EXPECT_EQ(t, c.time) << "for " << c.value;
    }
}

TEST(DateTime, ValuesBelowOneOrPastTheRecordFailAndLeaveIt)
{
    // 31 December 65535 is the last day the 16-bit year holds: day 3652059
    // plus 55536 years of which 13467 are leap.
    const double lastDay = 3652059.0 + 55536.0 * 365.0 + 13467.0;
    TSystemTime t;
    const double bad[] = {0.9999999, -738886.75, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), lastDay + 1.0};
    for (double value : bad) {
        t = Untouched;
        EXPECT_FALSE(DateTimeToSystemTime(value, t)) << "for " << value;
        EXPECT_EQ(t, Untouched) << "for " << value;
    }
}
