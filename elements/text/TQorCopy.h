#pragma once
#include <cstdint>

#include "runtime/TPointLink.h"

// Copies a substring, positions counted from the left or, with Direction 1,
// from the right end. The Position and Count properties are FPosition and
// FCount, beside their data inputs.
class TQorCopy : public TElement {
public:
    int32_t FPosition = 0;
    int32_t FCount = 0;
    uint8_t Direction = 0;

    TPointLink Count;
    TPointLink Position;
    TPointLink Str;

    TPointLink onCopy;

    void doCopy(TData &Data, uint16_t Index);
};
