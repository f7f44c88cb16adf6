#include "TQorPlotHistogram.h"

#include "PlotterInterface.h"
#include "THistogramSeries.h"

TQorPlotHistogram::TQorPlotHistogram()
{
    Series = new THistogramSeries;
}

void TQorPlotHistogram::AttachTo(TPlotterInterface *NewPlotter)
{
    if (NewPlotter == nullptr)
        return;
    TPlotSeries::AttachTo(NewPlotter);
    Series->FillColor = FillColor;
    Series->Baseline = &Baseline;
    Series->StartX = StartX;
}

// The repaint goes to the series' plotter, which the plotter clears when it
// goes first, rather than to the Plotter field, which would then dangle.
void TQorPlotHistogram::doAdd(TData &Data, uint16_t)
{
    const double y = ReadReal(Data, ValueY, 0.0);
    double x = ReadReal(Data, ValueX, 0.0);

    if (Step != 0.0)
        x = Series->Values.empty() ? 0.0 : Series->Values.back().X + Step;

    Series->Add(x, y);

    if (Series->Plotter)
        Series->Plotter->Repaint();
}
