#include "TQorDoData.h"

#include <utility>

void TQorDoData::doData(TData &_Data, uint16_t)
{
    _Data.dtNull();
    TData value;
    ReadDataFirst(_Data, Data, &FData, value);
    ForwardValue(_Data, onEventData, std::move(value));
}
