#include "winlayer/WinBitmap.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "winlayer/Assert.h"
#include "winlayer/GdiCount.h"

namespace winlayer {

namespace {

// The system's text for an error number, without the line end it comes with.
std::string SystemErrorText(DWORD error)
{
    char *buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text;
    if (length && buffer)
        text.assign(buffer, length);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

// Bytes of the header and colour table of a device-independent image.
size_t HeaderSize(const BITMAPINFOHEADER &header)
{
    size_t size = header.biSize;
    if (header.biBitCount <= 8) {
        const DWORD colors = header.biClrUsed ? header.biClrUsed : (1u << header.biBitCount);
        size += static_cast<size_t>(colors) * sizeof(RGBQUAD);
    } else if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)) {
        size += 3 * sizeof(DWORD);
    }
    return size;
}

size_t ImageSize(const BITMAPINFOHEADER &header)
{
    const size_t stride = ((static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
    return stride * static_cast<size_t>(std::abs(header.biHeight));
}

std::vector<uint8_t> Header32(int width, int height)
{
    std::vector<uint8_t> bytes(sizeof(BITMAPINFOHEADER));
    auto *header = reinterpret_cast<BITMAPINFOHEADER *>(bytes.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    return bytes;
}

} // namespace

TWinBitmap::TWinBitmap(int width, int height) : FWidth(width), FHeight(height)
{
}

TWinBitmap::~TWinBitmap()
{
    FreeCanvas();
    GdiDelete(FHandle);
}

TWinBitmap *NewBitmap(int width, int height)
{
    TWinBitmap *bitmap = NewObject<TWinBitmap>(width, height);
    if (width != 0 && height != 0)
        bitmap->Handle();
    return bitmap;
}

TWinBitmap *NewDIBitmap(int width, int height)
{
    TWinBitmap *bitmap = NewObject<TWinBitmap>(width, height);
    bitmap->SetHandleType(TBitmapHandleType::DIB);
    if (width != 0 && height != 0)
        bitmap->Handle();
    return bitmap;
}

const BITMAPINFO *TWinBitmap::DIBHeader() const
{
    return FHeader.empty() ? nullptr : reinterpret_cast<const BITMAPINFO *>(FHeader.data());
}

HBITMAP TWinBitmap::MakeDIBSection(const BITMAPINFO *info, void **bits)
{
    HDC screen = GdiGetDC(nullptr);
    SetLastError(0);
    HBITMAP handle = CreateDIBSection(screen, info, DIB_RGB_COLORS, bits, nullptr, 0);
    const DWORD error = GetLastError();
    GdiReleaseDC(nullptr, screen);
    if (!handle)
        throw EAssertionFailed("Can not create DIB section, error: " +
                               std::to_string(static_cast<unsigned long>(error)) + ", " +
                               SystemErrorText(error));
    return GdiCounted(handle);
}

HBITMAP TWinBitmap::Handle()
{
    if (FHandle || Empty())
        return FHandle;
    if (FHandleType == TBitmapHandleType::DDB) {
        HDC screen = GdiGetDC(nullptr);
        FHandle = GdiCounted(CreateCompatibleBitmap(screen, FWidth, FHeight));
        GdiReleaseDC(nullptr, screen);
    } else {
        if (FHeader.empty())
            FHeader = Header32(FWidth, FHeight);
        auto *header = reinterpret_cast<BITMAPINFOHEADER *>(FHeader.data());
        header->biWidth = FWidth;
        header->biHeight = header->biHeight < 0 ? -FHeight : FHeight;
        header->biSizeImage = 0;
        FHandle = MakeDIBSection(DIBHeader(), &FBits);
    }
    return FHandle;
}

void TWinBitmap::CopyOldPicture(HDC target)
{
    if (!FHandle)
        return;
    if (FCanvas && FCanvas->MadeHandle()) {
        BitBlt(target, 0, 0, FWidth, FHeight, FCanvas->MadeHandle(), 0, 0, SRCCOPY);
        return;
    }
    HDC source = GdiMemoryDC(target);
    HGDIOBJ old = SelectObject(source, FHandle);
    BitBlt(target, 0, 0, FWidth, FHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    GdiDeleteDC(source);
}

void TWinBitmap::Replace(HBITMAP handle, void *bits)
{
    // The canvas context lets go of the old picture before it is deleted.
    if (FCanvas && FCanvas->MadeHandle())
        SelectObject(FCanvas->MadeHandle(), handle);
    GdiDelete(FHandle);
    FHandle = handle;
    FBits = bits;
}

void TWinBitmap::FreeCanvas()
{
    if (!FCanvas)
        return;
    if (FCanvas->MadeHandle() && FCanvasOldBitmap)
        SelectObject(FCanvas->MadeHandle(), FCanvasOldBitmap);
    FCanvas->Free();
    FCanvas = nullptr;
    FCanvasOldBitmap = nullptr;
}

void TWinBitmap::Resize(int width, int height)
{
    if (width == FWidth && height == FHeight)
        return;
    if (width == 0 || height == 0) {
        FreeCanvas();
        GdiDelete(FHandle);
        FHandle = nullptr;
        FBits = nullptr;
        FWidth = width;
        FHeight = height;
        return;
    }

    // 1. The new picture (a failure leaves the old one in place).
    HBITMAP handle = nullptr;
    void *bits = nullptr;
    if (FHandleType == TBitmapHandleType::DDB) {
        HDC screen = GdiGetDC(nullptr);
        handle = GdiCounted(CreateCompatibleBitmap(screen, width, height));
        GdiReleaseDC(nullptr, screen);
    } else {
        std::vector<uint8_t> header = FHeader.empty() ? Header32(width, height) : FHeader;
        auto *h = reinterpret_cast<BITMAPINFOHEADER *>(header.data());
        h->biWidth = width;
        h->biHeight = h->biHeight < 0 ? -height : height;
        h->biSizeImage = 0;
        handle = MakeDIBSection(reinterpret_cast<const BITMAPINFO *>(header.data()), &bits);
        FHeader = header;
    }
    if (!handle)
        return;

    // 2. Background colour everywhere, then the old picture at the top left.
    HDC dc = GdiMemoryDC(nullptr);
    HGDIOBJ old = SelectObject(dc, handle);
    HBRUSH brush = GdiCounted(CreateSolidBrush(ColorToRGB(BkColor)));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    GdiDelete(brush);
    CopyOldPicture(dc);
    SelectObject(dc, old);
    GdiDeleteDC(dc);

    // 3.
    Replace(handle, bits);
    FWidth = width;
    FHeight = height;
}

void TWinBitmap::SetWidth(int width)
{
    Resize(width, FHeight);
}

void TWinBitmap::SetHeight(int height)
{
    if (height == FHeight)
        return;
    SetHandleType(TBitmapHandleType::DDB);
    Resize(FWidth, height);
}

void TWinBitmap::SetSize(int width, int height)
{
    if (height != FHeight)
        SetHandleType(TBitmapHandleType::DDB);
    Resize(width, height);
}

void TWinBitmap::SetHandleType(TBitmapHandleType type)
{
    if (type == FHandleType)
        return;
    if (!FHandle) {
        FHandleType = type;
        if (type == TBitmapHandleType::DDB)
            FHeader.clear();
        return;
    }
    HBITMAP handle = nullptr;
    void *bits = nullptr;
    std::vector<uint8_t> header;
    if (type == TBitmapHandleType::DIB) {
        header = Header32(FWidth, FHeight);
        handle = MakeDIBSection(reinterpret_cast<const BITMAPINFO *>(header.data()), &bits);
    } else {
        HDC screen = GdiGetDC(nullptr);
        handle = GdiCounted(CreateCompatibleBitmap(screen, FWidth, FHeight));
        GdiReleaseDC(nullptr, screen);
        if (!handle)
            return;
    }
    GdiFlush();
    HDC dc = GdiMemoryDC(nullptr);
    HGDIOBJ old = SelectObject(dc, handle);
    CopyOldPicture(dc);
    SelectObject(dc, old);
    GdiDeleteDC(dc);
    Replace(handle, bits);
    FHeader = header;
    FHandleType = type;
}

void TWinBitmap::LoadDIB(const BITMAPINFO *info, const void *bits)
{
    const BITMAPINFOHEADER &source = info->bmiHeader;
    Check(source.biBitCount != 16 || source.biCompression == BI_RGB ||
              source.biCompression == BI_BITFIELDS,
          "Unsupported bitmap format");
    std::vector<uint8_t> header(HeaderSize(source));
    std::memcpy(header.data(), info, header.size());
    auto *h = reinterpret_cast<BITMAPINFOHEADER *>(header.data());
    h->biSizeImage = 0;
    void *newBits = nullptr;
    HBITMAP handle = MakeDIBSection(reinterpret_cast<const BITMAPINFO *>(header.data()), &newBits);
    if (bits && newBits)
        std::memcpy(newBits, bits, ImageSize(*h));
    Replace(handle, newBits);
    FHeader = header;
    FHandleType = TBitmapHandleType::DIB;
    FWidth = h->biWidth;
    FHeight = std::abs(h->biHeight);
}

TWinCanvas *TWinBitmap::Canvas()
{
    if (Empty() || !Handle())
        return nullptr;
    if (!FCanvas) {
        FCanvas = NewMemoryCanvas();
        FCanvas->Brush()->SetColor(BkColor);
        FCanvasOldBitmap = SelectObject(FCanvas->Handle(), FHandle);
    }
    return FCanvas;
}

void TWinBitmap::Draw(HDC dc, int x, int y)
{
    if (Empty() || !Handle())
        return;
    if (FHandleType == TBitmapHandleType::DIB) {
        GdiFlush();
        StretchDIBits(dc, x, y, FWidth, FHeight, 0, 0, FWidth, FHeight, FBits, DIBHeader(),
                      DIB_RGB_COLORS, SRCCOPY);
        return;
    }
    BITMAP info{};
    const int height = GetObjectA(FHandle, sizeof info, &info) ? info.bmHeight : FHeight;
    if (FCanvas && FCanvas->MadeHandle()) {
        // A bitmap is selected into one context at a time: copy from the canvas's.
        BitBlt(dc, x, y, FWidth, height, FCanvas->MadeHandle(), 0, 0, SRCCOPY);
        return;
    }
    HDC memory = GdiMemoryDC(dc);
    HGDIOBJ old = SelectObject(memory, FHandle);
    BitBlt(dc, x, y, FWidth, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    GdiDeleteDC(memory);
}

} // namespace winlayer
