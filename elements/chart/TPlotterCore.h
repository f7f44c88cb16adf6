#pragma once
#include <cstdint>
#include <vector>

#include "ChartCanvas.h"
#include "PlotterInterface.h"

class TSeries;

// Drag modes of the mouse.
constexpr uint8_t pdmNone = 0;
constexpr uint8_t pdmPan = 1;
constexpr uint8_t pdmZoomBox = 2;

// Everything of the plotter that needs no window: the attached series, the
// properties in the order the scheme sets them, the scale bounds, the drawing
// steps onto any chart canvas and the arithmetic of pan and zoom. The Win32
// plotter element adds the control, the off-screen bitmap, the regions and the
// mouse handling around this arithmetic; a recording plotter adds a count of
// repaints.
class TPlotterCore : public TPlotterInterface {
public:
    std::vector<TSeries *> SeriesList; // in order of attaching; not owned
    int32_t Grid = 1;                  // at least 1: set through SetGrid
    uint32_t GridColor = 0;
    uint32_t AxisColor = 0;
    uint32_t TextColor = 0;
    double MinY = 0.0; // fixed bounds; 0 is automatic, each bound by itself
    double MaxY = 0.0;
    double MinX = 0.0;
    double MaxX = 0.0;
    int32_t MarginLeft = 0;
    int32_t MarginRight = 0;
    int32_t MarginTop = 0;
    int32_t MarginBottom = 0;
    uint8_t MouseControl = 0;
    int32_t LastX = 0; // mouse position of the last down or move
    int32_t LastY = 0;
    int32_t DownX = 0; // mouse position of the last button press
    int32_t DownY = 0;
    uint8_t DragMode = pdmNone;

    TPlotterCore() = default;
    TPlotterCore(const TPlotterCore &) = delete;
    TPlotterCore &operator=(const TPlotterCore &) = delete;
    // The series stay with their elements: each only loses its plotter.
    virtual ~TPlotterCore();

    void SetGrid(int32_t Value);

    // A series already in the list is not listed twice.
    void AddSeries(TSeries *Series) override;
    void RemoveSeries(TSeries *Series) override;
    int32_t PlotMarginLeft() const override { return MarginLeft; }
    int32_t PlotMarginTop() const override { return MarginTop; }
    int32_t SeriesCount() const { return static_cast<int32_t>(SeriesList.size()); }
    TSeries *SeriesAt(int32_t Index) const;
    // Empties every attached series (the picture is not touched).
    void ClearSeries();

    // Scale bounds: a fixed bound when not 0, else the series' extremes; 0
    // without series or without data.
    double PlotMinY() const;
    double PlotMaxY() const;
    double PlotMinX() const;
    double PlotMaxX() const;

    // The whole picture: background, dotted grid, labels, the series clipped to
    // the plot area, and the frame. BackColor is the control's colour.
    void Draw(TChartCanvas &Canvas, int32_t BitmapWidth, int32_t BitmapHeight, uint32_t BackColor);

    // Mouse arithmetic (only meaningful with MouseControl on). Button is the
    // mouse record's: 1 left, 2 right, 3 middle. The control's size is the
    // whole control's, in pixels. An axis whose plot extent is not positive is
    // left as it is, instead of being divided by zero.
    //
    // Button down: chooses the drag mode and freezes an automatic scale.
    void StartDrag(uint8_t Button, bool CtrlHeld);
    // Move in pan mode, to (X, Y) from (LastX, LastY).
    void Pan(int32_t X, int32_t Y, int32_t ControlWidth, int32_t ControlHeight);
    // Button up in zoom-box mode: zooms to the box from (DownX, DownY) to
    // (LastX, LastY), or resets an axis dragged backwards to the data.
    void ZoomToBox(int32_t ControlWidth, int32_t ControlHeight);
    // Wheel: KeyState holds the signed wheel delta in its upper 16 bits; the
    // pivot is (LastX, LastY).
    void WheelZoom(int32_t KeyState, int32_t ControlWidth, int32_t ControlHeight);
};
