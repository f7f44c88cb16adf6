#pragma once
#include <cstdint>

#include "TPlotSeries.h"

// The forecast's bars on a histogram (TForecastSeries): doDay takes a day of
// intervals, one character each ('-' none, else the Kp digit), and puts one
// bar per interval Step X units apart from StartX, the intervals without a
// forecast as bars of height 0, so that the day spans the same X range
// whatever it holds.
class TQorPlotForecast : public TPlotSeries {
public:
    uint32_t LowColor = 0;
    uint32_t MiddleColor = 0;
    uint32_t HighColor = 0;
    double StartX = 0.0;

    TQorPlotForecast();

    // Also copies the colours and StartX.
    void AttachTo(TPlotterInterface *NewPlotter) override;

    void doDay(TData &Data, uint16_t Index);
};
