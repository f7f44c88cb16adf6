#pragma once
#include <cstdint>
#include <vector>

#include "ChartCanvas.h"

class TPlotterInterface;

// One buffer of (X, Y) items that a plotter draws. The series element that
// owns it attaches it to a plotter; the plotter never owns it but frees it on
// RemoveSeries. Count is the number of items, Values.size().
class TSeries {
public:
    TPlotterInterface *Plotter = nullptr;
    std::vector<TChartItem> Values; // oldest first
    int32_t HalfWidth = 0;          // half a bar's width, in X units
    uint32_t Color = 0;             // outline (pen) colour
    int32_t MaxCount = 0;           // most items kept; 0 or less, no limit

    TSeries() = default;
    TSeries(const TSeries &) = delete;
    TSeries &operator=(const TSeries &) = delete;
    virtual ~TSeries() = default;

    int32_t Count() const { return static_cast<int32_t>(Values.size()); }

    virtual void Add(double X, double Y);
    virtual void Draw(TChartCanvas &Canvas, int32_t Width, int32_t Height, double RangeY, double RangeX,
                      double MinY, double MinX) = 0;
    virtual double LowestY() const;
    virtual double HighestY() const;
    virtual double LowestX() const;
    virtual double HighestX() const;

    void Clear();
};
