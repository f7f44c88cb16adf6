#include "TGrapherCore.h"

#include "ChartScale.h"
#include "winlayer/NumText.h"
#include "winlayer/WinStream.h"

void TGrapherCore::SetGrid(int32_t Value)
{
    Grid = Value > 1 ? Value : 1;
}

void TGrapherCore::Add(double Value)
{
    if (MaxCount > 0 && Count() >= MaxCount)
        Values.erase(Values.begin(), Values.end() - (MaxCount - 1));
    Values.push_back({});

    TChartItem &last = Values.back();
    last.Y = Value;
    last.X = Values.size() == 1 ? 0.0 : Values[Values.size() - 2].X + Step;
}

void TGrapherCore::Clear()
{
    Values.clear();
}

void TGrapherCore::AddStream(winlayer::TWinStream *Stream)
{
    if (Stream == nullptr)
        return;
    Stream->SetPosition(0);
    while (Stream->Position() < Stream->Size()) {
        uint8_t bytes[2] = {0, 0};
        if (Stream->Read(bytes, 2) == 0)
            break; // a stream that will not move on ends the walk
        Add(static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8))));
    }
}

double TGrapherCore::GraphMinY() const
{
    return ::GraphMinY(Values, MinValue, MaxValue);
}

double TGrapherCore::GraphMaxY() const
{
    return ::GraphMaxY(Values, MinValue, MaxValue);
}

void TGrapherCore::Draw(TChartCanvas &Canvas, int32_t BitmapWidth, int32_t BitmapHeight, const TChartRect &Client,
                        uint32_t BackColor) const
{
    const int32_t bottom = BitmapHeight - MarginBottom;
    const int32_t right = BitmapWidth - MarginRight;

    // 1. Background.
    Canvas.SetFontHeight(8);
    Canvas.SetBrushColor(BackColor);
    Canvas.FillRect(Client);

    // 2. Frame, filled with the background.
    Canvas.SetPenColor(AxisColor);
    Canvas.SetPenStyle(cpsSolid);
    Canvas.SetPenWidth(1);
    Canvas.Rectangle(MarginLeft, MarginTop, right, bottom);

    // 3. Plot area.
    const int32_t W = BitmapWidth - MarginLeft - MarginRight;
    const int32_t H = BitmapHeight - MarginTop - MarginBottom;
    const double sx = GridPixelStep(W, Grid);

    // 4.
    Canvas.SetPenColor(GridColor);
    Canvas.SetFontColor(TextColor);

    // 5 to 8.
    const TGraphScale scale = GraphScale(Values, MinValue, MaxValue, Grid);

    // 9. Vertical grid and the X labels under it.
    double offset = 0.0;
    if (sx > 10)
        Canvas.TextOut(MarginLeft - 2, bottom + 1, ChartLabel(scale.X0));
    for (double x : GridColumns(BitmapWidth, MarginLeft, MarginRight, sx)) {
        Canvas.MoveTo(ChartPixel(x), MarginTop);
        Canvas.LineTo(ChartPixel(x), bottom);
        offset = offset + scale.XStep;
        if (sx > 10)
            Canvas.TextOut(ChartPixel(x) - 2, bottom + 1,
                           winlayer::RealToText(winlayer::RoundHalfEven(offset * 100) / 100 + scale.X0));
    }

    // 10. Horizontal grid and the Y labels left of it.
    const double sy = GridPixelStep(H, Grid);
    double value = scale.MinY;
    if (sy > 12)
        Canvas.TextOut(2, bottom - 4, ChartLabel(scale.MinY));
    for (double y : GraphGridRows(BitmapHeight, MarginTop, MarginBottom, sy)) {
        Canvas.MoveTo(MarginLeft, ChartPixel(y));
        Canvas.LineTo(right, ChartPixel(y));
        value = value + scale.YStep;
        if (sy > 12)
            Canvas.TextOut(2, ChartPixel(y) - 4, ChartLabel(value));
    }

    // 11.
    Canvas.SetPenColor(LineColor);
    Canvas.SetPenStyle(cpsSolid);
    Canvas.SetPenWidth(LineWidth);

    // 12. The line.
    if (!Values.empty()) {
        int32_t px = 0, py = 0;
        GraphPoint(Values[0], scale, W, H, MarginLeft, MarginTop, px, py);
        Canvas.MoveTo(px, py);
        for (size_t i = 1; i < Values.size(); ++i) {
            if (Values[i].X > scale.RangeX + scale.X0)
                break;
            GraphPoint(Values[i], scale, W, H, MarginLeft, MarginTop, px, py);
            Canvas.LineTo(px, py);
        }
    }
}
