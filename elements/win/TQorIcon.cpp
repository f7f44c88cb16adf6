#include "TQorIcon.h"

TQorIcon::~TQorIcon()
{
    if (FIcon)
        FIcon->Free();
}

void TQorIcon::SetIcon(HICON Handle)
{
    if (!FIcon)
        FIcon = winlayer::NewIcon();
    FIcon->SetHandle(Handle);
}

void TQorIcon::Icon(TData &Data, uint16_t)
{
    if (FIcon)
        Data.dtIcon(FIcon);
    else
        Data.dtNull();
}
