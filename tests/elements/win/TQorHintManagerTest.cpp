// The hint manager and the tooltips of visual elements: real
// "tooltips_class32" windows under Wine, and what is asked of them.
#include "WinTestKit.h"

using namespace wintest;

namespace {

struct HintTest : ElementTest {
    TQorLabel *MakeLabel(TQorMainForm *Form, const std::string &Hint)
    {
        TQorLabel *label = Elements.Make<TQorLabel>(Form->Control);
        Configure(label, 10, 20, 80, 17);
        label->Hint = Hint;
        label->Init();
        return label;
    }
};

} // namespace

TEST_F(HintTest, AHintTextGetsARealTooltipOwnedByTheForm)
{
    TQorMainForm *form = MakeMainForm();
    TQorLabel *label = MakeLabel(form, "Текущий уровень");
    label->AttachHint(nullptr);
    ASSERT_NE(label->HintHandle, nullptr);
    const HWND tip = reinterpret_cast<HWND>(label->HintHandle->Info.lParam);
    char name[64] = {};
    GetClassNameA(tip, name, sizeof name);
    EXPECT_STREQ(name, "tooltips_class32");
    EXPECT_EQ(GetWindow(tip, GW_OWNER), form->Control->Handle);
    TOOLINFOA tool = label->HintHandle->Info;
    char text[80] = {};
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Текущий уровень");
    Elements.FreeElements();
    EXPECT_FALSE(IsWindow(tip)) << "the tooltip goes with the element";
}

TEST_F(HintTest, AnEmptyHintNeverMakesATooltip)
{
    TQorLabel *label = MakeLabel(MakeMainForm(), "");
    TipRecorder recorder;
    label->AttachHint(nullptr);
    EXPECT_EQ(label->HintHandle, nullptr);
    EXPECT_TRUE(TipRecorder::Sent().empty());
}

TEST_F(HintTest, EnterMoveAndLeaveReachTheTooltipOnlyWhenTracking)
{
    const HWND window = MakeMainForm()->Control->Handle;
    for (uint8_t track : {0, 1}) {
        TQorHintManager manager;
        manager.Track = track;
        THintHandle hint = manager.CreateHint(window);
        TipRecorder recorder;
        manager.Interface->HintEnter(hint);
        manager.Interface->HintMove(hint, 12, 34);
        manager.Interface->HintLeave(hint);
        const std::vector<UINT> tracking = {TTM_TRACKACTIVATE, TTM_TRACKPOSITION, TTM_TRACKACTIVATE};
        EXPECT_EQ(TipRecorder::Sent(), track ? tracking : std::vector<UINT>{}) << "Track " << int(track);
        manager.DestroyHint(hint);
    }
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
    SetFontRec("Tahoma", 8, 0, font, 1, 0);
    EXPECT_EQ(HintLogFont(font).lfWeight, 0) << "no bold bit, no weight";
}
