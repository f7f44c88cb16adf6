#pragma once
#include <cstdint>
#include <vector>

#include "TPointLink.h"

// One method in; the value goes on to the event the Index input chooses.
// The property is FData, since Data names the input; the incoming record is _Data.
class TQorIndexToChanel : public TElement {
public:
    int32_t Count = 0;
    TData FData;
    TPointLink Data;
    TPointLink Index;
    std::vector<TPointLink> onEvent;

    void SetCount(int32_t Value);

    void doEvent(TData &_Data, uint16_t);
};
