#pragma once
#include <cstdint>

#include "THistogramSeries.h"

// Forecast bars: where a histogram of observed values fills its bars with the
// level's colour, these are outlined in it and filled with a pale tint of it,
// so that they cannot be taken for observed ones. A bar of height 0 or less
// is not drawn. Levels as the observed bars have them: up to 3 low, below 5
// middle, above that high.
class TForecastSeries : public THistogramSeries {
public:
    uint32_t LowColor = 0;
    uint32_t MiddleColor = 0;
    uint32_t HighColor = 0;

    // The level's colour of a bar Y high, and its tint: three quarters of the
    // way to white.
    uint32_t LevelColor(double Y) const;
    static uint32_t Pale(uint32_t Color);

    void Draw(TChartCanvas &Canvas, int32_t Width, int32_t Height, double RangeY, double RangeX, double MinY,
              double MinX) override;
};
