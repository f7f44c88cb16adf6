#include "TQorGrapher.h"

#include "WinChartCanvas.h"
#include "winlayer/WinBitmap.h"

using namespace winlayer;

TQorGrapher::TQorGrapher(TWinControl *ParentControl) : TQorWin(ParentControl)
{
    Control = NewLabel(Parent, "");
    Control->SetBounds(0, 0, Control->Width() - 24, Control->Height() + 18);
    Bitmap = NewBitmap(0, 0);
}

TQorGrapher::~TQorGrapher()
{
    if (Control && !ControlGone) {
        Control->OnPaint = {};
        Control->OnResize = {};
    }
    if (Bitmap)
        Bitmap->Free();
    Bitmap = nullptr;
}

void TQorGrapher::doAdd(TData &Data, uint16_t)
{
    if (IsStream(Data)) {
        Clear();
        TWinStream *stream = ReadStream(Data, Value, nullptr);
        AddStream(stream);
    } else {
        Add(ReadReal(Data, Value, 0.0));
    }
    Changed();
}

void TQorGrapher::doClear(TData &, uint16_t)
{
    Clear();
    Changed();
}

void TQorGrapher::Changed()
{
    Stale = true;
    if (Control && !ControlGone)
        Invalidate(Control);
}

void TQorGrapher::Init()
{
    TQorWin::Init();
    Control->SetOnPaint(TPaintEvent{&PaintEvent, this});
    Control->SetOnResize(TControlHook{&ResizeEvent, this});
    Resize();
}

// Once the window layer has freed the control there is nothing to draw for;
// the values are still kept.
void TQorGrapher::Draw()
{
    if (Control == nullptr || ControlGone)
        return;
    TWinCanvas *canvas = Bitmap->Canvas();
    if (canvas == nullptr)
        return; // no picture before the first resize
    Stale = false;
    const RECT client = Control->ClientRect();
    TWinChartCanvas chart(canvas, nullptr);
    TGrapherCore::Draw(chart, Bitmap->Width(), Bitmap->Height(),
                       TChartRect{client.left, client.top, client.right, client.bottom}, Control->Color);
}

void TQorGrapher::Paint(HDC Dc)
{
    if (Stale)
        Draw();
    Bitmap->Draw(Dc, 0, 0);
}

void TQorGrapher::Resize()
{
    const int width = Control->Width();
    const int height = Control->Height();
    Bitmap->SetSize(width > 1 ? width : 1, height > 1 ? height : 1);
    Changed();
}

void TQorGrapher::PaintEvent(void *Self, TWinControl *, HDC Dc)
{
    static_cast<TQorGrapher *>(Self)->Paint(Dc);
}

void TQorGrapher::ResizeEvent(void *Self, TWinControl *)
{
    static_cast<TQorGrapher *>(Self)->Resize();
}
