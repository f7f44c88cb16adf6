#include "winlayer/WinGraphicTool.h"

#include <cstring>

#include "winlayer/GdiCount.h"

namespace winlayer {

COLORREF ColorToRGB(uint32_t color)
{
    if (IsSystemColor(color))
        return GetSysColor(SystemColorIndex(color));
    return color & 0x00FFFFFFu;
}

int32_t PointsToHeight(int32_t points)
{
    static const int32_t pixelsPerInch = [] {
        HDC screen = GdiGetDC(nullptr);
        const int value = GetDeviceCaps(screen, LOGPIXELSY);
        GdiReleaseDC(nullptr, screen);
        return value;
    }();
    return PointsToHeightAt(points, pixelsPerInch);
}

TWinGraphicTool::TWinGraphicTool(TGraphicToolKind kind) : Kind(kind)
{
    switch (kind) {
    case gtBrush:
        FColor = clBtnFace;
        break;
    case gtFont:
        FColor = clWindowText;
        FFont.lfCharSet = DEFAULT_CHARSET;
        std::strncpy(FFont.lfFaceName, "MS Sans Serif", LF_FACESIZE - 1);
        break;
    case gtPen:
        FColor = 0;
        break;
    }
}

TWinGraphicTool::~TWinGraphicTool()
{
    // No notice: whoever frees a tool has let go of it already.
    GdiDelete(FHandle);
}

TWinGraphicTool *NewBrush()
{
    return NewObject<TWinGraphicTool>(gtBrush);
}

TWinGraphicTool *NewFont()
{
    return NewObject<TWinGraphicTool>(gtFont);
}

TWinGraphicTool *NewPen()
{
    return NewObject<TWinGraphicTool>(gtPen);
}

COLORREF TWinGraphicTool::ConvertColor()
{
    FPlatformColor = ColorToRGB(FColor);
    return FPlatformColor;
}

bool TWinGraphicTool::HandleStale() const
{
    return FHandle && IsSystemColor(FColor) && ColorToRGB(FColor) != FPlatformColor;
}

HGDIOBJ TWinGraphicTool::Handle()
{
    if (HandleStale())
        DropHandle();
    if (FHandle)
        return FHandle;
    const COLORREF color = ConvertColor();
    switch (Kind) {
    case gtBrush: {
        LOGBRUSH brush{};
        brush.lbColor = color;
        if (FBrushBitmap) {
            brush.lbStyle = BS_PATTERN;
            brush.lbHatch = reinterpret_cast<ULONG_PTR>(FBrushBitmap);
        } else if (FBrushStyle == bsSolid) {
            brush.lbStyle = BS_SOLID;
        } else if (FBrushStyle == bsClear) {
            brush.lbStyle = BS_NULL;
        } else {
            brush.lbStyle = BS_HATCHED;
            brush.lbHatch = static_cast<ULONG_PTR>(FBrushStyle - bsHatched);
        }
        FHandle = GdiCounted(CreateBrushIndirect(&brush));
        break;
    }
    case gtFont:
        FHandle = GdiCounted(CreateFontIndirectA(&FFont));
        break;
    case gtPen: {
        LOGPEN pen{};
        pen.lopnStyle = FPenStyle;
        pen.lopnWidth.x = FPenWidth;
        pen.lopnColor = color;
        FHandle = GdiCounted(CreatePenIndirect(&pen));
        break;
    }
    }
    return FHandle;
}

void TWinGraphicTool::DropHandle()
{
    if (!FHandle)
        return;
    if (OnChange)
        OnChange(this);
    HGDIOBJ handle = FHandle;
    FHandle = nullptr;
    GdiDelete(handle);
}

void TWinGraphicTool::Changed()
{
    DropHandle();
    if (OnChanged)
        OnChanged(this);
}

void TWinGraphicTool::SetColor(uint32_t color)
{
    if (color == FColor)
        return;
    FColor = color;
    Changed();
}

void TWinGraphicTool::SetFontRecord(const LOGFONTA &record)
{
    // Compared field by field: the bytes after a face name's end mean nothing.
    LOGFONTA clean = record;
    clean.lfFaceName[LF_FACESIZE - 1] = 0;
    const size_t nameLength = std::strlen(clean.lfFaceName);
    std::memset(clean.lfFaceName + nameLength, 0, LF_FACESIZE - nameLength);
    if (std::memcmp(&clean, &FFont, sizeof clean) == 0)
        return;
    FFont = clean;
    Changed();
}

void TWinGraphicTool::SetFontHeight(int height)
{
    LOGFONTA record = FFont;
    record.lfHeight = height;
    SetFontRecord(record);
}

void TWinGraphicTool::SetFontName(const std::string &name)
{
    LOGFONTA record = FFont;
    std::memset(record.lfFaceName, 0, LF_FACESIZE);
    std::strncpy(record.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    SetFontRecord(record);
}

uint8_t TWinGraphicTool::FontStyle() const
{
    uint8_t style = 0;
    if (FFont.lfWeight >= FW_BOLD)
        style |= fsBold;
    if (FFont.lfItalic)
        style |= fsItalic;
    if (FFont.lfUnderline)
        style |= fsUnderline;
    if (FFont.lfStrikeOut)
        style |= fsStrikeOut;
    return style;
}

void TWinGraphicTool::SetFontStyle(uint8_t style)
{
    LOGFONTA record = FFont;
    if (style & fsBold)
        record.lfWeight = FW_BOLD;
    else if (record.lfWeight >= FW_BOLD)
        record.lfWeight = 0;
    record.lfItalic = (style & fsItalic) ? 1 : 0;
    record.lfUnderline = (style & fsUnderline) ? 1 : 0;
    record.lfStrikeOut = (style & fsStrikeOut) ? 1 : 0;
    SetFontRecord(record);
}

void TWinGraphicTool::SetFontCharset(uint8_t charset)
{
    LOGFONTA record = FFont;
    record.lfCharSet = charset;
    SetFontRecord(record);
}

void TWinGraphicTool::SetFontWeight(int weight)
{
    LOGFONTA record = FFont;
    record.lfWeight = weight;
    SetFontRecord(record);
}

void TWinGraphicTool::SetBrushStyle(uint8_t style)
{
    if (style == FBrushStyle)
        return;
    FBrushStyle = style;
    Changed();
}

void TWinGraphicTool::SetBrushBitmap(HBITMAP bitmap)
{
    if (bitmap == FBrushBitmap)
        return;
    FBrushBitmap = bitmap;
    Changed();
}

void TWinGraphicTool::SetPenStyle(uint8_t style)
{
    if (style == FPenStyle)
        return;
    FPenStyle = style;
    Changed();
}

void TWinGraphicTool::SetPenWidth(int32_t width)
{
    if (width == FPenWidth)
        return;
    FPenWidth = width;
    Changed();
}

void TWinGraphicTool::SetPenMode(uint8_t mode)
{
    if (mode == FPenMode)
        return;
    FPenMode = mode;
    Changed();
}

void TWinGraphicTool::Assign(const TWinGraphicTool *other)
{
    if (!other || other == this || other->Kind != Kind)
        return;
    FColor = other->FColor;
    FFont = other->FFont;
    FBrushStyle = other->FBrushStyle;
    FBrushBitmap = other->FBrushBitmap;
    FPenStyle = other->FPenStyle;
    FPenWidth = other->FPenWidth;
    FPenMode = other->FPenMode;
    Changed();
}

} // namespace winlayer
