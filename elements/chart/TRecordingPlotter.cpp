#include "TRecordingPlotter.h"

void TRecordingPlotter::Repaint()
{
    ++Repaints;
}

void TRecordingPlotter::doClear(TData &, uint16_t)
{
    ClearSeries();
    Repaint();
}
