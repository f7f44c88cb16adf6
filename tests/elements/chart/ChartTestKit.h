#pragma once
// A chart canvas that remembers what was drawn with which tools, for the
// portable chart tests, and the chart item helpers the suites share.
#include <cstdint>
#include <string>
#include <vector>

#include "elements/chart/ChartCanvas.h"

namespace charttest {

struct Line {
    int32_t X1, Y1, X2, Y2;
    uint32_t PenColor;
    uint8_t PenStyle;
};

struct Rect {
    TChartRect R;
    uint32_t PenColor;
    uint32_t BrushColor;
    bool Clipped;
    TChartRect Clip;
};

struct Text {
    int32_t X, Y; // top-left corner where it was drawn
    std::string Value;
    uint32_t FontColor;
    int32_t FontHeight;
};

// Measured texts are 6 pixels per character wide and 13 high.
class TRecordingCanvas : public TChartCanvas {
public:
    static constexpr int32_t CharWidth = 6;

    std::vector<Line> Lines;
    std::vector<Rect> Rects;
    std::vector<Text> Texts;
    std::vector<TChartRect> Fills;

    uint32_t BrushColor = 0;
    uint8_t BrushStyle = cbsSolid;
    uint32_t PenColor = 0;
    uint8_t PenStyle = cpsSolid;
    int32_t PenWidth = 0;
    int32_t FontHeight = 0;
    uint32_t FontColor = 0;
    bool Clipped = false;
    TChartRect Clip;
    int32_t PenX = 0, PenY = 0;

    void SetBrushColor(uint32_t Color) override { BrushColor = Color; }
    void SetBrushStyle(uint8_t Style) override { BrushStyle = Style; }
    void SetPenColor(uint32_t Color) override { PenColor = Color; }
    void SetPenStyle(uint8_t Style) override { PenStyle = Style; }
    void SetPenWidth(int32_t Width) override { PenWidth = Width; }
    void SetFontHeight(int32_t Height) override { FontHeight = Height; }
    void SetFontColor(uint32_t Color) override { FontColor = Color; }

    void FillRect(const TChartRect &R) override { Fills.push_back(R); }
    void MoveTo(int32_t X, int32_t Y) override
    {
        PenX = X;
        PenY = Y;
    }
    void LineTo(int32_t X, int32_t Y) override
    {
        Lines.push_back({PenX, PenY, X, Y, PenColor, PenStyle});
        MoveTo(X, Y);
    }
    void Rectangle(int32_t L, int32_t T, int32_t R, int32_t B) override
    {
        Rects.push_back({{L, T, R, B}, PenColor, BrushStyle == cbsClear ? ~0u : BrushColor, Clipped, Clip});
    }
    void TextOut(int32_t X, int32_t Y, const std::string &S) override
    {
        Texts.push_back({X, Y, S, FontColor, FontHeight});
    }
    void DrawText(const std::string &S, TChartRect &R, uint32_t Format) override
    {
        if (Format != cdtCalcRect)
            return TextOut(R.Left, R.Top, S);
        R.Right = R.Left + CharWidth * static_cast<int32_t>(S.size());
        R.Bottom = R.Top + 13;
    }
    void ClipTo(const TChartRect &R) override
    {
        Clipped = true;
        Clip = R;
    }
    void RestoreClip() override { Clipped = false; }

    // Lines of one pen colour: vertical ones by X, horizontal ones by Y.
    std::vector<int32_t> GridLines(uint32_t Color, bool Vertical) const
    {
        std::vector<int32_t> out;
        for (const Line &l : Lines)
            if (l.PenColor == Color && (Vertical ? l.X1 == l.X2 && l.Y1 != l.Y2 : l.Y1 == l.Y2 && l.X1 != l.X2))
                out.push_back(Vertical ? l.X1 : l.Y1);
        return out;
    }
    std::vector<std::string> TextValues() const
    {
        std::vector<std::string> out;
        for (const Text &t : Texts)
            out.push_back(t.Value);
        return out;
    }
};

// One coordinate of every item, oldest first: Column(Values, &TChartItem::X).
inline std::vector<double> Column(const std::vector<TChartItem> &Items, double TChartItem::*Field)
{
    std::vector<double> out;
    for (const TChartItem &item : Items)
        out.push_back(item.*Field);
    return out;
}

} // namespace charttest
