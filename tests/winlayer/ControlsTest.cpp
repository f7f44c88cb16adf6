// Controls on real windows freed without leaks.
#include <string>

#include "LayerTest.h"
#include "winlayer/GdiCount.h"
#include "winlayer/WinBitmap.h"

using namespace winlayer;
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
