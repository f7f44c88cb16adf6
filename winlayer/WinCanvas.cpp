#include "winlayer/WinCanvas.h"

#include "winlayer/GdiCount.h"
#include "winlayer/WinControl.h"

namespace winlayer {

TWinCanvas::TWinCanvas(TWinControl *owner) : Owner(owner)
{
}

TWinCanvas::~TWinCanvas()
{
    SetHandle(nullptr);
    for (TWinGraphicTool *tool : {FBrush, FFont, FPen}) {
        if (tool) {
            tool->OnChange = {};
            tool->Free();
        }
    }
}

TWinCanvas *NewCanvas(HDC dc)
{
    TWinCanvas *canvas = NewObject<TWinCanvas>(nullptr);
    canvas->SetHandle(dc);
    return canvas;
}

TWinCanvas *NewMemoryCanvas()
{
    TWinCanvas *canvas = NewObject<TWinCanvas>(nullptr);
    canvas->ReleaseKind = TCanvasRelease::DeleteDC;
    canvas->SetHandle(GdiMemoryDC(nullptr));
    return canvas;
}

HRGN NewRectRegion(int left, int top, int right, int bottom)
{
    return GdiCounted(CreateRectRgn(left, top, right, bottom));
}

HRGN NewEllipticRegion(const RECT &rect)
{
    return GdiCounted(CreateEllipticRgnIndirect(&rect));
}

void DeleteRegion(HRGN region)
{
    GdiDelete(region);
}

HDC TWinCanvas::Handle()
{
    if (!FHandle && Fetch) {
        bool borrowed = false;
        HDC dc = Fetch(this, borrowed);
        FHandle = dc;
        FBorrowed = dc && borrowed;
        FSelected = 0;
    }
    return FHandle;
}

void TWinCanvas::SetHandle(HDC dc)
{
    if (dc == FHandle)
        return;
    if (FHandle) {
        // Our tools must not stay in a context we no longer watch.
        if (FSelected) {
            SelectObject(FHandle, GetStockObject(BLACK_PEN));
            SelectObject(FHandle, GetStockObject(NULL_BRUSH));
            SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
            FSelected = 0;
        }
        if (!FBorrowed) {
            if (ReleaseKind == TCanvasRelease::ReleaseDC)
                GdiReleaseDC(Owner ? Owner->Handle : nullptr, FHandle);
            else if (ReleaseKind == TCanvasRelease::DeleteDC)
                GdiDeleteDC(FHandle);
        }
    }
    FHandle = dc;
    FBorrowed = false;
    FSelected = 0;
}

void TWinCanvas::ToolChanging(void *data, TWinGraphicTool *tool)
{
    auto *self = static_cast<TWinCanvas *>(data);
    if (tool == self->FPen)
        self->Deselect(csPen);
    else if (tool == self->FBrush)
        self->Deselect(csBrush);
    else if (tool == self->FFont)
        self->Deselect(csFont);
}

void TWinCanvas::Deselect(uint8_t mask)
{
    mask &= FSelected;
    if (!mask || !FHandle)
        return;
    if (mask & csPen)
        SelectObject(FHandle, GetStockObject(BLACK_PEN));
    if (mask & csBrush)
        SelectObject(FHandle, GetStockObject(NULL_BRUSH));
    if (mask & csFont)
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FSelected &= static_cast<uint8_t>(~mask);
}

TWinGraphicTool *TWinCanvas::Brush()
{
    if (!FBrush) {
        FBrush = NewBrush();
        if (Owner) {
            FBrush->Assign(Owner->Brush());
            FBrush->SetColor(Owner->Color);
        }
        FBrush->OnChange = {&ToolChanging, this};
    }
    return FBrush;
}

TWinGraphicTool *TWinCanvas::Font()
{
    if (!FFont) {
        FFont = NewFont();
        if (Owner)
            FFont->Assign(Owner->Font());
        FFont->OnChange = {&ToolChanging, this};
    }
    return FFont;
}

TWinGraphicTool *TWinCanvas::Pen()
{
    if (!FPen) {
        FPen = NewPen();
        FPen->OnChange = {&ToolChanging, this};
    }
    return FPen;
}

void TWinCanvas::RequireState(uint8_t mask)
{
    HDC dc = Handle();
    if (!dc)
        return;
    // A dashed or dotted pen draws its gaps with the background of the brush.
    if (mask & csPen) {
        const uint8_t style = Pen()->PenStyle();
        if (style == PS_DASH || style == PS_DOT || style == PS_DASHDOT)
            mask |= csBrush;
    }
    // A selected tool whose system colour changed is made and selected again.
    if ((FSelected & csBrush) && FBrush->HandleStale())
        FBrush->DropHandle();
    if ((FSelected & csFont) && FFont->HandleStale())
        FFont->DropHandle();
    if ((FSelected & csPen) && FPen->HandleStale())
        FPen->DropHandle();

    if ((mask & csBrush) && !(FSelected & csBrush)) {
        TWinGraphicTool *brush = Brush();
        SelectObject(dc, brush->Handle());
        const COLORREF color = brush->PlatformColor();
        if (brush->BrushStyle() == bsSolid && !brush->BrushBitmap()) {
            SetBkColor(dc, color);
            SetBkMode(dc, OPAQUE);
        } else {
            SetBkColor(dc, ~color & 0x00FFFFFF);
            SetBkMode(dc, TRANSPARENT);
        }
        FSelected |= csBrush;
    }
    if ((mask & csFont) && !(FSelected & csFont)) {
        TWinGraphicTool *font = Font();
        SelectObject(dc, font->Handle());
        SetTextColor(dc, font->PlatformColor());
        FSelected |= csFont;
    }
    if ((mask & csPen) && !(FSelected & csPen)) {
        TWinGraphicTool *pen = Pen();
        SelectObject(dc, pen->Handle());
        SetROP2(dc, pen->PenMode() + 1);
        FSelected |= csPen;
    }
}

void TWinCanvas::Changing()
{
    if (OnChange)
        OnChange(this);
}

void TWinCanvas::FillRect(const RECT &rect)
{
    Changing();
    HDC dc = Handle();
    if (!dc)
        return;
    if (FBrush) {
        RequireState(csBrush);
        ::FillRect(dc, &rect, FBrush->BrushHandle());
    } else if (Owner) {
        HBRUSH brush = GdiCounted(CreateSolidBrush(ColorToRGB(Owner->Color)));
        ::FillRect(dc, &rect, brush);
        GdiDelete(brush);
    } else {
        ::FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
    }
}

void TWinCanvas::MoveTo(int x, int y)
{
    Changing();
    HDC dc = Handle();
    if (dc)
        MoveToEx(dc, x, y, nullptr);
    PenPos = POINT{x, y};
}

void TWinCanvas::LineTo(int x, int y)
{
    Changing();
    RequireState(csPen | csBrush);
    if (FHandle)
        ::LineTo(FHandle, x, y);
    PenPos = POINT{x, y};
}

void TWinCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Changing();
    RequireState(csPen | csBrush);
    if (FHandle)
        ::Rectangle(FHandle, left, top, right, bottom);
}

