#pragma once
#include <windows.h>

#include <cstdint>

#include "TGrapherCore.h"
#include "elements/win/TQorWin.h"

namespace winlayer {
class TWinBitmap;
}

// A line graph of the values it is given, drawn with a solid grid, labels and
// a frame into an off-screen bitmap, which a paint copies. The picture is drawn
// again only when a paint finds it out of date (after the values changed or the
// control was resized), not at every value: a refill adds hundreds of values
// one by one, and a picture for each made the refill quadratic. The value
// buffer, the properties and the drawing steps are TGrapherCore's (in the order
// the scheme sets them); this element adds the control, the bitmap and the
// scheme points.
class TQorGrapher : public TQorWin, public TGrapherCore {
public:
    winlayer::TWinBitmap *Bitmap = nullptr; // owned; 0 x 0 until the first resize
    bool Stale = true;                      // the bitmap does not show the values yet
    TPointLink Value;

    explicit TQorGrapher(winlayer::TWinControl *ParentControl);
    ~TQorGrapher() override;

    // A value, or, for a stream, all of the stream's 16-bit values in place of
    // the old ones; the picture is drawn at the next paint.
    void doAdd(TData &Data, uint16_t Index);
    void doClear(TData &Data, uint16_t Index);

    void Init() override;

    // Draws the whole picture into the bitmap.
    void Draw();
    // The control's paint handler: draws the picture when it is out of date,
    // then copies the bitmap.
    void Paint(HDC Dc);
    // The control's resize handler: the bitmap takes the control's size.
    void Resize();

private:
    // The values changed: the picture waits for the next paint.
    void Changed();

    static void PaintEvent(void *Self, winlayer::TWinControl *Sender, HDC Dc);
    static void ResizeEvent(void *Self, winlayer::TWinControl *Sender);
};
