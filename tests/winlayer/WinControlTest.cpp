// Making windows for objects, and the message rules of the layer, with real windows.
#include "LayerTest.h"

using namespace winlayer;
using layertest::LayerTest;
using layertest::MadeForm;
using layertest::TAppAndForm;

namespace {

// A child control that is a superclass of the system STATIC class.
TWinControl *MadeStatic(TWinControl *parent, const std::string &caption)
{
    TWinControl *label = NewObject<TWinControl>(parent, "STATIC");
    label->StandardClass = true;
    label->ChildControl = true;
    label->ControlId = 101;
    label->Style = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
    label->Caption = caption;
    label->SetBounds(4, 4, 60, 20);
    return label;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    return std::string(name, GetClassNameA(window, name, sizeof name));
}

} // namespace

TEST_F(LayerTest, EnsureWindowRegistersTheObjClassesAndTiesEachWindowToItsObject)
{
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    TWinControl *label = MadeStatic(form, "label text");
    ASSERT_TRUE(form->EnsureWindow());
    ASSERT_NE(label->Handle, nullptr) << "ensuring the parent made the child";

    EXPECT_EQ(ClassOf(form->Handle), "obj_Form");
    EXPECT_EQ(GetPropA(form->Handle, SelfProp), static_cast<HANDLE>(form));
    EXPECT_EQ(GetPropA(label->Handle, SelfProp), static_cast<HANDLE>(label));
    EXPECT_EQ(PendingWindow, nullptr);

    EXPECT_EQ(ClassOf(label->Handle), "obj_STATIC");
    EXPECT_EQ(GetParent(label->Handle), form->Handle);
    char text[32] = {};
    GetWindowTextA(label->Handle, text, sizeof text);
    EXPECT_STREQ(text, "label text") << "the system procedure still does the work";
    WNDCLASSA system{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "STATIC", &system));
    EXPECT_EQ(label->PrevWndProc, system.lpfnWndProc);
    form->Free();
}

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

TEST_F(LayerTest, FreeingAChildLeavesTheParentWithoutItAndFreeingTheParentTakesTheRest)
{
    TWinControl *form = NewForm(nullptr, "parent");
    form->SetVisible(false);
    TWinControl *first = MadeStatic(form, "1");
    TWinControl *second = MadeStatic(form, "2");
    ASSERT_TRUE(form->EnsureWindow());
    form->FocusChild = first;
    HWND firstWindow = first->Handle, secondWindow = second->Handle, formWindow = form->Handle;

    first->Free();
    EXPECT_FALSE(IsWindow(firstWindow));
    EXPECT_EQ(form->Children, (std::vector<TWinControl *>{second}));
    EXPECT_EQ(form->FocusChild, nullptr) << "the parent forgets the freed child";
    form->Free();
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_FALSE(IsWindow(secondWindow));
    EXPECT_EQ(LiveNow(), 0);
}

TEST_F(LayerTest, ReleaseMessageFreesTheObjectAndItsWindow)
{
    TWinControl *form = MadeForm();
    HWND window = form->Handle;
    EXPECT_EQ(SendMessageA(window, WM_LAYER_RELEASE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(LiveNow(), 0);
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
