#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ChartCanvas.h"

// The arithmetic both charts draw by: label texts, grid positions, the
// grapher's scale and point formula, bar rectangles. Rounding is to nearest,
// halves to even, throughout.

// A value as the charts label it: two decimals at most, no trailing zeros.
std::string ChartLabel(double Value);

// A real pixel position on the integer grid.
int32_t ChartPixel(double Value);

// Pixels per grid step across an extent: Extent / Grid, at least 1.
double GridPixelStep(int32_t Extent, int32_t Grid);

// The vertical grid lines, left to right: from MarginLeft on, one step at a
// time, while Width - MarginRight + 1 is beyond the step.
std::vector<double> GridColumns(int32_t Width, int32_t MarginLeft, int32_t MarginRight, double Sx);

// The grapher's horizontal lines, bottom up: from the bottom of the plot area
// one step up at a time, until the step reaches MarginTop - 1. The bottom edge
// itself is not among them.
std::vector<double> GraphGridRows(int32_t Height, int32_t MarginTop, int32_t MarginBottom, double Sy);

// The plotter's label rows, bottom up: the bottom of the plot area first, then
// one step up at a time while above MarginTop - 1.
std::vector<double> PlotGridRows(int32_t Height, int32_t MarginTop, int32_t MarginBottom, double Sy);

// A zero range is drawn as 1.
double RangeOrOne(double Range);

// The grapher's Y bounds: 0 without values; MinValue and MaxValue when
// MaxValue is above 0; else the values' own extremes.
double GraphMinY(const std::vector<TChartItem> &Values, double MinValue, double MaxValue);
double GraphMaxY(const std::vector<TChartItem> &Values, double MinValue, double MaxValue);

struct TGraphScale {
    double MinY = 0.0;
    double RangeY = 1.0; // never 0
    double X0 = 0.0;     // first X to two decimals
    double RangeX = 1.0; // last X - first X; 1 with fewer than two values
    double XStep = 0.0;  // X value per grid step
    double YStep = 0.0;  // Y value per grid step
};

TGraphScale GraphScale(const std::vector<TChartItem> &Values, double MinValue, double MaxValue, int32_t Grid);

// Where the grapher puts a value: X across the plot width from X0, Y up from
// the bottom of the plot height.
void GraphPoint(const TChartItem &Item, const TGraphScale &Scale, int32_t Width, int32_t Height,
                int32_t MarginLeft, int32_t MarginTop, int32_t &X, int32_t &Y);

// The plot area a series draws into, and the scale it is drawn at.
struct TPlotArea {
    int32_t Width = 0;  // W
    int32_t Height = 0; // H
    double RangeY = 1.0;
    double RangeX = 1.0;
    double MinY = 0.0;
    double MinX = 0.0;
    int32_t MarginLeft = 0;
    int32_t MarginTop = 0;
};

// A sloping line the bars may stand on instead of the bottom of the plot: the
// point (X0, Y0) and the angle in degrees. No element of the program makes one.
struct TPlotBaseline {
    double X0 = 0.0;
    double Y0 = 0.0;
    double Angle = 0.0;
};

// The rectangle of one bar centred on Bar.X, HalfWidth X units either side,
// from Bar.Y down to the bottom of the plot, or to the baseline when one is given.
TChartRect BarRect(const TChartItem &Bar, int32_t HalfWidth, const TPlotArea &Area, const TPlotBaseline *Baseline);
