#pragma once
// Reading pixels back: bitmaps through GetDIBits, windows through their context.
#include <windows.h>

#include <cstdint>
#include <vector>

namespace layertest {

// A 32-bit top-down copy of a bitmap's pixels, as COLORREF values.
class TPixels {
public:
    TPixels(HBITMAP bitmap, int width, int height) : Width(width), Height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        Bits.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), Bits.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
    }

    COLORREF At(int x, int y) const
    {
        const uint32_t p = Bits[static_cast<size_t>(y) * static_cast<size_t>(Width) +
                                static_cast<size_t>(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // How many pixels of the rectangle have the colour.
    int Count(COLORREF color, RECT area) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == color ? 1 : 0;
        return count;
    }

    int Width;
    int Height;
    std::vector<uint32_t> Bits;
};

// A memory context with a black bitmap of its own, for drawing into and reading back.
struct TMemoryPicture {
    TMemoryPicture(int width, int height) : Width(width), Height(height)
    {
        HDC screen = GetDC(nullptr);
        DC = CreateCompatibleDC(screen);
        Bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        Old = SelectObject(DC, Bitmap);
        PatBlt(DC, 0, 0, width, height, BLACKNESS);
    }
    ~TMemoryPicture()
    {
        SelectObject(DC, Old);
        DeleteObject(Bitmap);
        DeleteDC(DC);
    }
    TMemoryPicture(const TMemoryPicture &) = delete;
    TMemoryPicture &operator=(const TMemoryPicture &) = delete;

    // The pixels now (the bitmap is taken out of the context while they are read).
    TPixels Read()
    {
        SelectObject(DC, Old);
        TPixels pixels(Bitmap, Width, Height);
        SelectObject(DC, Bitmap);
        return pixels;
    }

    int Width;
    int Height;
    HDC DC = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Old = nullptr;
};

// What a window shows, copied from its context.
inline TPixels WindowPixels(HWND window, int width, int height)
{
    TMemoryPicture copy(width, height);
    HDC dc = GetDC(window);
    BitBlt(copy.DC, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return copy.Read();
}

} // namespace layertest
