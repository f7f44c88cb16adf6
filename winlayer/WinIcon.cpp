#include "winlayer/WinIcon.h"

namespace winlayer {

TWinIcon *NewIcon()
{
    return NewObject<TWinIcon>();
}

TWinIcon::~TWinIcon()
{
    SetHandle(nullptr);
}

void TWinIcon::SetHandle(HICON icon, bool owned)
{
    if (FHandle && FOwned && FHandle != icon)
        DestroyIcon(FHandle);
    FHandle = icon;
    FOwned = icon && owned;
    FWidth = FHeight = 0;
    if (!icon)
        return;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return;
    BITMAP bitmap{};
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap)) {
        FWidth = bitmap.bmWidth;
        FHeight = bitmap.bmHeight;
    } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bitmap, &bitmap)) {
        // A monochrome icon keeps its picture and mask one above the other.
        FWidth = bitmap.bmWidth;
        FHeight = bitmap.bmHeight / 2;
    }
    // GetIconInfo hands out copies that are ours to delete.
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
}

void TWinIcon::Draw(HDC dc, int x, int y) const
{
    if (FHandle)
        DrawIconEx(dc, x, y, FHandle, FWidth, FHeight, 0, nullptr, DI_NORMAL);
}

} // namespace winlayer
