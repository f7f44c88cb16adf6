// Windows made for objects and lost behind their backs, with real windows.
#include "LayerTest.h"

using namespace winlayer;
using layertest::LayerTest;

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
    TWinControl *app = NewAppWindow("test app");
    app->SetVisible(false);
    TWinControl *form = NewForm(app, "test main form");
    form->SetVisible(false);
    app->EnsureWindow();
    DestroyWindow(form->Handle);
    EXPECT_EQ(form->Handle, nullptr) << "the object forgets the dead window";
    EXPECT_EQ(app->Children, (std::vector<TWinControl *>{form})) << "the main form's object stays";
    app->Free();
    EXPECT_EQ(LiveNow(), 0);
}
