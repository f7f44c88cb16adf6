#include "TPlotSeries.h"

#include "PlotterInterface.h"
#include "THistogramSeries.h"

TPlotSeries::~TPlotSeries()
{
    if (Series == nullptr)
        return;
    if (Series->Plotter)
        Series->Plotter->RemoveSeries(Series);
    else
        delete Series;
    Series = nullptr;
}

void TPlotSeries::AttachTo(TPlotterInterface *NewPlotter)
{
    if (NewPlotter == nullptr)
        return;
    Plotter = NewPlotter;
    Plotter->AddSeries(Series);
    Series->Color = Color;
    Series->HalfWidth = HalfWidth;
    Series->MaxCount = MaxCount;
}
