// The hint manager: its defaults, the tooltip it makes for a control (a real
// "tooltips_class32" window under Wine) and what it asks of that tooltip.
#include "WinTestKit.h"

using namespace winlayer;
using namespace wintest;
using layertest::LayerTest;
using layertest::MadeForm;

namespace {

struct HintTest : LayerTest {
    void SetUp() override
    {
        LayerTest::SetUp();
        Form = MadeForm(nullptr, "hint owner");
    }
    void TearDown() override
    {
        Form->Free();
        LayerTest::TearDown();
    }
    TWinControl *Form = nullptr;
};

} // namespace

TEST_F(HintTest, GlobalManagerHasItsDefaultsAndInitialisedTheCommonControls)
{
    TQorHintManager &manager = HintManager();
    EXPECT_EQ(&manager, &HintManager()) << "one manager for the program";
    EXPECT_EQ(manager.Font.FontName, "Tahoma");
    EXPECT_EQ(manager.Font.FontSize, 8);
    EXPECT_EQ(manager.Font.FontStyle, 0);
    EXPECT_EQ(manager.Font.FontCharset, 1);
    EXPECT_EQ(manager.Font.FontColor, 0xFF000017u) << "system colour 23, tooltip text";
    EXPECT_EQ(manager.BackColor, 0xFF000018u) << "system colour 24, tooltip background";
    EXPECT_EQ(manager.Plain, 1);
    EXPECT_EQ(manager.InitialDelay, 500u);
    EXPECT_EQ(manager.ShowTime, 5000u);
    EXPECT_EQ(manager.Margin, 0u);
    EXPECT_EQ(manager.Track, 0);

    WNDCLASSA wc{};
    EXPECT_TRUE(GetClassInfoA(nullptr, TOOLTIPS_CLASSA, &wc)) << "the tooltip class is registered";

    // The interface routines are bound to this manager.
    const THintInterface &i = *manager.Interface;
    for (void *data : {i.CreateHint.Data, i.DestroyHint.Data, i.SetHintText.Data, i.SetHintTitle.Data,
                       i.HintEnter.Data, i.HintLeave.Data, i.HintMove.Data})
        EXPECT_EQ(data, &manager);
}

TEST_F(HintTest, CreateHintMakesARealTooltipOwnedByTheControlWindow)
{
    TQorHintManager manager;
    THintHandle hint = manager.Interface->CreateHint(Form->Handle);
    ASSERT_NE(hint, nullptr);
    HWND tip = reinterpret_cast<HWND>(hint->Info.lParam);
    ASSERT_TRUE(IsWindow(tip)) << "the tooltip window is kept in the record's lParam";

    EXPECT_EQ(ClassOf(tip), "tooltips_class32");
    EXPECT_EQ(GetWindow(tip, GW_OWNER), Form->Handle);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(tip, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON), 0x80000003u)
        << "plain tips: popup, always tip, no prefix; style " << std::hex << style;
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The tool covers the control, by its window.
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = Form->Handle;
    tool.uId = reinterpret_cast<UINT_PTR>(Form->Handle);
    char text[80] = {};
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & 0x111u, 0x111u) << "id is the window, subclass, transparent";

    manager.Interface->SetHintText(hint, "Kp: 3");
    TOOLINFOA again = tool;
    char got[80] = {};
    again.lpszText = got;
    SendMessageA(tip, TTM_GETTEXTA, sizeof got, reinterpret_cast<LPARAM>(&again));
    EXPECT_STREQ(got, "Kp: 3");

    // Its font is the manager's (a tooltip may keep a copy of the font it was given).
    HFONT font = hint->Font;
    HFONT tipFont = reinterpret_cast<HFONT>(SendMessageA(tip, WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(tipFont, sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfCharSet, 1);
    EXPECT_LT(lf.lfHeight, 0) << "a character height";

    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPBKCOLOR, 0, 0)),
              GetSysColor(COLOR_INFOBK));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tip, TTM_GETTIPTEXTCOLOR, 0, 0)),
              GetSysColor(COLOR_INFOTEXT));

    manager.Interface->DestroyHint(hint);
    EXPECT_FALSE(IsWindow(tip)) << "the tooltip window is destroyed with the hint";
    EXPECT_EQ(GetObjectType(font), 0u) << "and its font deleted";
}

