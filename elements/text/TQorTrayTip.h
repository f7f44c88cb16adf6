#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// The tray's tooltip, given a line (StaleLine) while the data are out of date
// and a line of the forecast while there is one, all of it within the
// tooltip's 63 characters (TipWithLines of IssueTime.h).
class TQorTrayTip : public TElement {
public:
    std::string Base;         // the last tooltip given
    uint8_t HasBase = 0;      // one was given
    uint8_t Stale = 0;        // the state last given
    std::string StaleLine;    // the line while out of date
    std::string ForecastLine; // the forecast's line last given; empty, none

    TPointLink onHint; // string: the tooltip to show

    // A new tooltip (the value's string): onHint with it and the lines.
    void doHint(TData &Data, uint16_t Index);
    // The data's state (integer, non-zero out of date): on a change, onHint
    // again with the last tooltip given.
    void doStale(TData &Data, uint16_t Index);
    // The forecast's line (string, empty for none): on a change, onHint again.
    void doForecast(TData &Data, uint16_t Index);

private:
    void Tell(TData &Data);
};
