// The hint manager and the tooltips of visual elements: real
// "tooltips_class32" windows under Wine.
#include "WinTestKit.h"
#include "elements/win/TQorHintManager.h"

using namespace wintest;

struct HintTest : ElementTest {};

TEST_F(HintTest, AHintTextGetsARealTooltipOwnedByTheFormAndAnEmptyOneNone)
{
    TQorMainForm *form = MakeMainForm();
    TQorLabel *labels[2] = {};
    for (int i = 0; i < 2; ++i) {
        labels[i] = Elements.Make<TQorLabel>(form->Control);
        Configure(labels[i], 10, 20 + 20 * i, 80, 17);
        labels[i]->Hint = i ? "" : "Текущий уровень";
        labels[i]->Init();
        labels[i]->AttachHint(nullptr);
    }
    EXPECT_EQ(labels[1]->HintHandle, nullptr) << "an empty hint makes no tooltip";
    ASSERT_NE(labels[0]->HintHandle, nullptr);
    const HWND tip = reinterpret_cast<HWND>(labels[0]->HintHandle->Info.lParam);
    char name[64] = {};
    GetClassNameA(tip, name, sizeof name);
    EXPECT_STREQ(name, "tooltips_class32");
    EXPECT_EQ(GetWindow(tip, GW_OWNER), form->Control->Handle);
    TOOLINFOA tool = labels[0]->HintHandle->Info;
    char text[80] = {};
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Текущий уровень");
    Elements.FreeElements();
    EXPECT_FALSE(IsWindow(tip)) << "the tooltip goes with the element";
}

TEST(HintLogFont, TheFaceNameIsCutTo31CharactersAndTheStyleBitsGiveWeightAndFlags)
{
    TFontRec font;
    SetFontRec(std::string(40, 'F'), 8, 15, font, 204, 0);
    const LOGFONTA lf = HintLogFont(font);
    EXPECT_EQ(std::string(lf.lfFaceName), std::string(31, 'F'));
    EXPECT_EQ(std::vector<LONG>({lf.lfWeight, lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet}),
              std::vector<LONG>({700, 1, 1, 1, 204}))
        << "weight, italic, underline, strike-out, character set";
}
