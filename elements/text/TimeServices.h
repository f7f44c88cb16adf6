#pragma once
#include <cstdint>
#include <string>

#include "winlayer/DateTime.h"

// The local clock and the locale's date and time pictures as the time elements
// see them. TimeServicesWin32.cpp asks Windows (GetLocalTime, GetDateFormatA and
// GetTimeFormatA with the user's default locale); TimeServicesPosix.cpp uses the
// C library's local time and the pictures of DatePicture.h.

using TClockProc = winlayer::TSystemTime (*)();

// The local time from the clock in use: the platform's, unless a test set another.
winlayer::TSystemTime LocalNow();
// The same moment in Universal Time, by the time-zone bias in minutes (UT = local + bias).
double UtNow(int32_t BiasMinutes);
// Puts Clock in place (nullptr puts the platform's back); returns the one before.
TClockProc SetClock(TClockProc Clock);
// The platform's local clock.
winlayer::TSystemTime PlatformLocalTime();

// Picture expanded as a date picture (d, M, y...) or as a time picture (h, H, m,
// s, t...) with the user's default locale; everything else, and text in single
// quotes, is copied. False, with Text empty, when the platform refuses the record
// (a date before 1601 or not in the calendar; a time of day out of range).
bool LocaleDateText(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text);
bool LocaleTimeText(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text);
