#pragma once
#include <cstdint>
#include <vector>

#include "TPointLink.h"

class TQorEditMultiEx;
class TQorMultiElementEx;
class TScheme;
namespace winlayer {
class TWinControl;
}

// One outward crossing of an edge, kept on the stack of the crossing routine;
// the frames of the crossings now running form the container's CallChain.
struct CallFrame {
    TQorEditMultiEx *Edge;
    CallFrame *Prev;

    CallFrame(CallFrame *&Head, TQorEditMultiEx *Crossed) : Edge(Crossed), Prev(Head), HeadRef(Head)
    {
        HeadRef = this;
    }
    ~CallFrame() { HeadRef = Prev; }
    CallFrame(const CallFrame &) = delete;
    CallFrame &operator=(const CallFrame &) = delete;

private:
    CallFrame *&HeadRef;
};

// Builds one sub-scheme instance and answers its edge.
using TInstanceFactory = TQorEditMultiEx *(*)(TQorMultiElementEx *Container, winlayer::TWinControl *Parent,
                                              TScheme *MainScheme);

// The container: in the enclosing scheme a whole sub-scheme is this one
// element. doWork and Var go into the current instance, onEvent and Data are
// reached from inside through the instance's edge. It owns its instances.
// The incoming record is _Data in the points, since Data names the link array.
class TQorMultiElementEx : public TElement {
public:
    TQorEditMultiEx *Current = nullptr;
    TInstanceFactory InstanceFactory = nullptr;
    std::vector<TQorEditMultiEx *> Instances;
    winlayer::TWinControl *ParentControl = nullptr;
    uint8_t Mode = 0;
    CallFrame *CallChain = nullptr;
    std::vector<TPointLink> onEvent;
    std::vector<TPointLink> Data;
    TScheme *MainScheme = nullptr;

    explicit TQorMultiElementEx(winlayer::TWinControl *Parent);
    ~TQorMultiElementEx();
    TQorMultiElementEx(const TQorMultiElementEx &) = delete;
    TQorMultiElementEx &operator=(const TQorMultiElementEx &) = delete;

    void SetEventCount(uint16_t Count);
    void SetDataCount(uint16_t Count);
    void SetInstanceFactory(TInstanceFactory Factory);

    void doWork(TData &_Data, uint16_t Index);
    void Var(TData &_Data, uint16_t Index);

    // Frees instance Number; a MethodIndex below the edge's event count first
    // raises that inner method with Data. Refused from inside the instance.
    void DeleteInstance(int32_t Number, uint16_t MethodIndex, TData &_Data);

private:
    TQorEditMultiEx *CreateInstance(bool Keep);
    static void FreeInstance(TQorEditMultiEx *Edge);
    bool Crossing(const TQorEditMultiEx *Edge) const;
};
