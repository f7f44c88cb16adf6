#pragma once
#include "TPointLink.h"

// A data output that first lets the scheme behind onEvent run, then answers
// what doData stored. Value heads a chain the element owns.
// The incoming record is _Data in the points, since Data names the input.
class TQorEventFromData : public TElement {
public:
    TData Value;
    TPointLink Data;
    TPointLink onEvent;

    TQorEventFromData() = default;
    ~TQorEventFromData();
    TQorEventFromData(const TQorEventFromData &) = delete;
    TQorEventFromData &operator=(const TQorEventFromData &) = delete;

    void doData(TData &_Data, uint16_t Index);
    void Var(TData &_Data, uint16_t Index);
};
