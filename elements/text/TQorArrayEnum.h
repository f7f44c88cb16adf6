#pragma once
#include <cstdint>

#include "runtime/TPointLink.h"

// Raises onItem with every item of an array value, first to last or, with
// Reverse 1, last to first.
class TQorArrayEnum : public TElement {
public:
    uint8_t Stop = 0;
    TData Item;
    TData IndexValue;

    uint8_t Reverse = 0;
    uint8_t BreakEvent = 0;

    TPointLink Array;

    TPointLink onItem;
    TPointLink onEndEnum;
    TPointLink onBreak;

    void doEnum(TData &Data, uint16_t Index);
    void doStop(TData &Data, uint16_t Index);
    void Index(TData &Data, uint16_t Index);
};
