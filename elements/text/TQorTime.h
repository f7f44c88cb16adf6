#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// The current local date and time (through the clock of TimeServices.h).
class TQorTime : public TElement {
public:
    uint8_t PartSel = 0; // the part Part answers: 0 the hour, 1 the year
    std::string Format;  // kept for the scheme; nothing reads it

    void Now(TData &Data, uint16_t Index);
    void Part(TData &Data, uint16_t Index);
};
