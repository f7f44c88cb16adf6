#include "ChartScale.h"

#include <cmath>

#include "winlayer/NumText.h"

std::string ChartLabel(double Value)
{
    return winlayer::RealToText(winlayer::RoundHalfEven(Value * 100.0) / 100.0);
}

// Saturates instead of wrapping: a value far off the scale (or an infinite one
// from a text such as "1e999") still lands far off the picture, on its own
// side, and a margin can still be added to it.
int32_t ChartPixel(double Value)
{
    const double limit = 1073741824.0; // 2^30, far beyond what GDI draws
    if (std::isnan(Value))
        return 0;
    const double r = winlayer::RoundHalfEven(Value);
    if (r <= -limit)
        return -1073741824;
    if (r >= limit)
        return 1073741824;
    return static_cast<int32_t>(r);
}

double GridPixelStep(int32_t Extent, int32_t Grid)
{
    const double step = static_cast<double>(Extent) / static_cast<double>(Grid < 1 ? 1 : Grid);
    return step > 1.0 ? step : 1.0;
}

std::vector<double> GridColumns(int32_t Width, int32_t MarginLeft, int32_t MarginRight, double Sx)
{
    std::vector<double> columns;
    const double limit = static_cast<double>(Width) - MarginRight + 1;
    double x = MarginLeft;
    for (;;) {
        x = x + Sx;
        if (!(limit > x))
            break;
        columns.push_back(x);
    }
    return columns;
}

std::vector<double> GraphGridRows(int32_t Height, int32_t MarginTop, int32_t MarginBottom, double Sy)
{
    std::vector<double> rows;
    const double top = static_cast<double>(MarginTop) - 1;
    double y = static_cast<double>(Height) - MarginBottom;
    for (;;) {
        y = y - Sy;
        if (top >= y)
            break;
        rows.push_back(y);
    }
    return rows;
}

std::vector<double> PlotGridRows(int32_t Height, int32_t MarginTop, int32_t MarginBottom, double Sy)
{
    std::vector<double> rows;
    const double top = static_cast<double>(MarginTop) - 1;
    for (double y = static_cast<double>(Height) - MarginBottom; y > top; y = y - Sy)
        rows.push_back(y);
    return rows;
}

double RangeOrOne(double Range)
{
    return Range == 0.0 ? 1.0 : Range;
}

double GraphMinY(const std::vector<TChartItem> &Values, double MinValue, double MaxValue)
{
    if (Values.empty())
        return 0.0;
    if (MaxValue > 0.0)
        return MinValue;
    double low = Values[0].Y;
    for (const TChartItem &item : Values)
        if (item.Y < low)
            low = item.Y;
    return low;
}

double GraphMaxY(const std::vector<TChartItem> &Values, double MinValue, double MaxValue)
{
    (void)MinValue;
    if (Values.empty())
        return 0.0;
    if (MaxValue > 0.0)
        return MaxValue;
    double high = Values[0].Y;
    for (const TChartItem &item : Values)
        if (item.Y > high)
            high = item.Y;
    return high;
}

// Steps 5 to 8 of the grapher's drawing. An X range of 0 (several values with
// Step 0) is drawn as 1 like a zero Y range, so the points stay on the plot
// instead of dividing by zero.
TGraphScale GraphScale(const std::vector<TChartItem> &Values, double MinValue, double MaxValue, int32_t Grid)
{
    TGraphScale s;
    const double grid = Grid < 1 ? 1.0 : static_cast<double>(Grid);

    s.MinY = GraphMinY(Values, MinValue, MaxValue);
    double rangeY = GraphMaxY(Values, MinValue, MaxValue) - s.MinY;

    s.X0 = Values.empty() ? 0.0 : winlayer::RoundHalfEven(Values.front().X * 100.0) / 100.0;

    if (Values.size() < 2) {
        s.XStep = 0.0;
        s.RangeX = 1.0;
    } else {
        s.RangeX = Values.back().X - Values.front().X;
        s.XStep = s.RangeX / grid;
        s.RangeX = RangeOrOne(s.RangeX);
    }

    s.RangeY = RangeOrOne(rangeY);
    s.YStep = Values.empty() ? 0.0 : s.RangeY / grid;
    return s;
}

void GraphPoint(const TChartItem &Item, const TGraphScale &Scale, int32_t Width, int32_t Height,
                int32_t MarginLeft, int32_t MarginTop, int32_t &X, int32_t &Y)
{
    X = ChartPixel((Item.X - Scale.X0) * Width / Scale.RangeX) + MarginLeft;
    Y = ChartPixel(Height - (Item.Y - Scale.MinY) * Height / Scale.RangeY) + MarginTop;
}

TChartRect BarRect(const TChartItem &Bar, int32_t HalfWidth, const TPlotArea &Area, const TPlotBaseline *Baseline)
{
    const double W = Area.Width;
    const double H = Area.Height;
    TChartRect r;
    r.Left = ChartPixel((Bar.X - HalfWidth - Area.MinX) * W / Area.RangeX) + Area.MarginLeft;
    r.Right = ChartPixel((Bar.X + HalfWidth - Area.MinX) * W / Area.RangeX) + Area.MarginLeft;
    r.Top = ChartPixel(H - (Bar.Y - Area.MinY) * H / Area.RangeY) + Area.MarginTop;
    if (Baseline == nullptr) {
        r.Bottom = Area.MarginTop + Area.Height;
    } else {
        const double pi = 3.14159265358979323846;
        const double slope = std::tan(Baseline->Angle * pi / 180.0 + pi / 2.0);
        const double base = Baseline->Y0 - (Bar.X - Baseline->X0) / slope;
        r.Bottom = ChartPixel(H - (base - Area.MinY) * H / Area.RangeY) + Area.MarginTop;
    }
    return r;
}
