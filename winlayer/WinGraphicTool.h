#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "winlayer/Callback.h"
#include "winlayer/ControlRules.h"
#include "winlayer/WinObject.h"

namespace winlayer {

class TWinGraphicTool;
using TToolNotice = TCallback<void(TWinGraphicTool *tool)>;

enum TGraphicToolKind : uint8_t { gtBrush = 0, gtFont = 1, gtPen = 2 };

// Brush styles: solid, clear, and from 2 on hatched with hatch style (style - 2).
enum : uint8_t { bsSolid = 0, bsClear = 1, bsHatched = 2 };
// Pen modes are the raster operation minus 1.
constexpr uint8_t pmCopy = R2_COPYPEN - 1; // 12
constexpr uint8_t pmXor = R2_XORPEN - 1;   // 6

// A pen, a brush or a font: attributes, and a platform handle made only when
// someone asks for it and kept until an attribute changes.
class TWinGraphicTool : public TWinObject {
public:
    explicit TWinGraphicTool(TGraphicToolKind kind);

    const TGraphicToolKind Kind;
    // Run before the handle is dropped (the canvas deselects the tool).
    TToolNotice OnChange;
    // Run after an attribute changed and the handle was dropped (a control sends
    // its window the new font).
    TToolNotice OnChanged;

    // The handle, made when there is none, and made again when the colour is a
    // system colour whose value has changed since.
    HGDIOBJ Handle();
    HBRUSH BrushHandle() { return static_cast<HBRUSH>(Handle()); }
    HFONT FontHandle() { return static_cast<HFONT>(Handle()); }
    HPEN PenHandle() { return static_cast<HPEN>(Handle()); }
    // The handle if one is made, without making it.
    HGDIOBJ MadeHandle() const { return FHandle; }
    // Change notice, then DeleteObject.
    void DropHandle();
    // True when a handle is made and its colour is out of date.
    bool HandleStale() const;

    uint32_t Color() const { return FColor; }
    void SetColor(uint32_t color);
    // The colour as last converted to a platform colour (when a handle was made
    // or the canvas selected the tool).
    COLORREF PlatformColor() const { return FPlatformColor; }
    // Converts the colour now (a system colour is read again) and remembers it.
    COLORREF ConvertColor();

    // Fonts.
    const LOGFONTA &FontRecord() const { return FFont; }
    void SetFontRecord(const LOGFONTA &record);
    int FontHeight() const { return FFont.lfHeight; }
    void SetFontHeight(int height);
    std::string FontName() const { return FFont.lfFaceName; }
    void SetFontName(const std::string &name);
    uint8_t FontStyle() const; // fsBold | fsItalic | fsUnderline | fsStrikeOut
    void SetFontStyle(uint8_t style);
    uint8_t FontCharset() const { return FFont.lfCharSet; }
    void SetFontCharset(uint8_t charset);
    int FontWeight() const { return FFont.lfWeight; }
    void SetFontWeight(int weight);

    // Brushes.
    uint8_t BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(uint8_t style);
    HBITMAP BrushBitmap() const { return FBrushBitmap; } // pattern, not owned
    void SetBrushBitmap(HBITMAP bitmap);

    // Pens.
    uint8_t PenStyle() const { return FPenStyle; } // PS_SOLID, PS_DOT, ...
    void SetPenStyle(uint8_t style);
    int32_t PenWidth() const { return FPenWidth; }
    void SetPenWidth(int32_t width);
    uint8_t PenMode() const { return FPenMode; } // raster operation - 1
    void SetPenMode(uint8_t mode);

    // Copies every attribute of another tool of the same kind and drops the handle.
    void Assign(const TWinGraphicTool *other);

protected:
    ~TWinGraphicTool() override;

private:
    void Changed();

    HGDIOBJ FHandle = nullptr;
    COLORREF FPlatformColor = 0;
    uint32_t FColor = 0;
    LOGFONTA FFont{};
    uint8_t FBrushStyle = bsSolid;
    HBITMAP FBrushBitmap = nullptr;
    uint8_t FPenStyle = PS_SOLID;
    int32_t FPenWidth = 0;
    uint8_t FPenMode = pmCopy;
};

// New tools with their defaults: a solid button-face brush; a window-text
// "MS Sans Serif" font of height 0, weight 0, default character set; a solid black
// copy pen of width 0.
TWinGraphicTool *NewBrush();
TWinGraphicTool *NewFont();
TWinGraphicTool *NewPen();

// The platform height of a font of that many points on the screen (LOGPIXELSY
// read once).
int32_t PointsToHeight(int32_t points);

// A colour value as a platform colour: a set top bit names a system colour by the low byte.
COLORREF ColorToRGB(uint32_t color);

} // namespace winlayer
