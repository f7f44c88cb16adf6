#include "TQorMemory.h"

void TQorMemory::SetDefault(const TData &NewDefault)
{
    Default = NewDefault;
    FValue = Default;
}

void TQorMemory::doValue(TData &_Data, uint16_t)
{
    // Read straight into the stored value, which the read only overwrites at
    // its end, so that its room is used again.
    ReadDataFirst(_Data, Data, nullptr, FValue);
    ForwardValue(_Data, onData, FValue);
}

void TQorMemory::doClear(TData &_Data, uint16_t)
{
    FValue = Default;
    ForwardValue(_Data, onData, FValue);
}

void TQorMemory::Value(TData &_Data, uint16_t)
{
    _Data = FValue;
}
