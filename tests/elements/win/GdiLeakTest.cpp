// Making, drawing and freeing a labelled form with an LED, many times over,
// leaves no GDI object behind.
#include "WinTestKit.h"

using namespace winlayer;
using namespace wintest;

namespace {

// A thousand lives take longer than the loop watchdog allows; no loop runs here.
struct GdiLeakTest : ElementTestOn<UnwatchedLayerTest> {
    // One life of the form: made as the scheme makes it, drawn, freed.
    void Cycle()
    {
        TQorMainForm *form = MakeMainForm(200, 120);
        TQorLabel *label = Elements.Make<TQorLabel>(form->Control);
        Configure(label, 10, 10, 120, 17);
        SetFontRec("Tahoma", 8, 1, label->Font, 204, 0x800000);
        label->Caption = "Текущий уровень";
        label->SetAutoSize(1);
        label->SetAlignment(2);
        label->Init();
        TQorLED *led = Elements.Make<TQorLED>(form->Control);
        Configure(led, 150, 10, 15, 15);
        led->ColorOn = 0x008000;
        led->ColorOff = 0x0000FF;
        led->ColorLight = 0xFFFFFF;
        led->On = 1;
        led->Frame = 1;
        led->Init();
        RunStartList();

        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 120);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SendMessageA(form->Control->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
        SendMessageA(label->Control->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        SendMessageA(led->Control->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        TData none;
        led->doOff(none, 0);
        SendMessageA(led->Control->Handle, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);

        Elements.FreeElements();
        Settle();
    }
};

} // namespace

TEST_F(GdiLeakTest, AThousandFormsWithALabelAndAnLedLeaveNoGdiObjectBehind)
{
    Cycle(); // the first one meets what is made once per program
    const int32_t layerBefore = LayerGdiCount().Live();
    const DWORD systemBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int32_t objectsBefore = TWinObject::LiveObjects();

    for (int i = 0; i < 1000; ++i)
        Cycle();

    EXPECT_EQ(LayerGdiCount().Live(), layerBefore) << "the layer's own count";
    const DWORD systemAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (systemBefore != 0) {
        EXPECT_EQ(systemAfter, systemBefore) << "the system's count";
    }
    EXPECT_EQ(TWinObject::LiveObjects(), objectsBefore) << "no layer object is left either";
}
