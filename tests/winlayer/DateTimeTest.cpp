#include <gtest/gtest.h>

#include <cmath>
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

// Day numbers and weekdays of these dates are the proleptic Gregorian ordinals
// (1 January of year 1 = day 1, a Monday).
struct KnownDay { double value; TSystemTime time; };
const KnownDay KnownDays[] = {
    {1.0, Date(1, 1, 1, 0, 0, 0, 0, 1)},
    {693596.0, Date(1900, 1, 1, 0, 0, 0, 0, 1)},
    {693654.0, Date(1900, 2, 28, 0, 0, 0, 0, 3)},
    {693655.0, Date(1900, 3, 1, 0, 0, 0, 0, 4)},
    {719163.5, Date(1970, 1, 1, 12, 0, 0, 0, 4)},
    {730179.0, Date(2000, 2, 29, 0, 0, 0, 0, 2)},
    {730180.0, Date(2000, 3, 1, 0, 0, 0, 0, 3)},
    {738885.0, Date(2023, 12, 31, 0, 0, 0, 0, 7)},
    {738886.75, Date(2024, 1, 1, 18, 0, 0, 0, 1)},
    {738945.0, Date(2024, 2, 29, 0, 0, 0, 0, 4)},
    {739251.0, Date(2024, 12, 31, 0, 0, 0, 0, 2)},
    {3652059.0, Date(9999, 12, 31, 0, 0, 0, 0, 5)},
};

TEST(DateTime, DecodesKnownDaysWithWeekdayMondayAsOne)
{
    for (const KnownDay &k : KnownDays) {
        TSystemTime t = Untouched;
        EXPECT_TRUE(DateTimeToSystemTime(k.value, t)) << "for " << k.value;
        EXPECT_EQ(t, k.time) << "for " << k.value;
    }
}

TEST(DateTime, EncodesKnownDaysIgnoringTheWeekday)
{
    for (const KnownDay &k : KnownDays) {
        TSystemTime t = k.time;
        t.DayOfWeek = 0;
        EXPECT_EQ(SystemTimeToDateTime(t), k.value) << "for " << k.time;
    }
}

TEST(DateTime, InvalidFieldsEncodeAsZero)
{
    const TSystemTime invalid[] = {
        Date(0, 1, 1),          Date(10000, 1, 1),      Date(65535, 1, 1),
        Date(2024, 0, 1),       Date(2024, 13, 1),      Date(2024, 1, 0),
        Date(2024, 1, 32),      Date(2023, 2, 29),      Date(1900, 2, 29),
        Date(2000, 2, 30),      Date(2024, 4, 31),      Date(2024, 1, 1, 24),
        Date(2024, 1, 1, 0, 60), Date(2024, 1, 1, 0, 0, 60), Date(2024, 1, 1, 0, 0, 0, 1000),
    };
    for (const TSystemTime &t : invalid)
        EXPECT_EQ(SystemTimeToDateTime(t), 0.0) << "for " << t;
    // The last valid value of every field.
    EXPECT_EQ(SystemTimeToDateTime(Date(9999, 12, 31, 23, 59, 59, 999)), 3652059.0 + 86399999.0 / 86400000.0);
}

