#include "TQorIndexToChanel.h"

void TQorIndexToChanel::SetCount(int32_t Value)
{
    onEvent.resize(Value > 0 ? static_cast<size_t>(Value) : 0);
    Count = Value;
}

void TQorIndexToChanel::doEvent(TData &_Data, uint16_t)
{
    int32_t n = ReadInteger(_Data, Index, 0);
    TData value;
    ReadDataFirst(_Data, Data, &FData, value);
    _Data = value;
    if (n >= 0 && n < Count && static_cast<size_t>(n) < onEvent.size())
        ForwardSame(_Data, onEvent[static_cast<size_t>(n)]);
}
