#pragma once
#include <cstdint>

class TSeries;

// What a series and a series element need of the plotter they draw on. The
// Win32 plotter element answers it with itself; tests and tools use a
// recording plotter that needs no window.
class TPlotterInterface {
public:
    // The series' plotter becomes this one; the series goes last in the list.
    virtual void AddSeries(TSeries *Series) = 0;
    // Takes the series out of the list and frees it.
    virtual void RemoveSeries(TSeries *Series) = 0;
    // The picture is out of date (the next paint redraws it).
    virtual void Repaint() = 0;
    // Where the plot area starts inside the picture.
    virtual int32_t PlotMarginLeft() const = 0;
    virtual int32_t PlotMarginTop() const = 0;

protected:
    ~TPlotterInterface() = default;
};
