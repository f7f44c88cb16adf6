#include "DateTime.h"

#include <cmath>

#include "NumText.h"

namespace winlayer {

namespace {

constexpr int64_t MsPerDay = 86400000;
constexpr int64_t DaysPer400Years = 146097;
constexpr int64_t DaysPer100Years = 36524;
constexpr int64_t DaysPer4Years = 1461;

// Days of all the years before the given one.
constexpr int64_t DaysBeforeYear(int64_t year)
{
    int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

// The last day number the record's 16-bit year can hold: 31 December 65535.
constexpr int64_t LastDay = DaysBeforeYear(65536);

} // namespace

bool IsLeapYear(uint32_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

uint32_t DaysInMonth(uint32_t year, uint32_t month)
{
    static const uint8_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29u : days[month - 1];
}

double SystemTimeToDateTime(const TSystemTime &time)
{
    if (time.Year < 1 || time.Year > 9999 || time.Month < 1 || time.Month > 12 || time.Day < 1 ||
        time.Day > DaysInMonth(time.Year, time.Month) || time.Hour >= 24 || time.Minute >= 60 ||
        time.Second >= 60 || time.Millisecond >= 1000)
        return 0.0;
    int64_t days = DaysBeforeYear(time.Year);
    for (uint32_t month = 1; month < time.Month; ++month)
        days += DaysInMonth(time.Year, month);
    days += time.Day;
    int64_t ms = time.Hour * 3600000 + time.Minute * 60000 + time.Second * 1000 + time.Millisecond;
    return static_cast<double>(days) + static_cast<double>(ms) / static_cast<double>(MsPerDay);
}

bool DateTimeToSystemTime(double value, TSystemTime &time)
{
    if (!(value >= 1.0) || value >= static_cast<double>(LastDay + 1))
        return false;
    double whole = std::floor(value);
    int64_t day = static_cast<int64_t>(whole);
    int64_t ms = static_cast<int64_t>(RoundHalfEven((value - whole) * static_cast<double>(MsPerDay)));
    if (ms >= MsPerDay) {
        ++day;
        ms -= MsPerDay;
    }
    if (day > LastDay)
        return false;

    int64_t rest = day - 1;
    int64_t n400 = rest / DaysPer400Years;
    rest %= DaysPer400Years;
    int64_t n100 = rest / DaysPer100Years;
    if (n100 == 4) // the last day of a leap fourth century
        n100 = 3;
    rest -= n100 * DaysPer100Years;
    int64_t n4 = rest / DaysPer4Years;
    rest %= DaysPer4Years;
    int64_t n1 = rest / 365;
    if (n1 == 4) // the last day of a leap fourth year
        n1 = 3;
    rest -= n1 * 365;
    uint32_t year = static_cast<uint32_t>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
    uint32_t month = 1;
    while (rest >= DaysInMonth(year, month)) {
        rest -= DaysInMonth(year, month);
        ++month;
    }

    time.Year = static_cast<uint16_t>(year);
    time.Month = static_cast<uint16_t>(month);
    time.DayOfWeek = static_cast<uint16_t>((day + 6) % 7 + 1);
    time.Day = static_cast<uint16_t>(rest + 1);
    time.Hour = static_cast<uint16_t>(ms / 3600000);
    time.Minute = static_cast<uint16_t>(ms / 60000 % 60);
    time.Second = static_cast<uint16_t>(ms / 1000 % 60);
    time.Millisecond = static_cast<uint16_t>(ms % 1000);
    return true;
}

} // namespace winlayer
