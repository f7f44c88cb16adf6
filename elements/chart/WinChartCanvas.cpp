#include "WinChartCanvas.h"

#include "winlayer/WinCanvas.h"

using namespace winlayer;

TWinChartCanvas::TWinChartCanvas(TWinCanvas *Canvas, HRGN FullRegion) : Canvas(Canvas), Full(FullRegion) {}

// A clip left selected (a drawing that never restored it) is not leaked.
TWinChartCanvas::~TWinChartCanvas()
{
    if (Clip)
        RestoreClip();
}

void TWinChartCanvas::SetBrushColor(uint32_t Color)
{
    Canvas->Brush()->SetColor(Color);
}

void TWinChartCanvas::SetBrushStyle(uint8_t Style)
{
    Canvas->Brush()->SetBrushStyle(Style);
}

void TWinChartCanvas::SetPenColor(uint32_t Color)
{
    Canvas->Pen()->SetColor(Color);
}

void TWinChartCanvas::SetPenStyle(uint8_t Style)
{
    Canvas->Pen()->SetPenStyle(Style);
}

void TWinChartCanvas::SetPenWidth(int32_t Width)
{
    Canvas->Pen()->SetPenWidth(Width);
}

void TWinChartCanvas::SetFontHeight(int32_t Height)
{
    Canvas->Font()->SetFontHeight(Height);
}

void TWinChartCanvas::SetFontColor(uint32_t Color)
{
    Canvas->Font()->SetColor(Color);
}

void TWinChartCanvas::FillRect(const TChartRect &Rect)
{
    Canvas->FillRect(RECT{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom});
}

void TWinChartCanvas::MoveTo(int32_t X, int32_t Y)
{
    Canvas->MoveTo(X, Y);
}

void TWinChartCanvas::LineTo(int32_t X, int32_t Y)
{
    Canvas->LineTo(X, Y);
}

void TWinChartCanvas::Rectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom)
{
    Canvas->Rectangle(Left, Top, Right, Bottom);
}

void TWinChartCanvas::TextOut(int32_t X, int32_t Y, const std::string &Text)
{
    Canvas->TextOut(X, Y, Text);
}

void TWinChartCanvas::DrawText(const std::string &Text, TChartRect &Rect, uint32_t Format)
{
    RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    Canvas->DrawText(Text, r, Format);
    Rect = TChartRect{r.left, r.top, r.right, r.bottom};
}

void TWinChartCanvas::ClipTo(const TChartRect &Rect)
{
    if (Clip)
        DeleteRegion(Clip);
    Clip = NewRectRegion(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
    Canvas->SelectRegion(Clip);
}

void TWinChartCanvas::RestoreClip()
{
    Canvas->SelectRegion(Full);
    if (Clip)
        DeleteRegion(Clip);
    Clip = nullptr;
}
