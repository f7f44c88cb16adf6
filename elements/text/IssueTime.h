#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

// The age of the data in DGD.txt. The provider states on a header line when it
// issued the file, in Universal Time: ":Issued: 1230 UT 06 Dec 2026". Times
// here are date-time values (whole days from 1 January of year 1, plus the
// part of the day; DateTime.h); the time-zone bias is in minutes, as Windows
// keeps it: UT = local time + bias (-180 three hours east of Greenwich).

// The issue time of Line in UT, when Line (blanks before it allowed) is an
// ":Issued:" line with a valid time and date ("hhmm UT dd Mon yyyy", the month
// in English, any case). False for any other line.
bool ParseIssuedLine(const std::string &Line, double &Ut);

// The number written by Text with Min to Max digits and nothing else, or -1.
int DigitsValue(const std::string &Text, size_t Min, size_t Max);

// 1 to 12 for an English month's three-letter name in any letter case, else 0.
int MonthNumber(const std::string &Text);

// The date-time value of a calendar day and time of day, or 0 where there is
// no such day or time (31 November, the 25th hour, a year outside 1 to 9999).
double DateTimeOf(int Year, int Month, int Day, int Hour = 0, int Minute = 0);

double UtToLocal(double Ut, int32_t BiasMinutes);
double LocalToUt(double Local, int32_t BiasMinutes);

// Data issued more than this long before now are out of date: the provider
// writes the file every three hours, so six hours mean at least one missed.
constexpr int64_t StaleAfterMs = 6 * 60 * 60 * 1000;

// True when NowUt is more than Ms after ThenUt (to the millisecond).
bool IsOlderThan(double ThenUt, double NowUt, int64_t Ms);

// True when NowUt is more than StaleAfterMs after IssuedUt.
bool IsStale(double IssuedUt, double NowUt);

// The tray's tooltip holds 63 characters.
constexpr size_t TipLimit = 63;

// Base with each non-empty line of Lines under it, in order; Base is shortened
// rather than the lines (and the last lines rather than the first), so that
// the whole stays within TipLimit. Without lines Base is left as it is.
std::string TipWithLines(const std::string &Base, std::initializer_list<std::string> Lines);
