#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "winlayer/WinCanvas.h"
#include "winlayer/WinObject.h"

namespace winlayer {

enum class TBitmapHandleType : uint8_t { DDB, DIB };

// An off-screen picture with a canvas of its own. Device dependent (a bitmap
// compatible with the screen) unless made device independent (a DIB section).
class TWinBitmap : public TWinObject {
public:
    TWinBitmap(int width, int height);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }
    // Both keep the old picture in the top-left corner and fill the rest with the
    // background colour; nothing when unchanged.
    void SetWidth(int width);
    void SetHeight(int height); // makes the bitmap device dependent first
    void SetSize(int width, int height);

    TBitmapHandleType HandleType() const { return FHandleType; }
    // Converts the picture; a DIB section that cannot be made is an assertion failure.
    void SetHandleType(TBitmapHandleType type);
    // Takes a copy of a device-independent image (the bitmap becomes device
    // independent). 16-bit images must be BI_RGB or BI_BITFIELDS.
    void LoadDIB(const BITMAPINFO *info, const void *bits);

    // Colour of new areas and of the canvas brush; 0 (black) by default.
    uint32_t BkColor = 0;

    // The bitmap handle (a DIB section when device independent), made when needed;
    // none while the bitmap is empty.
    HBITMAP Handle();
    // The header and pixels of a device-independent bitmap (none otherwise).
    const BITMAPINFO *DIBHeader() const;
    const void *DIBBits() const { return FBits; }

    // A canvas on a memory context with the bitmap selected; none while empty.
    TWinCanvas *Canvas();
    // Copies the picture to the context at (x, y); nothing when empty.
    void Draw(HDC dc, int x, int y);

protected:
    ~TWinBitmap() override;

private:
    void Resize(int width, int height);
    HBITMAP MakeDIBSection(const BITMAPINFO *info, void **bits);
    void Replace(HBITMAP handle, void *bits);
    void FreeCanvas();
    void CopyOldPicture(HDC target);

    int FWidth = 0;
    int FHeight = 0;
    TBitmapHandleType FHandleType = TBitmapHandleType::DDB;
    HBITMAP FHandle = nullptr;
    std::vector<uint8_t> FHeader; // BITMAPINFO with its colour table, DIB only
    void *FBits = nullptr;        // the DIB section's pixels
    TWinCanvas *FCanvas = nullptr;
    HGDIOBJ FCanvasOldBitmap = nullptr; // what the canvas context held before ours
};

// A device-dependent bitmap; its handle is made at once when both sizes are not 0.
TWinBitmap *NewBitmap(int width, int height);
// A device-independent 32-bit bitmap.
TWinBitmap *NewDIBitmap(int width, int height);

} // namespace winlayer
