#pragma once
#include <vector>

#include "TPointLink.h"

class TQorMultiElementEx;
class TClassMultiBase;

// The edge: inside a sub-scheme instance it stands for the container outside.
// Outer calls come in through onEvent, inner reads of outer inputs go out
// through Var; every outward crossing is noted on the container's CallChain.
// The incoming record is _Data in the points, since Data names the link array.
class TQorEditMultiEx : public TElement {
public:
    TQorMultiElementEx *Container = nullptr;
    TClassMultiBase *Scheme = nullptr;
    std::vector<TPointLink> onEvent;
    std::vector<TPointLink> Data;

    void SetEventCount(uint16_t Count);
    void SetDataCount(uint16_t Count);

    void doWork(TData &_Data, uint16_t Index);
    void Var(TData &_Data, uint16_t Index);
};