void TWinCanvas::TextOut(int x, int y, const std::string &text)
{
    Changing();
    RequireState(csBrush | csFont);
    if (FHandle)
        ::TextOutA(FHandle, x, y, text.data(), static_cast<int>(text.size()));
}

int TWinCanvas::DrawText(const std::string &text, RECT &rect, UINT format)
{
    Changing();
    RequireState(csBrush | csFont);
    if (!FHandle)
        return 0;
    return ::DrawTextA(FHandle, text.data(), static_cast<int>(text.size()), &rect, format);
}

void TWinCanvas::Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
                     int endY)
{
    Changing();
    RequireState(csPen | csBrush);
    if (FHandle)
        ::Arc(FHandle, left, top, right, bottom, startX, startY, endX, endY);
}

void TWinCanvas::Ellipse(int left, int top, int right, int bottom)
{
    Changing();
    RequireState(csPen | csBrush);
    if (FHandle)
        ::Ellipse(FHandle, left, top, right, bottom);
}

void TWinCanvas::FillRgn(HRGN region, TWinGraphicTool *brush)
{
    Changing();
    HDC dc = Handle();
    if (!dc || !region)
        return;
    if (!brush)
        brush = Brush();
    ::FillRgn(dc, region, brush->BrushHandle());
}

void TWinCanvas::SelectRegion(HRGN region)
{
    HDC dc = Handle();
    if (dc && region)
        SelectObject(dc, region);
}

SIZE TWinCanvas::TextExtent(const std::string &text)
{
    SIZE size{0, 0};
    RequireState(csFont);
    if (FHandle)
        GetTextExtentPoint32A(FHandle, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace winlayer
