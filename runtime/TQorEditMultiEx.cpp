#include "TQorEditMultiEx.h"

#include "TQorMultiElementEx.h"

void TQorEditMultiEx::SetEventCount(uint16_t Count)
{
    onEvent.resize(Count);
}

void TQorEditMultiEx::SetDataCount(uint16_t Count)
{
    Data.resize(Count);
}

void TQorEditMultiEx::doWork(TData &_Data, uint16_t Index)
{
    if (!Container || Index >= Container->onEvent.size())
        return;
    CallFrame frame(Container->CallChain, this);
    CallEvent(Container->onEvent[Index], _Data);
}

void TQorEditMultiEx::Var(TData &_Data, uint16_t Index)
{
    if (!Container || Index >= Container->Data.size()) {
        _Data.DataType = dtNoLink;
        return;
    }
    CallFrame frame(Container->CallChain, this);
    ReadRaw(_Data, Container->Data[Index]);
}
