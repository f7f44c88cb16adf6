// Windows made for objects and lost behind their backs, with real windows.
#include "LayerTest.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::TAppAndForm;

TEST_F(LayerTest, AShowDeferredByAskingForTheHandleHappensAtTheNextEnsureWindowUnlessHiddenMeanwhile)
{
    for (bool hideMeanwhile : {false, true}) {
        TWinControl *form = NewForm(nullptr, "deferred");
        HWND window = form->GetHandle();
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(IsWindowVisible(window)) << "asking for the handle does not show it yet";
        if (hideMeanwhile)
            form->SetVisible(false);
        ASSERT_TRUE(form->EnsureWindow());
        EXPECT_EQ(IsWindowVisible(window) != 0, !hideMeanwhile) << "hidden meanwhile: " << hideMeanwhile;
        form->SetVisible(false);
        form->Free();
    }
}

TEST_F(LayerTest, DestroyedWindowOfTheMainFormLeavesItsObjectWithoutAHandle)
{
    TAppAndForm made;
    DestroyWindow(made.Form->Handle);
    EXPECT_EQ(made.Form->Handle, nullptr) << "the object forgets the dead window";
    EXPECT_EQ(made.App->Children, (std::vector<TWinControl *>{made.Form})) << "the main form's object stays";
    made.App->Free();
    EXPECT_EQ(LiveNow(), 0);
}
