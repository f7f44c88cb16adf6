#pragma once
#include <cstdint>

// Date-time values are reals: whole days counted with 1 January of year 1
// (proleptic Gregorian) as day 1, plus the elapsed part of the day.
namespace winlayer {

// A calendar record laid out like the platform's SYSTEMTIME. DayOfWeek counts
// 1 = Monday .. 7 = Sunday (SYSTEMTIME counts 0 = Sunday .. 6 = Saturday).
struct TSystemTime {
    uint16_t Year;
    uint16_t Month;
    uint16_t DayOfWeek;
    uint16_t Day;
    uint16_t Hour;
    uint16_t Minute;
    uint16_t Second;
    uint16_t Millisecond;
};
static_assert(sizeof(TSystemTime) == 16, "TSystemTime must match SYSTEMTIME");

bool IsLeapYear(uint32_t year);
uint32_t DaysInMonth(uint32_t year, uint32_t month); // 0 for a month outside 1 .. 12

// 0 for invalid fields: year 0 or above 9999, month 0 or above 12, day 0 or
// beyond the month, hour 24 or more, minute or second 60 or more, millisecond
// 1000 or more. DayOfWeek is not read.
double SystemTimeToDateTime(const TSystemTime &time);

// Fills the record from a date-time value. False, with the record untouched, for
// values below 1.0, not-a-number and values past the year 65535, which the
// record cannot hold. A fraction that rounds up to a whole day gives midnight of
// the next day.
bool DateTimeToSystemTime(double value, TSystemTime &time);

} // namespace winlayer
