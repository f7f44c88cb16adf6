#pragma once
#include <cstdint>
#include <vector>

#include "TPointLink.h"

// A last-in, first-out pile of values; the last item is the top. The element
// owns the items. The last value pushed or popped is FValue, since Value names
// the data output; the incoming record is _Data, since Data names the input.
class TQorStack : public TElement {
public:
    TData FValue;
    TData EmptyValue;
    std::vector<TData *> Items;
    uint8_t CheckEmpty = 0;
    TPointLink Data;
    TPointLink onPush;
    TPointLink onPop;
    TPointLink onEmpty;

    TQorStack() = default;
    ~TQorStack();
    TQorStack(const TQorStack &) = delete;
    TQorStack &operator=(const TQorStack &) = delete;

    void doPush(TData &_Data, uint16_t Index);
    void doPop(TData &_Data, uint16_t Index);
    void Value(TData &_Data, uint16_t Index);
};
