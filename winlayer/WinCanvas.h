#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "winlayer/Callback.h"
#include "winlayer/WinGraphicTool.h"
#include "winlayer/WinObject.h"

namespace winlayer {

class TWinControl;
class TWinCanvas;

// What is selected into the context.
enum : uint8_t { csPen = 1, csBrush = 2, csFont = 4 };

// How a context is given up.
enum class TCanvasRelease : uint8_t {
    Keep,      // someone else's context: left alone
    ReleaseDC, // a window's context from GetDC
    DeleteDC,  // a memory context of our own
};

// Gets a context for a canvas that has none; sets borrowed when the context
// belongs to someone else for the moment (a paint cycle).
using TCanvasFetch = TCallback<HDC(TWinCanvas *canvas, bool &borrowed)>;
using TCanvasNotice = TCallback<void(TWinCanvas *canvas)>;

// One device context and the tools drawn with. Tools are made on first use and
// selected only when an operation needs them and they are not selected yet.
class TWinCanvas : public TWinObject {
public:
    explicit TWinCanvas(TWinControl *owner);

    TWinControl *const Owner; // the control drawn on, or none
    POINT PenPos{0, 0};       // the last move-to point
    DWORD CopyMode = SRCCOPY;
    TCanvasFetch Fetch;
    TCanvasRelease ReleaseKind = TCanvasRelease::Keep;
    TCanvasNotice OnChange; // before each drawing operation

    // The context, fetched when there is none.
    HDC Handle();
    HDC MadeHandle() const { return FHandle; }
    // Replaces the context: the stock pen, brush and font go back into the old one,
    // which is then given up (unless it was borrowed).
    void SetHandle(HDC dc);
    // Gives up the context now.
    void Release() { SetHandle(nullptr); }
    bool Borrowed() const { return FBorrowed; }
    uint8_t SelectedSet() const { return FSelected; }

    // The tools, made on first use. A control's canvas starts from copies of the
    // control's brush and font, the brush in the control's colour.
    TWinGraphicTool *Brush();
    TWinGraphicTool *Font();
    TWinGraphicTool *Pen();
    bool HasBrush() const { return FBrush != nullptr; }

    // Drawing operations; each selects what it needs first.
    void FillRect(const RECT &rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void TextOut(int x, int y, const std::string &text);
    // DT_CALCRECT measures into rect; 0 draws left-aligned at the top. The text height.
    int DrawText(const std::string &text, RECT &rect, UINT format);
    void Arc(int left, int top, int right, int bottom, int startX, int startY, int endX,
             int endY);
    void Ellipse(int left, int top, int right, int bottom);
    // Fills the region with the given brush, or with the canvas brush when none is given.
    void FillRgn(HRGN region, TWinGraphicTool *brush = nullptr);
    // SelectObject of a region: the context's clip becomes a copy of it.
    void SelectRegion(HRGN region);
    SIZE TextExtent(const std::string &text);
    int TextWidth(const std::string &text) { return TextExtent(text).cx; }
    int TextHeight(const std::string &text) { return TextExtent(text).cy; }

    // Selects what the mask asks for (csPen | csBrush | csFont) and is not selected yet.
    void RequireState(uint8_t mask);

protected:
    ~TWinCanvas() override;

private:
    static void ToolChanging(void *data, TWinGraphicTool *tool);
    void Deselect(uint8_t mask);
    void Changing();

    HDC FHandle = nullptr;
    bool FBorrowed = false;
    uint8_t FSelected = 0;
    TWinGraphicTool *FBrush = nullptr;
    TWinGraphicTool *FFont = nullptr;
    TWinGraphicTool *FPen = nullptr;
};

// A canvas on someone else's context, which it never gives up.
TWinCanvas *NewCanvas(HDC dc);
// A canvas on a memory context of its own (CreateCompatibleDC(0)), deleted with it.
TWinCanvas *NewMemoryCanvas();

// Regions, counted with the layer's GDI objects.
HRGN NewRectRegion(int left, int top, int right, int bottom);
HRGN NewEllipticRegion(const RECT &rect);
void DeleteRegion(HRGN region);

} // namespace winlayer
