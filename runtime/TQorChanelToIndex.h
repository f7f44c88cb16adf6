#pragma once
#include <cstdint>

#include "TPointLink.h"

// Many methods in, one event out carrying the number of the method called.
class TQorChanelToIndex : public TElement {
public:
    int32_t Count = 0;
    TPointLink onIndex;

    void doWork(TData &Data, uint16_t Index);
};
