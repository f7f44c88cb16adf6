#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// The data's own age: when the provider issued the file whose lines come on
// Lines (its ":Issued:" line, IssueTime.h), told in local time, and whether
// that is more than six hours ago by the clock in use (TimeServices.h). Bias
// is the time-zone bias in minutes (UT = local + bias). A file without an
// issue time has no age: its text is empty and it is never out of date.
class TQorIssueTime : public TElement {
public:
    uint8_t Known = 0;       // the last file read stated its issue time
    double IssuedUt = 0.0;   // that time, in Universal Time
    uint8_t Stale = 0;       // it was out of date at the last look
    std::string Format;      // date, then time picture of the text while in date
    std::string StaleFormat; // the same once out of date
    uint32_t ColorFresh = 0; // colours of the text
    uint32_t ColorStale = 0;

    TPointLink Lines;
    TPointLink Bias;

    TPointLink onText;  // string: the issue time by Format or StaleFormat, or empty
    TPointLink onColor; // integer: ColorFresh or ColorStale
    TPointLink onStale; // integer: 1 out of date, 0 not

    // A file was parsed: find its issue time, look at its age, tell all three.
    void doRead(TData &Data, uint16_t Index);
    // Time went by: look at the age again and tell all three when it changed.
    void doCheck(TData &Data, uint16_t Index);

private:
    bool StaleNow(int32_t BiasMinutes) const;
    void Announce(int32_t BiasMinutes);
};
