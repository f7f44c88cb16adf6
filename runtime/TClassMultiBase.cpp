#include "TClassMultiBase.h"

#include "TQorEditMultiEx.h"

TClassMultiBase::TClassMultiBase(TQorMultiElementEx *, winlayer::TWinControl *, TScheme *) {}

TClassMultiBase::~TClassMultiBase()
{
    FreeElements();
    Edge = nullptr;
}

void TClassMultiBase::MakeEdge(TQorMultiElementEx *Container, int32_t EventCount, int32_t DataCount)
{
    Edge = Make<TQorEditMultiEx>();
    Edge->SetEventCount(EventCount);
    Edge->SetDataCount(DataCount);
    Edge->Container = Container;
    Edge->Scheme = this;
}