TEST_F(HintTest, BalloonTipsWhenNotPlain)
{
    TQorHintManager manager;
    manager.Plain = 0;
    THintHandle hint = manager.CreateHint(Form->Handle);
    HWND tip = reinterpret_cast<HWND>(hint->Info.lParam);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(tip, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON), 0x80000043u)
        << "style " << std::hex << style;
    manager.DestroyHint(hint);
}

TEST_F(HintTest, CreateHintAsksTheTooltipInOrderWithTheToolRecord)
{
    TipRecorder recorder(false);
    TQorHintManager manager;
    manager.InitialDelay = 250;
    manager.ShowTime = 9000;
    manager.Margin = 3;
    manager.BackColor = 0x00112233;
    manager.Font.FontColor = 0x00445566;
    THintHandle hint = manager.CreateHint(Form->Handle);
    HWND tip = reinterpret_cast<HWND>(hint->Info.lParam);

    const std::vector<TipMessage> &sent = TipRecorder::Sent();
    ASSERT_EQ(sent.size(), 7u);
    for (const TipMessage &m : sent)
        EXPECT_EQ(m.Window, tip);
    EXPECT_EQ(sent[0].Message, static_cast<UINT>(WM_SETFONT));
    EXPECT_EQ(reinterpret_cast<HFONT>(sent[0].WParam), hint->Font);
    EXPECT_EQ(sent[0].LParam, TRUE) << "redraw";

    EXPECT_EQ(sent[1].Message, static_cast<UINT>(TTM_ADDTOOLA));
    EXPECT_EQ(sent[1].Tool.cbSize, TTTOOLINFOA_V2_SIZE);
    EXPECT_EQ(sent[1].Tool.uFlags, 0x111u);
    EXPECT_EQ(sent[1].Tool.hwnd, Form->Handle);
    EXPECT_EQ(sent[1].Tool.uId, reinterpret_cast<UINT_PTR>(Form->Handle));
    EXPECT_EQ(sent[1].Tool.rect.left | sent[1].Tool.rect.top | sent[1].Tool.rect.right |
                  sent[1].Tool.rect.bottom,
              0);
    EXPECT_EQ(sent[1].Tool.hinst, nullptr);
    EXPECT_EQ(sent[1].Tool.lpszText, nullptr);

    EXPECT_EQ(sent[2].Message, static_cast<UINT>(TTM_SETTIPTEXTCOLOR));
    EXPECT_EQ(sent[2].WParam, 0x00445566u);
    EXPECT_EQ(sent[3].Message, static_cast<UINT>(TTM_SETTIPBKCOLOR));
    EXPECT_EQ(sent[3].WParam, 0x00112233u);
    EXPECT_EQ(sent[4].Message, static_cast<UINT>(TTM_SETDELAYTIME));
    EXPECT_EQ(sent[4].WParam, static_cast<WPARAM>(TTDT_INITIAL));
    EXPECT_EQ(sent[4].LParam, 250);
    EXPECT_EQ(sent[5].Message, static_cast<UINT>(TTM_SETDELAYTIME));
    EXPECT_EQ(sent[5].WParam, static_cast<WPARAM>(TTDT_AUTOPOP));
    EXPECT_EQ(sent[5].LParam, 9000);
    EXPECT_EQ(sent[6].Message, static_cast<UINT>(TTM_SETMARGIN));

    TipRecorder::Sent().clear();
    manager.SetHintText(hint, "tip text");
    ASSERT_EQ(TipRecorder::Sent().size(), 1u);
    EXPECT_EQ(TipRecorder::Sent()[0].Message, static_cast<UINT>(TTM_UPDATETIPTEXTA));
    EXPECT_STREQ(TipRecorder::Sent()[0].Tool.lpszText, "tip text");

    TipRecorder::Sent().clear();
    manager.SetHintTitle(hint, 1, "title");
    ASSERT_EQ(TipRecorder::Sent().size(), 1u);
    EXPECT_EQ(TipRecorder::Sent()[0].Message, static_cast<UINT>(TTM_SETTITLEA));
    EXPECT_EQ(TipRecorder::Sent()[0].WParam, 1u);
    EXPECT_STREQ(reinterpret_cast<const char *>(TipRecorder::Sent()[0].LParam), "title");

    TipRecorder::Sent().clear();
    manager.DestroyHint(hint);
    ASSERT_EQ(TipRecorder::Sent().size(), 1u);
    EXPECT_EQ(TipRecorder::Sent()[0].Message, static_cast<UINT>(TTM_DELTOOLA));
    EXPECT_FALSE(IsWindow(tip));
}

