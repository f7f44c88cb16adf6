#pragma once

class TPlotterInterface;

// The main scheme as the daily histogram feed sees it: the owner of DayPlot.
// The feed asks for the plotter when its instance is made and attaches its
// three bar series to it. A scheme without a plotter (nullptr) leaves the
// series unattached.
class TDayPlotOwner {
public:
    virtual TPlotterInterface *DayPlotter() = 0;

protected:
    ~TDayPlotOwner() = default;
};
