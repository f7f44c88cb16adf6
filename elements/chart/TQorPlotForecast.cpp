#include "TQorPlotForecast.h"

#include "PlotterInterface.h"
#include "TForecastSeries.h"

TQorPlotForecast::TQorPlotForecast()
{
    Series = new TForecastSeries;
}

void TQorPlotForecast::AttachTo(TPlotterInterface *NewPlotter)
{
    if (NewPlotter == nullptr)
        return;
    TPlotSeries::AttachTo(NewPlotter);
    TForecastSeries *series = static_cast<TForecastSeries *>(Series);
    series->LowColor = LowColor;
    series->MiddleColor = MiddleColor;
    series->HighColor = HighColor;
    series->StartX = StartX;
}

void TQorPlotForecast::doDay(TData &Data, uint16_t)
{
    const std::string day = ToString(Data);
    Series->Clear();
    for (size_t i = 0; i < day.size(); ++i) {
        const char c = day[i];
        Series->Add(StartX + Step * static_cast<double>(i), c >= '0' && c <= '9' ? c - '0' : 0.0);
    }
    if (Series->Plotter)
        Series->Plotter->Repaint();
}
