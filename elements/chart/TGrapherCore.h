#pragma once
#include <cstdint>
#include <vector>

#include "ChartCanvas.h"

namespace winlayer {
class TWinStream;
}

// Everything of the grapher that needs no window: its value buffer, its
// properties in the order the scheme sets them, its scale and its drawing
// steps onto any chart canvas. The Win32 grapher element adds the control,
// the off-screen bitmap and the scheme points.
class TGrapherCore {
public:
    std::vector<TChartItem> Values; // oldest first; the count is Values.size()
    int32_t Grid = 1;               // at least 1: set through SetGrid
    uint32_t GridColor = 0;
    uint32_t AxisColor = 0;
    uint32_t TextColor = 0;
    double Step = 0.0;     // X distance between successive values
    double MinValue = 0.0; // bottom of the fixed Y scale
    double MaxValue = 0.0; // above 0 fixes the Y scale; else it follows the data
    int32_t MaxCount = 0;  // most values kept; 0 or less, no limit
    int32_t MarginLeft = 0;
    int32_t MarginRight = 0;
    int32_t MarginTop = 0;
    int32_t MarginBottom = 0;
    int32_t LineWidth = 0;
    uint32_t LineColor = 0;

    void SetGrid(int32_t Value);

    int32_t Count() const { return static_cast<int32_t>(Values.size()); }
    // Appends a value Step to the right of the last one (the first at X 0); a
    // full buffer drops its oldest value.
    void Add(double Value);
    void Clear();
    // Adds the stream's 16-bit little-endian signed values from its start. A
    // lone last byte is taken as the low byte of a value whose high byte is 0.
    void AddStream(winlayer::TWinStream *Stream);

    double GraphMinY() const;
    double GraphMaxY() const;

    // The whole picture: background, frame, grid, labels and the line. The
    // picture is BitmapWidth x BitmapHeight; Client is the control's client
    // rectangle, BackColor the control's colour.
    void Draw(TChartCanvas &Canvas, int32_t BitmapWidth, int32_t BitmapHeight, const TChartRect &Client,
              uint32_t BackColor) const;
};
