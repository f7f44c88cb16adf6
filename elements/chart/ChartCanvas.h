#pragma once
#include <cstdint>
#include <string>

// What the charts draw with. The Win32 charts hand it the layer's canvas of
// their off-screen bitmap; tests and tools hand it a recorder. Colours are the
// layer's 32-bit colour values (0x00BBGGRR, or a system colour with the top
// bit set).

struct TChartRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool operator==(const TChartRect &Other) const
    {
        return Left == Other.Left && Top == Other.Top && Right == Other.Right && Bottom == Other.Bottom;
    }
    bool operator!=(const TChartRect &Other) const { return !(*this == Other); }
};

struct TChartItem {
    double X = 0.0;
    double Y = 0.0;
};

// Pen styles and brush styles as the layer numbers them.
constexpr uint8_t cpsSolid = 0;
constexpr uint8_t cpsDot = 2;
constexpr uint8_t cbsSolid = 0;
constexpr uint8_t cbsClear = 1;

// DrawText formats used by the charts.
constexpr uint32_t cdtLeftTop = 0;
constexpr uint32_t cdtCalcRect = 1024;

class TChartCanvas {
public:
    virtual void SetBrushColor(uint32_t Color) = 0;
    virtual void SetBrushStyle(uint8_t Style) = 0;
    virtual void SetPenColor(uint32_t Color) = 0;
    virtual void SetPenStyle(uint8_t Style) = 0;
    virtual void SetPenWidth(int32_t Width) = 0;
    virtual void SetFontHeight(int32_t Height) = 0;
    virtual void SetFontColor(uint32_t Color) = 0;

    virtual void FillRect(const TChartRect &Rect) = 0;
    virtual void MoveTo(int32_t X, int32_t Y) = 0;
    virtual void LineTo(int32_t X, int32_t Y) = 0;
    virtual void Rectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;
    virtual void TextOut(int32_t X, int32_t Y, const std::string &Text) = 0;
    // cdtCalcRect measures the text into Rect (its right and bottom); cdtLeftTop
    // draws it left-aligned at the top of Rect.
    virtual void DrawText(const std::string &Text, TChartRect &Rect, uint32_t Format) = 0;

    // Drawing is clipped to Rect until RestoreClip gives back the whole picture.
    virtual void ClipTo(const TChartRect &Rect) = 0;
    virtual void RestoreClip() = 0;

protected:
    ~TChartCanvas() = default;
};
