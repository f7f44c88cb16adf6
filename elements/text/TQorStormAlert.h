#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// A storm notice, once each time the level rises to storm: the first storm
// value after a calm one (or after the start) gives onAlert with Text followed
// by the value; further storm values give nothing until a calm one came.
class TQorStormAlert : public TElement {
public:
    uint8_t InStorm = 0;
    std::string Text; // what comes before the value

    TPointLink onAlert; // string: the notice

    void doStorm(TData &Data, uint16_t Index); // a value at storm level (its string)
    void doCalm(TData &Data, uint16_t Index);  // a value below it
};
