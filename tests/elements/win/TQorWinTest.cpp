// The visual element base: who frees the control.
#include "WinTestKit.h"

using namespace wintest;

struct WinTest : ElementTest {};

TEST_F(WinTest, TheElementFreesItsControlUnlessTheLayerDidFirst)
{
    TQorMainForm *form = MakeMainForm();
    const HWND led = MakeLed(form, 1)->Control->Handle;
    Elements.FreeElements(); // the LED goes, then the form
    EXPECT_FALSE(IsWindow(led));
    EXPECT_EQ(winlayer::TWinObject::LiveObjects(), LiveAtStart) << "nothing of the layer is left";

    form = MakeMainForm();
    TQorLED *orphan = MakeLed(form, 1);
    form->Control->Free(); // the layer frees the form's control with its children
    EXPECT_EQ(orphan->ControlGone, 1);
    EXPECT_EQ(form->ControlGone, 1);
    Elements.FreeElements(); // must not free them again
}
