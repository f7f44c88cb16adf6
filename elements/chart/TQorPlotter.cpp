#include "TQorPlotter.h"

#include "WinChartCanvas.h"
#include "winlayer/WinBitmap.h"
#include "winlayer/WinCanvas.h"

using namespace winlayer;

TQorPlotter::TQorPlotter(TWinControl *ParentControl) : TQorWin(ParentControl)
{
    Control = NewLabel(Parent, "");
    Control->SetBounds(0, 0, Control->Width() - 24, Control->Height() + 18);
    Bitmap = NewBitmap(0, 0);
}

TQorPlotter::~TQorPlotter()
{
    if (Control && !ControlGone) {
        Control->OnPaint = {};
        Control->OnResize = {};
    }
    DeleteRegion(FullRegion);
    FullRegion = nullptr;
    if (Bitmap)
        Bitmap->Free();
    Bitmap = nullptr;
}

void TQorPlotter::doClear(TData &, uint16_t)
{
    ClearSeries();
    Repaint();
}

// Once the window layer has freed the control there is nothing to invalidate;
// the series still take their values.
void TQorPlotter::Repaint()
{
    if (Control && !ControlGone)
        Invalidate(Control);
}

void TQorPlotter::Init()
{
    TQorWin::Init();
    Control->SetOnPaint(TPaintEvent{&PaintEvent, this});
    Control->SetOnResize(TControlHook{&ResizeEvent, this});
    Resize();
}

void TQorPlotter::Draw()
{
    TWinCanvas *canvas = Bitmap->Canvas();
    if (canvas == nullptr)
        return;
    TWinChartCanvas chart(canvas, FullRegion);
    TPlotterCore::Draw(chart, Bitmap->Width(), Bitmap->Height(), Control->Color);
}

void TQorPlotter::Paint(HDC Dc)
{
    Draw();
    Bitmap->Draw(Dc, 0, 0);
}

void TQorPlotter::Resize()
{
    const int width = Control->Width();
    const int height = Control->Height();
    Bitmap->SetSize(width > 1 ? width : 1, height > 1 ? height : 1);
    DeleteRegion(FullRegion);
    FullRegion = NewRectRegion(0, 0, Bitmap->Width(), Bitmap->Height());
    Draw();
}

void TQorPlotter::MouseDown(const TQorMouseRecord &Mouse)
{
    TQorWin::MouseDown(Mouse);
    LastX = DownX = Mouse.X;
    LastY = DownY = Mouse.Y;
    SetFocus(Control->GetHandle());
    MouseDownHandlers.Call(const_cast<TQorMouseRecord *>(&Mouse));
    if (!MouseControl)
        return;
    StartDrag(static_cast<uint8_t>(Mouse.Button), GetKeyState(VK_CONTROL) < 0);
}

void TQorPlotter::MouseMove(const TQorMouseRecord &Mouse)
{
    TQorWin::MouseMove(Mouse);
    if (DragMode == pdmPan) {
        Pan(Mouse.X, Mouse.Y, Control->Width(), Control->Height());
        Repaint();
    } else if (DragMode == pdmZoomBox) {
        ZoomBox(LastX, LastY);
        ZoomBox(Mouse.X, Mouse.Y);
    }
    LastX = Mouse.X;
    LastY = Mouse.Y;
    MouseMoveHandlers.Call(const_cast<TQorMouseRecord *>(&Mouse));
}

void TQorPlotter::MouseUp(const TQorMouseRecord &Mouse)
{
    TQorWin::MouseUp(Mouse);
    if (DragMode == pdmZoomBox) {
        ZoomBox(LastX, LastY);
        ZoomToBox(Control->Width(), Control->Height());
        Repaint();
    }
    DragMode = pdmNone;
    MouseUpHandlers.Call(const_cast<TQorMouseRecord *>(&Mouse));
}

void TQorPlotter::MouseWheel(const TQorMouseRecord &Mouse)
{
    TQorWin::MouseWheel(Mouse);
    if (!MouseControl)
        return;
    WheelZoom(static_cast<int32_t>(Mouse.KeyState), Control->Width(), Control->Height());
    Repaint();
}

void TQorPlotter::ZoomBox(int32_t X, int32_t Y)
{
    TWinCanvas *canvas = Control->Canvas();
    canvas->Pen()->SetPenMode(pmXor);
    canvas->Rectangle(DownX, DownY, X, Y);
    canvas->Release(); // a window's context is not kept between mouse messages
}

void TQorPlotter::PaintEvent(void *Self, TWinControl *, HDC Dc)
{
    static_cast<TQorPlotter *>(Self)->Paint(Dc);
}

void TQorPlotter::ResizeEvent(void *Self, TWinControl *)
{
    static_cast<TQorPlotter *>(Self)->Resize();
}
