#include "TForecastSeries.h"

uint32_t TForecastSeries::LevelColor(double Y) const
{
    return Y <= 3.0 ? LowColor : Y < 5.0 ? MiddleColor : HighColor;
}

uint32_t TForecastSeries::Pale(uint32_t Color)
{
    uint32_t pale = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = (Color >> shift) & 0xFF;
        pale |= (c + (255 - c) * 3 / 4) << shift;
    }
    return pale;
}

void TForecastSeries::Draw(TChartCanvas &Canvas, int32_t Width, int32_t Height, double RangeY, double RangeX,
                           double MinY, double MinX)
{
    const TPlotArea area = AreaOf(Width, Height, RangeY, RangeX, MinY, MinX);
    Canvas.SetPenStyle(cpsSolid);
    Canvas.SetPenWidth(1);
    Canvas.SetBrushStyle(cbsSolid);
    for (const TChartItem &bar : Values) {
        if (bar.Y <= 0.0)
            continue;
        const uint32_t color = LevelColor(bar.Y);
        Canvas.SetPenColor(color);
        Canvas.SetBrushColor(Pale(color));
        const TChartRect r = BarAt(bar, area);
        Canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
}
