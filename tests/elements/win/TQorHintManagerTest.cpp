// Hints of visual elements: the program gives every element an empty hint,
// which must make no tooltip window.
#include "WinTestKit.h"
#include "elements/win/TQorHintManager.h"

using namespace wintest;

struct HintTest : ElementTest {};

TEST_F(HintTest, AnEmptyHintMakesNoTooltip)
{
    TQorMainForm *form = MakeMainForm();
    TQorLabel *label = Elements.Make<TQorLabel>(form->Control);
    Configure(label, 10, 20, 80, 17);
    label->Hint = "";
    label->Init();
    label->AttachHint(nullptr);
    EXPECT_EQ(label->HintHandle, nullptr) << "no tooltip for an empty hint";
}
