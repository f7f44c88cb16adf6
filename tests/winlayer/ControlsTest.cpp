// Controls on real windows: stored properties, label colours, mouse records, the
// paint cycle, keyboard navigation and freeing without leaks.
#include <string>

#include "LayerTest.h"
#include "Pixels.h"
#include "winlayer/GdiCount.h"
#include "winlayer/WinBitmap.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::TMemoryPicture;
using layertest::TPixels;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

// A hidden form with one label on it, windows made. (Tests that read the screen
// show it: showing and hiding a window costs seconds under Wine without a window manager.)
struct TFormWithLabel {
    TWinControl *Form;
    TWinControl *Label;
    explicit TFormWithLabel(const std::string &caption = "label")
    {
        Form = NewForm(nullptr, "form");
        Form->SetVisible(false);
        Form->SetBounds(0, 0, 240, 160);
        Label = NewLabel(Form, caption);
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

TEST_F(LayerTest, SettersWithoutAWindowOnlyStoreAndTheWindowIsMadeWithTheirValues)
{
    TFormWithLabel ui;
    TWinControl *unmade = NewLabel(ui.Form, "no window");
    unmade->SetBounds(1, 2, 30, 40);
    unmade->Font()->SetFontHeight(-15);
    EXPECT_EQ(unmade->Handle, nullptr);
    unmade->EnsureWindow();
    const RECT made = unmade->BoundsRect();
    EXPECT_EQ(made.left, 1);
    EXPECT_EQ(made.bottom, 42);
    const auto sentFont = [&] { return reinterpret_cast<HFONT>(SendMessageA(unmade->Handle, WM_GETFONT, 0, 0)); };
    EXPECT_EQ(sentFont(), unmade->Font()->MadeHandle()) << "the font goes with the new window";

    unmade->Canvas();
    unmade->Font()->SetFontHeight(-20);
    EXPECT_EQ(sentFont(), unmade->Font()->MadeHandle()) << "a new font is sent at once";
    EXPECT_EQ(unmade->MadeCanvas(), nullptr) << "the canvas copied the old font";
    EXPECT_EQ(unmade->Canvas()->Font()->FontHeight(), -20);
}

TEST_F(LayerTest, LabelBackgroundIsPaintedInTheLabelColourOnTheFormColour)
{
    TFormWithLabel ui("");
    ui.Form->SetColor(0x0000FF); // red
    ui.Label->SetColor(0xFF0000); // blue
    ui.Form->SetVisible(true);
    RedrawWindow(ui.Form->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const TPixels shown = layertest::WindowPixels(ui.Form->Handle, 120, 60);
    EXPECT_EQ(shown.At(40, 20), Blue) << "the label";
    EXPECT_EQ(shown.At(5, 5), Red) << "the form";
}

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

    struct TCase {
        const char *What;
        HRGN Clip;
        bool Print;
        int Red; // pixels painted
    };
    HRGN complex = NewRectRegion(0, 0, 4, 4);
    HRGN other = NewRectRegion(30, 10, 40, 20);
    CombineRgn(complex, complex, other, RGN_OR);
    DeleteRegion(other);
    const TCase cases[] = {{"paint, no clip", nullptr, false, 80 * 22},
                           {"paint, clip", NewRectRegion(5, 5, 15, 12), false, 70},
                           {"print, clip", NewRectRegion(5, 5, 15, 12), true, 70},
                           // Not worth clipping: the whole client area is painted.
                           {"paint, complex clip", complex, false, 80 * 22}};
    for (const TCase &c : cases) {
        ui.Label->SetClipRegion(c.Clip);
        paint.Calls = 0;
        TPixels pixels(nullptr, 1, 1);
        int at = 0; // where the label's pixels start in what is read back
        if (c.Print) {
            TMemoryPicture picture(80, 22, White);
            EXPECT_EQ(SendMessageA(ui.Label->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.DC), PRF_CLIENT), 0);
            pixels = picture.Read();
        } else {
            HDC dc = GetDC(ui.Label->Handle);
            RECT all{0, 0, 80, 22};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            ReleaseDC(ui.Label->Handle, dc);
            InvalidateRect(ui.Label->Handle, nullptr, FALSE);
            UpdateWindow(ui.Label->Handle);
            EXPECT_FALSE(GetUpdateRect(ui.Label->Handle, nullptr, FALSE)) << c.What << ": validated";
            pixels = layertest::WindowPixels(ui.Form->Handle, 100, 40);
            at = 10;
        }
        EXPECT_EQ(paint.Calls, 1) << c.What;
        EXPECT_TRUE(paint.OnThePaintContext) << c.What << ": the canvas draws on the paint context";
        EXPECT_EQ(ui.Label->MadeCanvas()->MadeHandle(), nullptr) << c.What << ": given back after";
        EXPECT_EQ(pixels.Count(Red, RECT{at, at, at + 80, at + 22}), c.Red) << c.What;
        if (c.Red == 70) {
            EXPECT_EQ(pixels.At(at + 5, at + 5), Red) << c.What;
            EXPECT_EQ(pixels.At(at + 4, at + 5), White) << c.What;
        }
    }
    ui.Label->SetClipRegion(nullptr);
}

TEST_F(LayerTest, TabMovesTheFocusAmongTabStopsByTabOrderAndWraps)
{
    TWinControl *form = NewForm(nullptr, "tabs");
    form->SetBounds(0, 0, 200, 200);
    form->KeyNavigation = true;
    TWinControl *labels[4];
    for (int i = 0; i < 4; ++i) {
        labels[i] = NewLabel(form, "label " + std::to_string(i));
        labels[i]->SetBounds(0, i * 30, 60, 20);
    }
    // Tab orders 3, 1, 2 (labels[3] is no tab stop): a new order renumbers the siblings at or above it.
    labels[0]->SetTabOrder(1);
    labels[1]->SetTabOrder(1);
    labels[2]->SetTabOrder(2);
    ASSERT_EQ(labels[0]->TabOrder, 3);
    for (int i = 0; i < 3; ++i)
        labels[i]->SetTabStop(true);
    ASSERT_TRUE(form->EnsureWindow());
    SetForegroundWindow(form->Handle);
    SetFocus(labels[1]->Handle);
    ASSERT_EQ(GetFocus(), labels[1]->Handle);

    // Tab by tab order: 1 (labels[1]) -> 2 (labels[2]) -> 3 (labels[0]) -> wraps to 1.
    for (int step : {2, 0, 1}) {
        HWND focused = GetFocus();
        EXPECT_EQ(SendMessageA(focused, WM_KEYDOWN, VK_TAB, 0), 0);
        EXPECT_EQ(SendMessageA(focused, WM_CHAR, '\t', 0), 0);
        EXPECT_EQ(SendMessageA(focused, WM_KEYUP, VK_TAB, 0), 0);
        EXPECT_EQ(GetFocus(), labels[step]->Handle) << "to label " << step;
        EXPECT_EQ(form->FocusChild, labels[step]);
    }
    form->SetVisible(false);
    form->Free();
}

// No loop runs here, and the thousand cycles take longer than the loop watchdog allows.
class LeakTest : public ::testing::Test {
protected:
    void SetUp() override { layertest::ResetLayerState(); }
    void TearDown() override
    {
        layertest::DrainQueue();
        layertest::ResetLayerState();
    }
};

TEST_F(LeakTest, ThousandCyclesOfAFormWithADrawnLabelAndBitmapLeakNothing)
{
    const auto cycle = [] {
        TWinControl *form = NewForm(nullptr, "leak");
        form->SetVisible(false);
        form->SetBounds(0, 0, 120, 90);
        form->SetColor(0xFF00000F);
        TWinControl *label = NewLabel(form, "Kp: 4");
        label->Font()->SetFontName("Verdana");
        label->Font()->SetFontHeight(PointsToHeight(20));
        label->Font()->SetFontStyle(fsBold);
        SetAutoSize(label, true);
        label->SetOnPaint({[](void *, TWinControl *sender, HDC) {
                               TWinCanvas *canvas = sender->Canvas();
                               canvas->Brush()->SetColor(0x00FF00);
                               canvas->FillRect(sender->ClientRect());
                               canvas->TextOut(0, 0, sender->Caption);
                           },
                           nullptr});
        form->EnsureWindow();
        SendMessageA(form->Handle, WM_ERASEBKGND,
                     reinterpret_cast<WPARAM>(label->Canvas()->Handle()), 0);
        label->DropCanvas();

        TWinBitmap *bitmap = NewBitmap(0, 0);
        bitmap->SetWidth(40);
        bitmap->SetHeight(30);
        TWinCanvas *canvas = bitmap->Canvas();
        canvas->Font()->SetFontHeight(8);
        canvas->Brush()->SetColor(0xC0C0C0);
        canvas->FillRect(RECT{0, 0, 40, 30});
        canvas->Pen()->SetColor(0xC0C0C0);
        canvas->Pen()->SetPenStyle(PS_DOT);
        canvas->MoveTo(0, 10);
        canvas->LineTo(40, 10);
        canvas->TextOut(2, 2, "0.25");
        canvas->Pen()->SetPenStyle(PS_SOLID);
        canvas->Pen()->SetColor(0x808080);
        canvas->Brush()->SetColor(0xFF);
        canvas->Rectangle(5, 5, 20, 25);
        RECT text{0, 0, 0, 0};
        canvas->DrawText("8", text, DT_CALCRECT);
        bitmap->SetWidth(60);
        HDC dc = label->Canvas()->Handle();
        bitmap->Draw(dc, 0, 0);
        SendMessageA(label->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        bitmap->Free();
        form->Free();
    };
    const int Cycles = 1000;
    cycle(); // the first run makes what is made once (classes, the screen's pixels per inch)
    const int32_t objects = TWinObject::LiveObjects();
    const TGdiCount gdi = LayerGdiCount();
    const DWORD systemCount = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    RecordProperty("SystemGdiObjects", static_cast<int>(systemCount));
    for (int i = 0; i < Cycles; ++i)
        cycle();
    EXPECT_EQ(TWinObject::LiveObjects(), objects) << "layer objects";
    EXPECT_EQ(LayerGdiCount().Live(), gdi.Live())
        << "made " << LayerGdiCount().Made - gdi.Made << ", deleted "
        << LayerGdiCount().Deleted - gdi.Deleted;
    EXPECT_GT(LayerGdiCount().Made - gdi.Made, 10000) << "the cycles did make GDI objects";
    if (systemCount != 0) {
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), systemCount + 5)
            << "the system's count of GDI objects";
    }
}
