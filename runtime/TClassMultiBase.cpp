#include "TClassMultiBase.h"

TClassMultiBase::TClassMultiBase(TQorMultiElementEx *, winlayer::TWinControl *, TScheme *) {}

TClassMultiBase::~TClassMultiBase()
{
    FreeElements();
    Edge = nullptr;
}
