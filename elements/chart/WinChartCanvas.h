#pragma once
#include <windows.h>

#include "ChartCanvas.h"

namespace winlayer {
class TWinCanvas;
}

// The layer's canvas seen as a chart canvas. Tools are the canvas's own, so a
// redraw with unchanged attributes makes no new GDI object. ClipTo makes a
// region of the rectangle and selects it; RestoreClip selects the full region
// given here (the plotter's) and deletes the clip region.
class TWinChartCanvas : public TChartCanvas {
public:
    TWinChartCanvas(winlayer::TWinCanvas *Canvas, HRGN FullRegion);
    ~TWinChartCanvas();
    TWinChartCanvas(const TWinChartCanvas &) = delete;
    TWinChartCanvas &operator=(const TWinChartCanvas &) = delete;

    void SetBrushColor(uint32_t Color) override;
    void SetBrushStyle(uint8_t Style) override;
    void SetPenColor(uint32_t Color) override;
    void SetPenStyle(uint8_t Style) override;
    void SetPenWidth(int32_t Width) override;
    void SetFontHeight(int32_t Height) override;
    void SetFontColor(uint32_t Color) override;

    void FillRect(const TChartRect &Rect) override;
    void MoveTo(int32_t X, int32_t Y) override;
    void LineTo(int32_t X, int32_t Y) override;
    void Rectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) override;
    void TextOut(int32_t X, int32_t Y, const std::string &Text) override;
    void DrawText(const std::string &Text, TChartRect &Rect, uint32_t Format) override;

    void ClipTo(const TChartRect &Rect) override;
    void RestoreClip() override;

private:
    winlayer::TWinCanvas *Canvas;
    HRGN Full;
    HRGN Clip = nullptr;
};
