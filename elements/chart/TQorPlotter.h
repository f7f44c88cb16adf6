#pragma once
#include <windows.h>

#include <cstdint>

#include "TPlotterCore.h"
#include "elements/win/TQorWin.h"
#include "runtime/TEvents.h"

namespace winlayer {
class TWinBitmap;
}

// Draws the attached series into one plot area with a dotted grid, labels
// under and left of it and a frame, redrawing its off-screen bitmap on every
// paint and copying it in one block. With MouseControl on, the middle button
// pans, Ctrl with the left button zooms to a rubber-band box and the wheel
// zooms about the mouse. The series list, the properties (in the order the
// scheme sets them), the scale and the drawing steps are TPlotterCore's; this
// element adds the control, the bitmap, the full region and the mouse.
// It is the series' plotter interface itself (DayPlotter of the main scheme
// answers it).
class TQorPlotter : public TQorWin, public TPlotterCore {
public:
    winlayer::TWinBitmap *Bitmap = nullptr; // owned; 0 x 0 until the first resize
    HRGN FullRegion = nullptr;              // (0, 0, bitmap width, bitmap height)
    // Called with the TQorMouseRecord as sender; nothing in this program adds one.
    TEvents MouseDownHandlers;
    TEvents MouseUpHandlers;
    TEvents MouseMoveHandlers;

    explicit TQorPlotter(winlayer::TWinControl *ParentControl);
    ~TQorPlotter() override;

    // Empties every attached series; the next paint redraws.
    void doClear(TData &Data, uint16_t Index);

    void Repaint() override;

    void Init() override;
    void MouseDown(const TQorMouseRecord &Mouse) override;
    void MouseMove(const TQorMouseRecord &Mouse) override;
    void MouseUp(const TQorMouseRecord &Mouse) override;
    void MouseWheel(const TQorMouseRecord &Mouse) override;

    // Draws the whole picture into the bitmap.
    void Draw();
    // The control's paint handler: redraws, then copies the bitmap.
    void Paint(HDC Dc);
    // The control's resize handler: the bitmap takes the control's size and is
    // redrawn; no invalidation.
    void Resize();

private:
    // The rubber band on the control's own canvas, in XOR: drawn twice it is gone.
    void ZoomBox(int32_t X, int32_t Y);

    static void PaintEvent(void *Self, winlayer::TWinControl *Sender, HDC Dc);
    static void ResizeEvent(void *Self, winlayer::TWinControl *Sender);
};
