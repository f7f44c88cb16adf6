#pragma once
#include <cstdint>

#include "TScheme.h"

class TQorEditMultiEx;
class TQorMultiElementEx;
namespace winlayer {
class TWinControl;
}

// Base of every generated sub-scheme class. The subclass makes its edge first,
// then its inner elements, so the reverse free leaves the edge for last: inner
// elements may still cross outward while they go.
class TClassMultiBase : public TScheme {
public:
    TQorEditMultiEx *Edge = nullptr;

    TClassMultiBase(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme);
    ~TClassMultiBase() override;

protected:
    // Makes Edge, facing Container, with its counts of event and data points.
    void MakeEdge(TQorMultiElementEx *Container, int32_t EventCount, int32_t DataCount);
};

// The sub-scheme constructor a container calls: one new instance of S, answered
// by its edge. The container owns the instance from then on.
template <class S>
TQorEditMultiEx *NewInstance(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
{
    S *scheme = new S(Container, Parent, MainScheme);
    return scheme->Edge;
}
