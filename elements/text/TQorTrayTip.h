#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// The tray's tooltip, given a second line (StaleLine) while the data are out
// of date, all of it within the tooltip's 63 characters (TipWithLine of
// IssueTime.h).
class TQorTrayTip : public TElement {
public:
    std::string Base;      // the last tooltip given
    uint8_t HasBase = 0;   // one was given
    uint8_t Stale = 0;     // the state last given
    std::string StaleLine; // the second line

    TPointLink onHint; // string: the tooltip to show

    // A new tooltip (the value's string): onHint with it, and the line if stale.
    void doHint(TData &Data, uint16_t Index);
    // The data's state (integer, non-zero out of date): on a change, onHint
    // again with the last tooltip given.
    void doStale(TData &Data, uint16_t Index);
};
