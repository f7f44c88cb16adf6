#pragma once
#include <cstdint>

#include "TPlotterCore.h"
#include "runtime/TPointLink.h"

// A plotter without a window, for tests and tools: series attach to it and
// draw onto any chart canvas exactly as on the window plotter; a repaint is
// only counted. doClear is the plotter's scheme point.
class TRecordingPlotter : public TElement, public TPlotterCore {
public:
    int32_t Repaints = 0;

    void Repaint() override;

    void doClear(TData &Data, uint16_t Index);
};
