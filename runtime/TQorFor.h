#pragma once
#include <cstdint>

#include "TPointLink.h"

// Counting loop: onEvent for every counter value, then onStop with the first
// value that failed the test. The bounds' properties are FStart and FEnd, since
// Start and End name the inputs.
class TQorFor : public TElement {
public:
    int32_t Counter = 0;
    int32_t FStart = 0;
    int32_t FEnd = 0;
    int32_t Step = 0;
    uint8_t IncludeEnd = 0;
    uint8_t InData = 0;
    TPointLink End;
    TPointLink Start;
    TPointLink onEvent;
    TPointLink onStop;

    void doFor(TData &Data, uint16_t Index);
};