TEST_F(HintTest, EnterLeaveAndMoveReachTheTooltipOnlyWhenTracking)
{
    struct Case {
        uint8_t Track;
        std::vector<UINT> Expected;
    };
    const Case cases[] = {
        {0, {}},
        {1, {TTM_TRACKACTIVATE, TTM_TRACKPOSITION, TTM_TRACKACTIVATE}},
    };
    for (const Case &c : cases) {
        TQorHintManager manager;
        manager.Track = c.Track;
        THintHandle hint = manager.CreateHint(Form->Handle);
        TipRecorder recorder(false);
        manager.Interface->HintEnter(hint);
        manager.Interface->HintMove(hint, 12, 34);
        manager.Interface->HintLeave(hint);
        std::vector<UINT> got;
        for (const TipMessage &m : TipRecorder::Sent())
            got.push_back(m.Message);
        EXPECT_EQ(got, c.Expected) << "Track " << int(c.Track);
        if (got.size() == 3) {
            EXPECT_EQ(TipRecorder::Sent()[0].WParam, static_cast<WPARAM>(TRUE)) << "enter activates";
            EXPECT_EQ(TipRecorder::Sent()[0].Tool.hwnd, Form->Handle);
            EXPECT_EQ(TipRecorder::Sent()[1].LParam, MAKELPARAM(12, 34)) << "x low, y high";
            EXPECT_EQ(TipRecorder::Sent()[2].WParam, static_cast<WPARAM>(FALSE)) << "leave deactivates";
        }
        TQorHintManager::SendTip = recorder.Old;
        manager.DestroyHint(hint);
    }
}

TEST(HintLogFont, FaceNameIsCutTo31CharactersAndStyleBitsSelectWeightAndFlags)
{
    struct Case {
        std::string Name;
        uint8_t Style;
        uint8_t Charset;
        std::string Face;
        LONG Weight;
        BYTE Italic, Underline, StrikeOut;
    };
    const std::string forty(40, 'F');
    const Case cases[] = {
        {"Tahoma", 0, 1, "Tahoma", 0, 0, 0, 0},
        {forty, 0, 204, std::string(31, 'F'), 0, 0, 0, 0},
        {std::string(31, 'x'), 1, 1, std::string(31, 'x'), 700, 0, 0, 0},
        {"Verdana", 2, 1, "Verdana", 0, 1, 0, 0},
        {"Verdana", 4, 1, "Verdana", 0, 0, 1, 0},
        {"Verdana", 8, 1, "Verdana", 0, 0, 0, 1},
        {"Verdana", 15, 1, "Verdana", 700, 1, 1, 1},
    };
    for (const Case &c : cases) {
        TFontRec font;
        SetFontRec(c.Name, 8, c.Style, font, c.Charset, 0);
        const LOGFONTA lf = HintLogFont(font);
        EXPECT_EQ(std::string(lf.lfFaceName), c.Face) << c.Name;
        EXPECT_EQ(lf.lfFaceName[31], 0) << "the face name ends with a zero";
        EXPECT_EQ(lf.lfWeight, c.Weight) << "style " << int(c.Style);
        EXPECT_EQ(lf.lfItalic, c.Italic) << "style " << int(c.Style);
        EXPECT_EQ(lf.lfUnderline, c.Underline) << "style " << int(c.Style);
        EXPECT_EQ(lf.lfStrikeOut, c.StrikeOut) << "style " << int(c.Style);
        EXPECT_EQ(lf.lfCharSet, c.Charset);
        EXPECT_EQ(lf.lfWidth | lf.lfEscapement | lf.lfOrientation, 0) << "all else zero";
    }
}

TEST(HintLogFont, HeightIsThePointSizeAtTheScreenResolution)
{
    HDC screen = GetDC(nullptr);
    const int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int points : {8, 16, 20}) {
        TFontRec font;
        SetFontRec("Verdana", static_cast<uint8_t>(points), 0, font, 1, 0);
        EXPECT_EQ(HintLogFont(font).lfHeight, -((points * ppi + 36) / 72))
            << points << " points at " << ppi << " pixels per inch";
    }
}
