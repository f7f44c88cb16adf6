#pragma once
#include <cstdint>

#include "ChartScale.h"
#include "TPlotSeries.h"

// Histogram series element: one bar per doAdd, Step X units after the last
// one (the first at StartX), as high as ValueY says.
class TQorPlotHistogram : public TPlotSeries {
public:
    uint32_t FillColor = 0;
    TPlotBaseline *Baseline = nullptr; // none: the bars stand on the bottom of the plot
    double StartX = 0.0;

    TQorPlotHistogram();

    // Also copies FillColor and StartX, and lets the series see Baseline itself.
    void AttachTo(TPlotterInterface *NewPlotter) override;

    void doAdd(TData &Data, uint16_t Index);
};
