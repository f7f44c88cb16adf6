#pragma once
#include <cstdint>

#include "runtime/TPointLink.h"

// When the file named on FileName was last written, in local time: the file
// system keeps Universal Time, which the time-zone bias on Bias (minutes, UT =
// local + bias) turns into the local time the program shows everywhere.
class TQorFileTime : public TElement {
public:
    TPointLink FileName;
    TPointLink Bias;

    // The date-time value (DateTime.h); null when the file has no time to read.
    void DateTime(TData &Data, uint16_t Index);
};
