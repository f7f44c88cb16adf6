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
    ReadDataFirst(_Data, Data, nullptr, FValue);
    // A full bounded pile gives its bottom record to the new top.
    while (MaxCount > 0 && Items.size() > static_cast<size_t>(MaxCount)) {
        delete Items.front();
        Items.pop_front();
    }
    TData *item = nullptr;
    if (MaxCount > 0 && Items.size() == static_cast<size_t>(MaxCount)) {
        item = Items.front();
        Items.pop_front();
    } else {
        item = new TData;
    }
    CopyValue(*item, FValue);
    Items.push_back(item);
    ForwardSame(_Data, onPush);
}

void TQorStack::doPop(TData &_Data, uint16_t)
{
    if (!Items.empty()) {
        TData *top = Items.back();
        Items.pop_back();
        FValue = std::move(*top);
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
