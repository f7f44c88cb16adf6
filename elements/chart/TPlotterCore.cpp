#include "TPlotterCore.h"

#include <algorithm>

#include "ChartScale.h"
#include "TSeries.h"

namespace {

constexpr double NoMinimum = 16777215.0;
constexpr double NoMaximum = -16777215.0;

} // namespace

TPlotterCore::~TPlotterCore()
{
    for (TSeries *series : SeriesList)
        series->Plotter = nullptr;
    SeriesList.clear();
}

void TPlotterCore::SetGrid(int32_t Value)
{
    Grid = Value > 1 ? Value : 1;
}

void TPlotterCore::AddSeries(TSeries *Series)
{
    if (Series == nullptr || std::find(SeriesList.begin(), SeriesList.end(), Series) != SeriesList.end())
        return;
    Series->Plotter = this;
    SeriesList.push_back(Series);
}

void TPlotterCore::RemoveSeries(TSeries *Series)
{
    auto at = std::find(SeriesList.begin(), SeriesList.end(), Series);
    if (at != SeriesList.end())
        SeriesList.erase(at);
    delete Series;
}

TSeries *TPlotterCore::SeriesAt(int32_t Index) const
{
    if (Index < 0 || Index >= SeriesCount())
        return nullptr;
    return SeriesList[static_cast<size_t>(Index)];
}

void TPlotterCore::ClearSeries()
{
    for (TSeries *series : SeriesList)
        series->Clear();
}

double TPlotterCore::PlotMinY() const
{
    if (SeriesList.empty())
        return 0.0;
    if (MinY != 0.0)
        return MinY;
    double bound = NoMinimum;
    for (const TSeries *series : SeriesList)
        if (series->Count() > 0 && series->LowestY() < bound)
            bound = series->LowestY();
    return bound == NoMinimum ? 0.0 : bound;
}

double TPlotterCore::PlotMaxY() const
{
    if (SeriesList.empty())
        return 0.0;
    if (MaxY != 0.0)
        return MaxY;
    double bound = NoMaximum;
    for (const TSeries *series : SeriesList)
        if (series->Count() > 0 && series->HighestY() > bound)
            bound = series->HighestY();
    return bound == NoMaximum ? 0.0 : bound;
}

double TPlotterCore::PlotMinX() const
{
    if (SeriesList.empty())
        return 0.0;
    if (MinX != 0.0)
        return MinX;
    double bound = NoMinimum;
    for (const TSeries *series : SeriesList)
        if (series->Count() > 0 && series->LowestX() < bound)
            bound = series->LowestX();
    return bound == NoMinimum ? 0.0 : bound;
}

double TPlotterCore::PlotMaxX() const
{
    if (SeriesList.empty())
        return 0.0;
    if (MaxX != 0.0)
        return MaxX;
    double bound = NoMaximum;
    for (const TSeries *series : SeriesList)
        if (series->Count() > 0 && series->HighestX() > bound)
            bound = series->HighestX();
    return bound == NoMaximum ? 0.0 : bound;
}

void TPlotterCore::Draw(TChartCanvas &Canvas, int32_t BitmapWidth, int32_t BitmapHeight, uint32_t BackColor)
{
    const int32_t bottom = BitmapHeight - MarginBottom;
    const int32_t right = BitmapWidth - MarginRight;

    // 1. Background.
    Canvas.SetFontHeight(8);
    Canvas.SetBrushColor(BackColor);
    Canvas.SetBrushStyle(cbsSolid);
    Canvas.FillRect({0, 0, BitmapWidth, BitmapHeight});

    // 2. Plot area.
    const int32_t W = BitmapWidth - MarginLeft - MarginRight;
    const int32_t H = BitmapHeight - MarginTop - MarginBottom;

    // 3.
    Canvas.SetPenColor(GridColor);
    Canvas.SetPenStyle(cpsDot);
    Canvas.SetFontColor(TextColor);

    // 4. Scale.
    const double minY = PlotMinY();
    const double rangeY = RangeOrOne(PlotMaxY() - minY);
    const double minX = PlotMinX();
    const double rangeX = RangeOrOne(PlotMaxX() - minX);

    // 5. Vertical grid; each X label centred under its line.
    const double stepX = rangeX / Grid;
    const double sx = GridPixelStep(W, Grid);
    if (sx > 10)
        Canvas.TextOut(MarginLeft - 2, bottom + 1, ChartLabel(minX));
    double value = minX;
    for (double x : GridColumns(BitmapWidth, MarginLeft, MarginRight, sx)) {
        Canvas.MoveTo(ChartPixel(x), MarginTop);
        Canvas.LineTo(ChartPixel(x), bottom);
        value = value + stepX;
        if (sx > 10) {
            const std::string text = ChartLabel(value);
            TChartRect r{ChartPixel(x), bottom + 1, ChartPixel(x), bottom + 1};
            Canvas.DrawText(text, r, cdtCalcRect);
            const int32_t half = (r.Right - r.Left) >> 1;
            r.Left -= half;
            r.Right -= half;
            Canvas.DrawText(text, r, cdtLeftTop);
        }
    }

    // 6. Horizontal grid (none on the bottom edge); each Y label right-aligned
    // left of the plot and centred on its line.
    const double stepY = rangeY / Grid;
    const double sy = GridPixelStep(H, Grid);
    value = minY;
    for (double y : PlotGridRows(BitmapHeight, MarginTop, MarginBottom, sy)) {
        if (value != minY) {
            Canvas.MoveTo(MarginLeft, ChartPixel(y));
            Canvas.LineTo(right, ChartPixel(y));
        }
        if (sy > 12) {
            const std::string text = ChartLabel(value);
            TChartRect r{2, ChartPixel(y), 2, ChartPixel(y)};
            Canvas.DrawText(text, r, cdtCalcRect);
            const int32_t width = r.Right - r.Left;
            const int32_t height = r.Bottom - r.Top;
            r.Right = MarginLeft - 4;
            r.Left = r.Right - width;
            r.Top = ChartPixel(y) - (height >> 1);
            r.Bottom = r.Top + height;
            Canvas.DrawText(text, r, cdtLeftTop);
        }
        value = value + stepY;
    }

    // 7. The series, clipped to the plot area.
    Canvas.ClipTo({MarginLeft, MarginTop, MarginLeft + W, MarginTop + H});
    for (TSeries *series : SeriesList)
        series->Draw(Canvas, W, H, rangeY, rangeX, minY, minX);
    Canvas.RestoreClip();

    // 8. Frame.
    Canvas.SetPenColor(AxisColor);
    Canvas.SetPenStyle(cpsSolid);
    Canvas.SetPenWidth(1);
    Canvas.SetBrushStyle(cbsClear);
    Canvas.Rectangle(MarginLeft, MarginTop, right, bottom);
}

