#pragma once
#include <cstdint>
#include <string>

#include "KpForecast.h"
#include "runtime/TPointLink.h"

// The provider's 3-day Kp forecast as the window and the tray show it. The file
// named on FileName is read on doRead; as time goes by (doCheck) the same
// forecast is looked at again by the clock in use (TimeServices.h). Bias is the
// time-zone bias in minutes (UT = local + bias). A missing, broken or stale
// forecast (KpForecast.h) shows nothing anywhere: an empty day, line and tip.
//
// Levels, as the histogram colours its bars: up to 3 low, 4 middle, 5 or more
// storm. Due times are told as a time picture (TimeServices.h): DueToday or
// DueTomorrow by the local day the block begins on, DueNow once it has begun.
class TQorKpForecast : public TElement {
public:
    std::string FFileName;   // the property; FileName names the input
    std::string LineText;    // the line before the highest value of the next 24 hours
    std::string TipText;     // the tooltip's line before a storm value
    std::string AlertText;   // the balloon's text before a storm value
    std::string DueToday;    // e.g. "с HH:mm"
    std::string DueTomorrow; // e.g. "завтра с HH:mm"
    std::string DueNow;      // e.g. "сейчас"
    uint32_t ColorLow = 0;   // colours of the line by the value's level
    uint32_t ColorMiddle = 0;
    uint32_t ColorHigh = 0;

    uint8_t Known = 0;        // the last file read was a forecast
    TKpForecast Forecast;     // that forecast
    double AlertedIssue = 0;  // the issue whose storm the balloon told (its issue or first block)
    std::string Day, Line, Tip; // what was last told

    TPointLink FileName;
    TPointLink Bias;

    // string: one character for each 3-hour interval of the local day, '-' for
    // one that has passed or has no forecast, else the forecast Kp rounded.
    TPointLink onDay;
    TPointLink onLine;  // string: the highest value of the next 24 hours and when, or empty
    TPointLink onColor; // integer: the line's colour
    TPointLink onTip;   // string: the tooltip's line for a storm in the next 24 hours, or empty
    TPointLink onAlert; // string: once per forecast issue, the storm of the next 24 hours

    // The file was fetched (or is there at start): read it and tell everything.
    void doRead(TData &Data, uint16_t Index);
    // Time went by: tell what changed.
    void doCheck(TData &Data, uint16_t Index);
    // The histogram was drawn afresh: the day again, and what else changed.
    void doDay(TData &Data, uint16_t Index);

private:
    void Look(bool All, bool DayAgain);
};
