#include "THistogramSeries.h"

#include "PlotterInterface.h"

void THistogramSeries::Add(double X, double Y)
{
    if (Values.empty())
        X = StartX;
    TSeries::Add(X, Y);
}

TChartRect THistogramSeries::BarAt(const TChartItem &Bar, const TPlotArea &Area) const
{
    const TPlotBaseline *baseline = Baseline ? *Baseline : nullptr;
    return BarRect(Bar, HalfWidth, Area, baseline);
}

TPlotArea THistogramSeries::AreaOf(int32_t Width, int32_t Height, double RangeY, double RangeX, double MinY,
                                   double MinX) const
{
    TPlotArea area;
    area.Width = Width;
    area.Height = Height;
    area.RangeY = RangeY;
    area.RangeX = RangeX;
    area.MinY = MinY;
    area.MinX = MinX;
    area.MarginLeft = Plotter ? Plotter->PlotMarginLeft() : 0;
    area.MarginTop = Plotter ? Plotter->PlotMarginTop() : 0;
    return area;
}

void THistogramSeries::Draw(TChartCanvas &Canvas, int32_t Width, int32_t Height, double RangeY, double RangeX,
                            double MinY, double MinX)
{
    Canvas.SetPenColor(Color);
    Canvas.SetPenStyle(cpsSolid);
    Canvas.SetPenWidth(1);
    Canvas.SetBrushColor(FillColor);
    Canvas.SetBrushStyle(cbsSolid);

    const TPlotArea area = AreaOf(Width, Height, RangeY, RangeX, MinY, MinX);
    for (const TChartItem &bar : Values) {
        const TChartRect r = BarAt(bar, area);
        Canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    }
}
