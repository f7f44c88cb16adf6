#pragma once
#include <cstdint>

#include "ChartScale.h"
#include "TSeries.h"

// Bars centred on their X, from their Y down to the bottom of the plot (or to
// the baseline), outlined in Color and filled in FillColor.
class THistogramSeries : public TSeries {
public:
    uint32_t FillColor = 0;
    // The series element's baseline field itself, so that a later change of it
    // is seen; none when not attached.
    TPlotBaseline *const *Baseline = nullptr;
    double StartX = 0.0; // X of the first bar of an empty series

    // The first bar of an empty series goes to StartX, whatever X says.
    void Add(double X, double Y) override;
    void Draw(TChartCanvas &Canvas, int32_t Width, int32_t Height, double RangeY, double RangeX, double MinY,
              double MinX) override;

    // The rectangle Draw gives a bar.
    TChartRect BarAt(const TChartItem &Bar, const TPlotArea &Area) const;

protected:
    // The plot area Draw is given, with the plotter's margins.
    TPlotArea AreaOf(int32_t Width, int32_t Height, double RangeY, double RangeX, double MinY, double MinX) const;
};
