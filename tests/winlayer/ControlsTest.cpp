// Controls on real windows: mouse records and the paint cycle.
#include <string>

#include "LayerTest.h"
#include "Pixels.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::TPixels;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

// A hidden form with one label on it, windows made. (Tests that read the screen
// show it: showing and hiding a window costs seconds under Wine without a window manager.)
struct TFormWithLabel {
    TWinControl *Form;
    TWinControl *Label;
    TFormWithLabel()
    {
        Form = NewForm(nullptr, "form");
        Form->SetVisible(false);
        Form->SetBounds(0, 0, 240, 160);
        Label = NewLabel(Form, "label");
        Label->SetBounds(10, 10, 80, 22);
        Form->EnsureWindow();
    }
    ~TFormWithLabel()
    {
        Form->SetVisible(false);
        Form->Free();
    }
};

} // namespace

TEST_F(LayerTest, MouseRecordsGetTheButtonTheAltBitTheWheelDeltaAndTheSignedPosition)
{
    TFormWithLabel ui;
    static std::vector<TMouseEventData> got;
    got.clear();
    const TMouseEvent record = {[](void *, TWinControl *, TMouseEventData &m) { got.push_back(m); }, nullptr};
    ui.Label->SetOnMouseDown(record);
    ui.Label->SetOnMouseMove(record);
    ui.Label->SetOnMouseWheel(record);
    HWND window = ui.Label->Handle;
    POINT screen{20, 5};
    ClientToScreen(window, &screen);
    struct TCase {
        UINT Message;
        WPARAM WParam;
        LPARAM LParam;
        bool Alt;
        uint8_t Button;
        uint32_t KeyState;
        int X, Y;
    };
    const TCase cases[] = {
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 2), true, mbNone, MK_LBUTTON + 0x20, 1, 2},
        {WM_RBUTTONDOWN, MK_SHIFT, MAKELPARAM(7, -3), false, mbRight, MK_SHIFT, 7, -3},
        // The wheel: the delta in the upper 16 bits, the position made client-relative.
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y), false, mbNone, 120u << 16, 20, 5},
    };
    for (const TCase &c : cases) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_MENU] = c.Alt ? 0x80 : 0;
        SetKeyboardState(keys);
        got.clear();
        SendMessageA(window, c.Message, c.WParam, c.LParam);
        ASSERT_EQ(got.size(), 1u) << std::hex << c.Message;
        EXPECT_EQ(got[0].Button, c.Button) << std::hex << c.Message;
        EXPECT_EQ(got[0].KeyState, c.KeyState) << std::hex << c.Message;
        EXPECT_EQ(got[0].X, c.X) << std::hex << c.Message;
        EXPECT_EQ(got[0].Y, c.Y) << std::hex << c.Message << ": signed 16-bit";
    }
}

// Without a clip region the end-to-end tests see the program's controls paint.
TEST_F(LayerTest, PaintEventDrawsThroughTheBorrowedContextWithinTheClipRegion)
{
    TFormWithLabel ui;
    ui.Form->SetVisible(true);
    struct TPaint {
        int Calls = 0;
        bool OnThePaintContext = false;
        static void Run(void *d, TWinControl *sender, HDC dc)
        {
            auto *self = static_cast<TPaint *>(d);
            ++self->Calls;
            TWinCanvas *canvas = sender->Canvas();
            self->OnThePaintContext = canvas->Handle() == dc && canvas->Borrowed();
            canvas->Brush()->SetColor(0x0000FF);
            canvas->FillRect(RECT{0, 0, 80, 22});
        }
    } paint;
    ui.Label->SetOnPaint({&TPaint::Run, &paint});
    ui.Label->SetClipRegion(NewRectRegion(5, 5, 15, 12));
    HDC dc = GetDC(ui.Label->Handle);
    RECT all{0, 0, 80, 22};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(ui.Label->Handle, dc);
    InvalidateRect(ui.Label->Handle, nullptr, FALSE);
    UpdateWindow(ui.Label->Handle);
    EXPECT_FALSE(GetUpdateRect(ui.Label->Handle, nullptr, FALSE)) << "validated";
    const TPixels pixels = layertest::WindowPixels(ui.Form->Handle, 100, 40);
    EXPECT_EQ(paint.Calls, 1);
    EXPECT_TRUE(paint.OnThePaintContext) << "the canvas draws on the paint context";
    EXPECT_EQ(ui.Label->MadeCanvas()->MadeHandle(), nullptr) << "given back after";
    EXPECT_EQ(pixels.Count(Red, RECT{10, 10, 90, 32}), 70) << "10 x 7 inside the clip";
    EXPECT_EQ(pixels.At(15, 15), Red);
    EXPECT_EQ(pixels.At(14, 15), White);
    ui.Label->SetClipRegion(nullptr);
}
