#pragma once
#include "TPointLink.h"

// Keeps one value for any reader. The stored value is FValue, since Value names
// the data output; the incoming record is _Data, since Data names the input.
class TQorMemory : public TElement {
public:
    TData FValue;
    TData Default;
    TPointLink onData;
    TPointLink Data;

    void SetDefault(const TData &NewDefault);

    void doValue(TData &_Data, uint16_t Index);
    void doClear(TData &_Data, uint16_t Index);
    void Value(TData &_Data, uint16_t Index);
};
