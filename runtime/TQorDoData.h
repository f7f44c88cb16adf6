#pragma once
#include "TPointLink.h"

// Replaces the event's value by the wired input's, else by the property's.
// The property is FData, since Data names the input; the incoming record is _Data.
class TQorDoData : public TElement {
public:
    TData FData;
    TPointLink Data;
    TPointLink onEventData;

    void doData(TData &_Data, uint16_t Index);
};
