#pragma once
#include <cstdint>

#include "runtime/TPointLink.h"

class THistogramSeries;
class TPlotterInterface;

// Base of the series elements: owns one series and hands it to a plotter.
// Color, HalfWidth and MaxCount are copied into the series when it is
// attached; later changes do not reach it.
class TPlotSeries : public TElement {
public:
    THistogramSeries *Series = nullptr; // owned; made by the derived element
    TPlotterInterface *Plotter = nullptr;
    uint32_t Color = 0;
    int32_t HalfWidth = 0;
    int32_t MaxCount = 0;
    double Step = 0.0; // X distance between bars; 0 reads X from ValueX
    TPointLink ValueX;
    TPointLink ValueY;

    TPlotSeries() = default;
    TPlotSeries(const TPlotSeries &) = delete;
    TPlotSeries &operator=(const TPlotSeries &) = delete;
    // An attached series goes through its plotter's RemoveSeries; once the
    // plotter is gone (it set the series' plotter to none) the element frees
    // the series itself, so either may be destroyed first.
    virtual ~TPlotSeries();

    virtual void AttachTo(TPlotterInterface *NewPlotter);
};
