#pragma once
#include <cstdint>
#include <deque>

#include "TPointLink.h"

// A last-in, first-out pile of values; the last item is the top. The element
// owns the items. The last value pushed or popped is FValue, since Value names
// the data output; the incoming record is _Data, since Data names the input.
// MaxCount, when above 0, bounds the pile: a push beyond it frees the
// bottom-most item, so a pile that is never emptied keeps only its newest part.
class TQorStack : public TElement {
public:
    TData FValue;
    TData EmptyValue;
    std::deque<TData *> Items; // a deque, so that dropping the bottom item is cheap
    uint8_t CheckEmpty = 0;
    int32_t MaxCount = 0; // 0: no limit
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
