// Making, drawing and freeing a labelled form with an LED, many times over,
// leaves no GDI object behind.
#include "WinTestKit.h"
#include "winlayer/GdiCount.h"

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
        TQorLED *led = MakeLed(form, 1, 1);
        RunStartList();
        HDC memory = CreateCompatibleDC(nullptr);
        SendMessageA(form->Control->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
        DeleteDC(memory);
        Printed(label->Control->Handle);
        Printed(led->Control->Handle);
        TData none;
        led->doOff(none, 0);
        Printed(led->Control->Handle);
        Elements.FreeElements();
        Settle();
    }
};

} // namespace

TEST_F(GdiLeakTest, AThousandFormsWithALabelAndAnLedLeaveNoGdiObjectBehind)
{
    Cycle(); // the first one meets what is made once per program
    const int32_t layerBefore = winlayer::LayerGdiCount().Live();
    const DWORD systemBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int32_t objectsBefore = winlayer::TWinObject::LiveObjects();
    for (int i = 0; i < 1000; ++i)
        Cycle();
    EXPECT_EQ(winlayer::LayerGdiCount().Live(), layerBefore) << "the layer's own count";
    if (systemBefore != 0) {
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), systemBefore) << "the system's count";
    }
    EXPECT_EQ(winlayer::TWinObject::LiveObjects(), objectsBefore) << "no layer object is left either";
}
