#pragma once
#include <string>

#include "winlayer/DateTime.h"

// The date and time pictures of Windows' GetDateFormat and GetTimeFormat, for
// builds without them. Names are English (the "C" locale).
//
// Date: d, dd (day), ddd, dddd (day name), M, MM (month), MMM, MMMM (month
// name), y and yy (year of the century, two digits, as Windows gives both),
// yyy and yyyy (year).
// Time: h, hh (12-hour clock), H, HH (24-hour clock), m, mm, s, ss, t (first
// letter of AM/PM), tt (AM/PM). Longer runs count as the longest picture.
// A single quote starts literal text up to the next single quote; two quotes
// inside it stand for one. Everything else is copied.
//
// Like Windows they refuse (false, Text empty) a date before 1601 or not in the
// calendar, or a time of day out of range; dates after 9999 are refused too.
bool ExpandDatePicture(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text);
bool ExpandTimePicture(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text);
