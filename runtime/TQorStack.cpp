#include "TQorStack.h"

#include <utility>

TQorStack::~TQorStack()
{
    for (TData *item : Items)
        delete item;
    Items.clear();
}

void TQorStack::doPush(TData &_Data, uint16_t)
{
    TData v;
    ReadDataFirst(_Data, Data, nullptr, v);
    FValue = std::move(v);
    TData *item = new TData;
    CopyValue(*item, FValue);
    Items.push_back(item);
    while (MaxCount > 0 && Items.size() > static_cast<size_t>(MaxCount)) {
        delete Items.front();
        Items.pop_front();
    }
    ForwardSame(_Data, onPush);
}

void TQorStack::doPop(TData &_Data, uint16_t)
{
    if (!Items.empty()) {
        TData *top = Items.back();
        Items.pop_back();
        FValue = *top;
        delete top;
        ForwardValue(_Data, onPop, FValue);
    } else if (CheckEmpty != 0) {
        ForwardNull(_Data, onEmpty);
    } else {
        FValue = EmptyValue;
        ForwardValue(_Data, onPop, FValue);
    }
}

void TQorStack::Value(TData &_Data, uint16_t)
{
    _Data = FValue;
}
