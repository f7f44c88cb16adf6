#pragma once
// A chart canvas that remembers what was drawn with which tools, for the
// portable chart tests: lines (a move followed by a line-to), rectangles,
// texts with where and how they were placed, fills and clips.
#include <cstdint>
#include <string>
#include <vector>

#include "elements/chart/ChartCanvas.h"

namespace charttest {

struct Line {
    int32_t X1, Y1, X2, Y2;
    uint32_t PenColor;
    uint8_t PenStyle;
    int32_t PenWidth;
};

struct Rect {
    TChartRect R;
    uint32_t PenColor;
    uint32_t BrushColor;
    uint8_t BrushStyle;
    bool Clipped;
    TChartRect Clip;
};

struct Text {
    int32_t X, Y; // top-left corner where it was drawn
    std::string Value;
    uint32_t FontColor;
    int32_t FontHeight;
    uint32_t BrushColor;
};

// Measured texts are 6 pixels per character wide and 13 high.
class TRecordingCanvas : public TChartCanvas {
public:
    static constexpr int32_t CharWidth = 6;
    static constexpr int32_t TextHeight = 13;

    std::vector<Line> Lines;
    std::vector<Rect> Rects;
    std::vector<Text> Texts;
    std::vector<TChartRect> Fills;
    std::vector<std::string> Log; // every operation, in order, by name
    int32_t Measures = 0;

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

    void FillRect(const TChartRect &R) override
    {
        Fills.push_back(R);
        Log.push_back("fill");
    }
    void MoveTo(int32_t X, int32_t Y) override
    {
        PenX = X;
        PenY = Y;
        Log.push_back("move");
    }
    void LineTo(int32_t X, int32_t Y) override
    {
        Lines.push_back({PenX, PenY, X, Y, PenColor, PenStyle, PenWidth});
        PenX = X;
        PenY = Y;
        Log.push_back("line");
    }
    void Rectangle(int32_t L, int32_t T, int32_t R, int32_t B) override
    {
        Rects.push_back({{L, T, R, B}, PenColor, BrushColor, BrushStyle, Clipped, Clip});
        Log.push_back("rect");
    }
    void TextOut(int32_t X, int32_t Y, const std::string &S) override
    {
        Texts.push_back({X, Y, S, FontColor, FontHeight, BrushColor});
        Log.push_back("text");
    }
    void DrawText(const std::string &S, TChartRect &R, uint32_t Format) override
    {
        if (Format == cdtCalcRect) {
            R.Right = R.Left + CharWidth * static_cast<int32_t>(S.size());
            R.Bottom = R.Top + TextHeight;
            ++Measures;
            Log.push_back("measure");
            return;
        }
        Texts.push_back({R.Left, R.Top, S, FontColor, FontHeight, BrushColor});
        Log.push_back("text");
    }
    void ClipTo(const TChartRect &R) override
    {
        Clipped = true;
        Clip = R;
        Log.push_back("clip");
    }
    void RestoreClip() override
    {
        Clipped = false;
        Log.push_back("unclip");
    }

    // Lines of one pen colour: vertical ones by X, horizontal ones by Y.
    std::vector<int32_t> VerticalLines(uint32_t Color) const
    {
        std::vector<int32_t> xs;
        for (const Line &l : Lines)
            if (l.PenColor == Color && l.X1 == l.X2 && l.Y1 != l.Y2)
                xs.push_back(l.X1);
        return xs;
    }
    std::vector<int32_t> HorizontalLines(uint32_t Color) const
    {
        std::vector<int32_t> ys;
        for (const Line &l : Lines)
            if (l.PenColor == Color && l.Y1 == l.Y2 && l.X1 != l.X2)
                ys.push_back(l.Y1);
        return ys;
    }
    std::vector<std::string> TextValues() const
    {
        std::vector<std::string> out;
        for (const Text &t : Texts)
            out.push_back(t.Value);
        return out;
    }
};

} // namespace charttest
