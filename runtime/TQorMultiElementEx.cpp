#include "TQorMultiElementEx.h"

#include "TClassMultiBase.h"
#include "TQorEditMultiEx.h"

TQorMultiElementEx::TQorMultiElementEx(winlayer::TWinControl *Parent) : ParentControl(Parent) {}

TQorMultiElementEx::~TQorMultiElementEx()
{
    TData none;
    for (size_t n = Instances.size(); n-- > 0;)
        DeleteInstance(static_cast<int32_t>(n), 65535, none);
}

void TQorMultiElementEx::SetEventCount(uint16_t Count)
{
    onEvent.resize(Count);
}

void TQorMultiElementEx::SetDataCount(uint16_t Count)
{
    Data.resize(Count);
}

void TQorMultiElementEx::SetInstanceFactory(TInstanceFactory Factory)
{
    InstanceFactory = Factory;
    if (Mode == 0)
        CreateInstance(true);
}

void TQorMultiElementEx::doWork(TData &_Data, uint16_t Index)
{
    if (Current) {
        if (Index < Current->onEvent.size())
            CallEvent(Current->onEvent[Index], _Data);
        return;
    }
    TQorEditMultiEx *temporary = CreateInstance(false);
    if (!temporary)
        return;
    if (Index < temporary->onEvent.size())
        CallEvent(temporary->onEvent[Index], _Data);
    FreeInstance(temporary);
}

void TQorMultiElementEx::Var(TData &_Data, uint16_t Index)
{
    if (Current) {
        if (Index < Current->Data.size())
            ReadRaw(_Data, Current->Data[Index]);
        else
            _Data.DataType = dtNoLink;
        return;
    }
    TQorEditMultiEx *temporary = CreateInstance(false);
    if (temporary && Index < temporary->Data.size())
        ReadRaw(_Data, temporary->Data[Index]);
    else
        _Data.DataType = dtNoLink;
    FreeInstance(temporary);
}

void TQorMultiElementEx::DeleteInstance(int32_t Number, uint16_t MethodIndex, TData &_Data)
{
    if (Number < 0 || static_cast<size_t>(Number) >= Instances.size())
        return;
    TQorEditMultiEx *edge = Instances[static_cast<size_t>(Number)];
    if (Crossing(edge)) {
        DebugMessage("Self destruction is not allowed !!!");
        return;
    }
    if (MethodIndex < edge->onEvent.size())
        CallEvent(edge->onEvent[MethodIndex], _Data);
    if (Current == edge)
        Current = nullptr;
    // The inner method may have had other instances deleted, so the number may
    // have moved. Off the list before it goes, so nothing reached while it is
    // freed can find it there.
    for (size_t i = 0; i < Instances.size(); ++i) {
        if (Instances[i] == edge) {
            Instances.erase(Instances.begin() + static_cast<std::ptrdiff_t>(i));
            FreeInstance(edge);
            return;
        }
    }
}

// Keep: a lasting instance is current and listed before its start-up routines
// run, so a routine that calls the container reaches it, not a temporary one.
TQorEditMultiEx *TQorMultiElementEx::CreateInstance(bool Keep)
{
    if (!InstanceFactory)
        return nullptr;
    bool wasStarted = Started;
    Started = false;
    TQorEditMultiEx *edge = InstanceFactory(this, ParentControl, MainScheme);
    if (edge && Keep) {
        Current = edge;
        Instances.push_back(edge);
    }
    if (wasStarted)
        RunStartList();
    return edge;
}

void TQorMultiElementEx::FreeInstance(TQorEditMultiEx *Edge)
{
    if (Edge)
        delete Edge->Scheme;
}

bool TQorMultiElementEx::Crossing(const TQorEditMultiEx *Edge) const
{
    for (const CallFrame *frame = CallChain; frame; frame = frame->Prev)
        if (frame->Edge == Edge)
            return true;
    return false;
}
