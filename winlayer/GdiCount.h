#pragma once
#include <windows.h>

#include <cstdint>

// Every GDI object and device context the layer makes goes through these, so that
// tests can check for leaks where the system keeps no count (Wine).
namespace winlayer {

struct TGdiCount {
    int32_t Made = 0;
    int32_t Deleted = 0;
    int32_t Live() const { return Made - Deleted; }
};

// Tools, regions, bitmaps and device contexts made and given back so far.
TGdiCount LayerGdiCount();

void CountGdiMade();
// Counts a handle just made (nothing for a null one) and hands it back.
template <class H> H GdiCounted(H handle)
{
    if (handle)
        CountGdiMade();
    return handle;
}

// DeleteObject of a handle the layer made; nothing for a null one.
bool GdiDelete(HGDIOBJ object);
// Contexts: screen or window contexts (GetDC/ReleaseDC) and memory ones
// (CreateCompatibleDC/DeleteDC).
HDC GdiGetDC(HWND window);
void GdiReleaseDC(HWND window, HDC dc);
HDC GdiMemoryDC(HDC compatibleWith);
void GdiDeleteDC(HDC dc);

} // namespace winlayer
