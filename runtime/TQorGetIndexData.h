#pragma once
#include <cstdint>
#include <vector>

#include "TPointLink.h"

// A data output switched among Count inputs by the last index received.
// The incoming record is _Data in the points, since Data names the inputs.
class TQorGetIndexData : public TElement {
public:
    int32_t Current = -1;
    uint16_t Count = 0;
    TPointLink onIndex;
    std::vector<TPointLink> Data;

    void SetCount(uint16_t Value);

    void doIndex(TData &_Data, uint16_t Index);
    void Var(TData &_Data, uint16_t Index);
};
