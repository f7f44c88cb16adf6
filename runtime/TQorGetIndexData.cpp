#include "TQorGetIndexData.h"

void TQorGetIndexData::SetCount(uint16_t Value)
{
    Count = Value;
    Data.resize(Value);
    Current = -1;
}

void TQorGetIndexData::doIndex(TData &_Data, uint16_t)
{
    int32_t n = ToInteger(_Data);
    Current = n >= 0 && n < Count && static_cast<size_t>(n) < Data.size() ? n : -1;
    ForwardInt(_Data, onIndex, n);
}

void TQorGetIndexData::Var(TData &_Data, uint16_t)
{
    if (Current == -1)
        _Data.dtNull();
    else
        ReadRaw(_Data, Data[static_cast<size_t>(Current)]);
}
