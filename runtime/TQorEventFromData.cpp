#include "TQorEventFromData.h"

#include <utility>

TQorEventFromData::~TQorEventFromData()
{
    FreeChain(Value);
}

void TQorEventFromData::doData(TData &_Data, uint16_t)
{
    TData value;
    ReadData(_Data, Data, nullptr, value);
    // Copied before the old chain goes: the value may be a read of Var, whose
    // chain is the stored one.
    TData copy;
    CopyChain(copy, value);
    FreeChain(Value);
    Value = std::move(copy);
}

void TQorEventFromData::Var(TData &_Data, uint16_t)
{
    CallEvent(onEvent, _Data);
    _Data = Value;
}