void TPlotterCore::StartDrag(uint8_t Button, bool CtrlHeld)
{
    if (Button == 3)
        DragMode = pdmPan;
    else if (Button == 1 && CtrlHeld)
        DragMode = pdmZoomBox;
    else
        DragMode = pdmNone;

    if (MaxY == 0.0 && MinY == 0.0) {
        MaxY = PlotMaxY();
        MinY = PlotMinY();
    }
    if (MaxX == 0.0 && MinX == 0.0) {
        MaxX = PlotMaxX();
        MinX = PlotMinX();
    }
}

void TPlotterCore::Pan(int32_t X, int32_t Y, int32_t ControlWidth, int32_t ControlHeight)
{
    const int32_t plotHeight = ControlHeight - MarginBottom - MarginTop;
    if (plotHeight > 0) {
        const double kY = (MaxY - MinY) / plotHeight;
        MaxY += (Y - LastY) * kY;
        MinY += (Y - LastY) * kY;
    }
    const int32_t plotWidth = ControlWidth - MarginLeft - MarginRight;
    if (plotWidth > 0) {
        const double kX = (MaxX - MinX) / plotWidth;
        MaxX -= (X - LastX) * kX;
        MinX -= (X - LastX) * kX;
    }
}

void TPlotterCore::ZoomToBox(int32_t ControlWidth, int32_t ControlHeight)
{
    const int32_t plotHeight = ControlHeight - MarginBottom - MarginTop;
    if (plotHeight > 0) {
        const double kY = (MaxY - MinY) / plotHeight;
        const double range = MaxY - MinY;
        const double oldMinY = MinY;
        if (DownY < LastY) {
            MaxY = oldMinY + range - (DownY - MarginTop) * kY;
            MinY = oldMinY + range - (LastY - MarginTop) * kY;
        } else {
            MaxY = 0.0;
            MinY = 0.0;
            MaxY = PlotMaxY();
            MinY = PlotMinY();
        }
    }
    const int32_t plotWidth = ControlWidth - MarginLeft - MarginRight;
    if (plotWidth > 0) {
        const double kX = (MaxX - MinX) / plotWidth;
        const double oldMinX = MinX;
        if (LastX > DownX) {
            MaxX = oldMinX + (LastX - MarginLeft) * kX;
            MinX = oldMinX + (DownX - MarginLeft) * kX;
        } else {
            MaxX = 0.0;
            MinX = 0.0;
            MaxX = PlotMaxX();
            MinX = PlotMinX();
        }
    }
}

void TPlotterCore::WheelZoom(int32_t KeyState, int32_t ControlWidth, int32_t ControlHeight)
{
    const double f = KeyState / 4096.0 * 0.0001;
    const int32_t plotHeight = ControlHeight - MarginTop - MarginBottom;
    if (plotHeight > 0) {
        const double pY = MaxY - (MaxY - MinY) * (LastY - MarginTop) / plotHeight;
        MaxY = MaxY - (MaxY - pY) * f;
        MinY = MinY - (MinY - pY) * f;
    }
    const int32_t plotWidth = ControlWidth - MarginLeft - MarginRight;
    if (plotWidth > 0) {
        const double pX = MinX + (MaxX - MinX) * (LastX - MarginLeft) / plotWidth;
        MaxX = MaxX - (MaxX - pX) * f;
        MinX = MinX - (MinX - pX) * f;
    }
}