TEST(DateTime, LeapYearsFollowTheGregorianRule)
{
    struct Case { uint16_t year; bool leap; } cases[] = {
        {1900, false}, {2000, true}, {2024, true}, {2023, false}, {2100, false}, {2400, true}, {4, true}, {1, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(IsLeapYear(c.year), c.leap) << "for " << c.year;
        double feb28 = SystemTimeToDateTime(Date(c.year, 2, 28));
        double mar1 = SystemTimeToDateTime(Date(c.year, 3, 1));
        EXPECT_EQ(mar1 - feb28, c.leap ? 2.0 : 1.0) << "for " << c.year;
        EXPECT_EQ(SystemTimeToDateTime(Date(c.year, 2, 29)) != 0.0, c.leap) << "29 February " << c.year;
        double jan1 = SystemTimeToDateTime(Date(c.year, 1, 1));
        double next = SystemTimeToDateTime(Date(static_cast<uint16_t>(c.year + 1), 1, 1));
        EXPECT_EQ(next - jan1, c.leap ? 366.0 : 365.0) << "for " << c.year;
    }
}

TEST(DateTime, EveryDayFollowsTheDayBeforeAndRoundTrips)
{
    TSystemTime before = Untouched;
    ASSERT_TRUE(DateTimeToSystemTime(1.0, before));
    for (int32_t day = 2; day <= 3652059; ++day) {
        TSystemTime t = Untouched;
        ASSERT_TRUE(DateTimeToSystemTime(day, t)) << "day " << day;
        // The day after `before`, found by counting on the calendar.
        TSystemTime expected = before;
        expected.DayOfWeek = static_cast<uint16_t>(before.DayOfWeek % 7 + 1);
        if (before.Day < DaysInMonth(before.Year, before.Month)) {
            ++expected.Day;
        } else if (before.Month < 12) {
            ++expected.Month;
            expected.Day = 1;
        } else {
            ++expected.Year;
            expected.Month = 1;
            expected.Day = 1;
        }
        ASSERT_EQ(t, expected) << "day " << day;
        ASSERT_EQ(SystemTimeToDateTime(t), static_cast<double>(day)) << "day " << day;
        before = t;
    }
    EXPECT_EQ(before, Date(9999, 12, 31, 0, 0, 0, 0, 5));
}

TEST(DateTime, TimeOfDayRoundTripsToTheMillisecond)
{
    const uint32_t msOfDay[] = {0, 1, 999, 1000, 59999, 60000, 3599999, 3600000, 43200000, 64800000, 86399998, 86399999};
    const double days[] = {1.0, 738886.0, 3652059.0};
    for (double day : days) {
        for (uint32_t ms : msOfDay) {
            TSystemTime in = Untouched;
            ASSERT_TRUE(DateTimeToSystemTime(day, in));
            in.Hour = static_cast<uint16_t>(ms / 3600000);
            in.Minute = static_cast<uint16_t>(ms / 60000 % 60);
            in.Second = static_cast<uint16_t>(ms / 1000 % 60);
            in.Millisecond = static_cast<uint16_t>(ms % 1000);
            double value = SystemTimeToDateTime(in);
            TSystemTime out = Untouched;
            ASSERT_TRUE(DateTimeToSystemTime(value, out));
            EXPECT_EQ(out, in) << "for " << ms << " ms into day " << day;
        }
    }
}

TEST(DateTime, AFractionRoundingToAWholeDayIsMidnightOfTheNext)
{
    struct Case { double value; TSystemTime time; } cases[] = {
        {738885.0 + 0.9999999998, Date(2024, 1, 1, 0, 0, 0, 0, 1)},        // 31 Dec 2023, 0.02 ms short
        {738886.0 + 0.9999999, Date(2024, 1, 1, 23, 59, 59, 991, 1)},       // 8.64 ms short: not rounded up
        {730179.0 + 86399999.6 / 86400000.0, Date(2000, 3, 1, 0, 0, 0, 0, 3)},
        {730179.0 + 86399999.4 / 86400000.0, Date(2000, 2, 29, 23, 59, 59, 999, 2)},
    };
    for (const Case &c : cases) {
        TSystemTime t = Untouched;
        EXPECT_TRUE(DateTimeToSystemTime(c.value, t)) << "for " << c.value;
        EXPECT_EQ(t, c.time) << "for " << c.value;
    }
}

TEST(DateTime, ValuesBelowOneOrPastTheRecordFailAndLeaveIt)
{
    const double bad[] = {0.0, 0.25, 0.9999999, -1.0, -738886.75, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                          1e300, 23936167.0, 202751589.0};
    for (double value : bad) {
        TSystemTime t = Untouched;
        EXPECT_FALSE(DateTimeToSystemTime(value, t)) << "for " << value;
        EXPECT_EQ(t, Untouched) << "for " << value;
    }
}

TEST(DateTime, YearsPastNineThousandNineHundredNinetyNineStillDecode)
{
    // 31 December 65535 is the last day the 16-bit year holds: day 3652059
    // plus 55536 years of which 13467 are leap.
    const double lastDay = 3652059.0 + 55536.0 * 365.0 + 13467.0;
    TSystemTime t = Untouched;
    ASSERT_TRUE(DateTimeToSystemTime(lastDay + 0.5, t));
    EXPECT_EQ(t.Year, 65535);
    EXPECT_EQ(t.Month, 12);
    EXPECT_EQ(t.Day, 31);
    EXPECT_EQ(t.Hour, 12);
    t = Untouched;
    EXPECT_FALSE(DateTimeToSystemTime(lastDay + 1.0, t));
    EXPECT_TRUE(DateTimeToSystemTime(3652060.0, t));
    EXPECT_EQ(t, Date(10000, 1, 1, 0, 0, 0, 0, 6));
}
