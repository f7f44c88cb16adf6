// Visual elements on a real form: the element freeing its control, the LED's pixels and a
// label fitting its text. (The end-to-end tests read the program's Cyrillic
// label texts back and the LED's colours, and see that switching the LED on
// twice changes nothing in the tray.)
#include "WinTestKit.h"

using namespace wintest;

struct WinTest : ElementTest {};

// The layer going first is the charts' test: ChartsWhoseControlTheLayerFreedFirst...
TEST_F(WinTest, TheElementFreesItsControl)
{
    const HWND led = MakeLed(MakeMainForm(), 1)->Control->Handle;
    Elements.FreeElements(); // the LED goes, then the form
    EXPECT_FALSE(IsWindow(led));
    EXPECT_EQ(winlayer::TWinObject::LiveObjects(), LiveAtStart) << "nothing of the layer is left";
}

// Green and red at its centre are what the end-to-end tests see on the program's LED.
TEST_F(WinTest, AnUnframedLedIsADiscOnTheFormsBackground)
{
    const Snapshot shot = Printed(MakeLed(MakeMainForm(120, 80), 1)->Control->Handle);
    ASSERT_EQ(shot.Bits.size(), 15u * 15u);
    for (const POINT p : {POINT{7, 7}, POINT{7, 1}, POINT{1, 7}})
        EXPECT_EQ(shot.At(p.x, p.y), COLORREF(0x008000)) << "inside at " << p.x << "," << p.y;
    for (const POINT p : {POINT{0, 0}, POINT{14, 0}, POINT{0, 14}, POINT{14, 14}})
        EXPECT_EQ(shot.At(p.x, p.y), GetSysColor(COLOR_BTNFACE)) << "corner " << p.x << "," << p.y;
}

TEST_F(WinTest, AnAutoSizeLabelGrowsAndShrinksWithItsText)
{
    TQorLabel *label = Elements.Make<TQorLabel>(MakeMainForm(300, 200)->Control);
    Configure(label, 10, 10, 50, 17);
    label->Caption = "0";
    label->SetAutoSize(1);
    label->Init();
    const int narrow = label->Control->Width();
    const int height = label->Control->Height();
    TData text = StrData("Данные обновлены: 12:00, и ещё немного");
    label->doText(text, 0);
    EXPECT_GT(label->Control->Width(), narrow * 5) << "grew with the text";
    text = StrData("0");
    label->doText(text, 0);
    EXPECT_EQ(label->Control->Width(), narrow) << "shrank back";
    EXPECT_EQ(label->Control->Height(), height);
}
