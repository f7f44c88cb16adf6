#include "winlayer/GdiCount.h"

namespace winlayer {

namespace {
TGdiCount gCount;
}

void CountGdiMade()
{
    ++gCount.Made;
}

TGdiCount LayerGdiCount()
{
    return gCount;
}

bool GdiDelete(HGDIOBJ object)
{
    if (!object)
        return false;
    ++gCount.Deleted;
    return DeleteObject(object) != 0;
}

HDC GdiGetDC(HWND window)
{
    return GdiCounted(GetDC(window));
}

void GdiReleaseDC(HWND window, HDC dc)
{
    if (!dc)
        return;
    ++gCount.Deleted;
    ReleaseDC(window, dc);
}

HDC GdiMemoryDC(HDC compatibleWith)
{
    return GdiCounted(CreateCompatibleDC(compatibleWith));
}

void GdiDeleteDC(HDC dc)
{
    if (!dc)
        return;
    ++gCount.Deleted;
    DeleteDC(dc);
}

} // namespace winlayer
