#include "winlayer/WinIcon.h"

namespace winlayer {

TWinIcon *NewIcon()
{
    return NewObject<TWinIcon>();
}

TWinIcon::~TWinIcon()
{
    ReleaseHandle();
}

void TWinIcon::ReleaseHandle()
{
    if (FHandle && !ShareIcon)
        DestroyIcon(FHandle);
    FHandle = nullptr;
    FWidth = FHeight = 0;
}

void TWinIcon::SetHandle(HICON handle)
{
    if (handle == FHandle)
        return;
    ReleaseHandle();
    FHandle = handle;
    if (!handle)
        return;

    // GetIconInfo hands out copies of both bitmaps; they are ours to delete.
    ICONINFO info{};
    if (!GetIconInfo(handle, &info))
        return;
    BITMAP bm{};
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) {
        FWidth = bm.bmWidth;
        FHeight = bm.bmHeight;
    } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bm, &bm)) {
        // A monochrome icon: the mask holds the AND and XOR halves one above the other.
        FWidth = bm.bmWidth;
        FHeight = bm.bmHeight / 2;
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
}

} // namespace winlayer
