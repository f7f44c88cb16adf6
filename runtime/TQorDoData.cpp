#include "TQorDoData.h"

void TQorDoData::doData(TData &_Data, uint16_t)
{
    _Data.dtNull();
    TData value;
    ReadDataFirst(_Data, Data, &FData, value);
    ForwardValue(_Data, onEventData, value);
}
