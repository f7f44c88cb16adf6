#include "TQorMemory.h"

#include <utility>

void TQorMemory::SetDefault(const TData &NewDefault)
{
    Default = NewDefault;
    FValue = Default;
}

void TQorMemory::doValue(TData &_Data, uint16_t)
{
    TData v;
    ReadDataFirst(_Data, Data, nullptr, v);
    FValue = std::move(v);
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
