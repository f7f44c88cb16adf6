#include "TQorLED.h"

#include "winlayer/GdiCount.h"
#include "winlayer/NumText.h"

using namespace winlayer;

TLedRoundGlints LedRoundGlints(const RECT &Client)
{
    TLedRoundGlints g{};
    g.Dx = (Client.right - Client.left) / 8;
    g.Dy = (Client.bottom - Client.top) / 8;
    g.L = Client.right / 5;
    g.R = Client.right - Client.right / 5;
    g.T = Client.bottom / 5;
    g.B = Client.bottom - Client.bottom / 5;
    g.W1 = RoundToInt((g.R - g.L) * 0.52);
    g.H1 = RoundToInt((g.B - g.T) * 0.52);
    g.W2 = RoundToInt((g.R - g.L) * 0.24);
    g.H2 = RoundToInt((g.B - g.T) * 0.24);
    return g;
}

RECT LedSquareGlints(const RECT &Client)
{
    return RECT{Client.right / 12, Client.bottom / 8, Client.right - Client.right / 12,
                Client.bottom - Client.bottom / 8};
}

TQorLED::~TQorLED()
{
    if (Control && !ControlGone)
        Control->OnPaint = {};
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(PenGrey), static_cast<HGDIOBJ>(PenWhite),
                           static_cast<HGDIOBJ>(BrushOn), static_cast<HGDIOBJ>(BrushOff),
                           static_cast<HGDIOBJ>(PenOff), static_cast<HGDIOBJ>(PenLight),
                           static_cast<HGDIOBJ>(PenWhiteWide), static_cast<HGDIOBJ>(PenOnWide)})
        GdiDelete(object);
}

void TQorLED::Init()
{
    if (!Control)
        Control = NewLabel(Parent, "");
    TQorWin::Init();
    // Made once: later colour changes do not reach them.
    if (!PenGrey) {
        PenGrey = GdiCounted(CreatePen(PS_SOLID, 1, 0x808080));
        PenWhite = GdiCounted(CreatePen(PS_SOLID, 1, 0xFFFFFF));
        BrushOn = GdiCounted(CreateSolidBrush(ColorToRGB(ColorOn)));
        BrushOff = GdiCounted(CreateSolidBrush(ColorToRGB(ColorOff)));
        PenOff = GdiCounted(CreatePen(PS_SOLID, 1, ColorToRGB(ColorOff)));
        PenLight = GdiCounted(CreatePen(PS_SOLID, 1, ColorToRGB(ColorLight)));
        PenWhiteWide = GdiCounted(CreatePen(PS_SOLID, 2, 0xFFFFFF));
        PenOnWide = GdiCounted(CreatePen(PS_SOLID, 2, ColorToRGB(ColorOn)));
    }
    Control->SetOnPaint(TPaintEvent{&PaintEvent, this});
    Control->SetOnClick(TControlHook{&ClickEvent, this});
}

void TQorLED::PaintEvent(void *Self, TWinControl *, HDC Dc)
{
    static_cast<TQorLED *>(Self)->Paint(Dc);
}

void TQorLED::ClickEvent(void *Self, TWinControl *)
{
    CallEventNull(static_cast<TQorLED *>(Self)->onClick);
}

void TQorLED::Paint(HDC Dc)
{
    // 1.
    const RECT client = Control->ClientRect();
    const int L = client.left, T = client.top, R = client.right, B = client.bottom;
    Control->PaintBackground(Dc, client);

    // 2.
    HRGN region = Shape == 0 ? NewEllipticRegion(client) : NewRectRegion(L, T, R, B);
    if (region) {
        FillRgn(Dc, region, On ? BrushOn : BrushOff);
        DeleteRegion(region);
    }

    // 3.
    if (!Frame)
        return;
    HGDIOBJ oldPen = SelectObject(Dc, PenGrey);
    HPEN firstGlint = On ? PenLight : PenOff;
    HPEN secondGlint = On ? PenWhiteWide : PenOnWide;

    if (Shape == 0) {
        // 4.
        const TLedRoundGlints g = LedRoundGlints(client);
        Arc(Dc, L, T, R, B, R, T, L, B);
        SelectObject(Dc, PenWhite);
        Arc(Dc, L, T, R, B, L, B, R, T);
        if (On) {
            SelectObject(Dc, PenOff);
            Arc(Dc, L + 1, T + 1, R - 1, B - 1, L + g.Dx - 1, B - 1, R - 1, T + g.Dy - 1);
        }
        SelectObject(Dc, firstGlint);
        Arc(Dc, g.L, g.T, g.R, g.B, g.L + g.W1, g.T, g.L, g.T + g.H1);
        SelectObject(Dc, secondGlint);
        Arc(Dc, g.L, g.T, g.R, g.B, g.L + g.W2, g.T, g.L, g.T + g.H2);
    } else if (Shape == 1) {
        // 5.
        MoveToEx(Dc, L, B, nullptr);
        LineTo(Dc, L, T);
        LineTo(Dc, R, T);
        SelectObject(Dc, PenWhite);
        MoveToEx(Dc, R - 1, T, nullptr);
        LineTo(Dc, R - 1, B - 1);
        LineTo(Dc, L, B - 1);
        if (On) {
            SelectObject(Dc, PenOff);
            MoveToEx(Dc, R - 2, T + 1, nullptr);
            LineTo(Dc, R - 2, B - 2);
            LineTo(Dc, L, B - 2);
        }
        const RECT g = LedSquareGlints(client);
        SelectObject(Dc, firstGlint);
        MoveToEx(Dc, g.left + 1, g.bottom - 2, nullptr);
        LineTo(Dc, g.left + 1, g.top + 1);
        LineTo(Dc, g.left + (g.right - g.left) / 3, g.top + 1);
        SelectObject(Dc, secondGlint);
        MoveToEx(Dc, g.left + 1, g.top + 2, nullptr);
        LineTo(Dc, g.left + 1, g.top + 1);
        LineTo(Dc, g.left + 2, g.top + 1);
        LineTo(Dc, g.left + 1, g.top + 2);
    }
    // 6. Other shapes have nothing after the fill.
    SelectObject(Dc, oldPen);
}

void TQorLED::doOn(TData &Data, uint16_t)
{
    if (On)
        return;
    On = 1;
    if (!ControlGone)
        Invalidate(Control);
    ForwardInt(Data, onChange, 1);
}

void TQorLED::doOff(TData &Data, uint16_t)
{
    if (!On)
        return;
    On = 0;
    if (!ControlGone)
        Invalidate(Control);
    ForwardInt(Data, onChange, 0);
}

void TQorLED::State(TData &Data, uint16_t)
{
    Data.dtInteger(On);
}

void TQorLED::Resized()
{
    if (!ControlGone)
        Invalidate(Control);
    TQorWin::Resized();
}
