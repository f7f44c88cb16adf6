// Labels on a real form: texts read back from the window, fitting to the text,
// alignment styles, clicks and hover.
#include "WinTestKit.h"

using namespace winlayer;
using namespace wintest;

namespace {

struct LabelTest : ElementTest {
    TQorMainForm *Form = nullptr;

    void SetUp() override
    {
        ElementTest::SetUp();
        Form = MakeMainForm(300, 200);
    }

    TQorLabel *MakeLabel(uint8_t AutoSize, int Width = 50, int Alignment = 0)
    {
        TQorLabel *label = Elements.Make<TQorLabel>(Form->Control);
        Configure(label, 10, 10, Width, 17);
        label->Caption = "0";
        label->SetAutoSize(AutoSize);
        if (Alignment >= 0)
            label->SetAlignment(static_cast<uint8_t>(Alignment));
        label->HoverColor = 0;
        label->HoverUnderline = 0;
        label->Init();
        return label;
    }

    static void Text(TQorLabel *Label, const std::string &Value)
    {
        TData data;
        data.dtString(Value);
        Label->doText(data, 0);
    }
};

} // namespace

TEST_F(LabelTest, InitShowsTheCaption)
{
    TQorLabel *label = MakeLabel(0);
    EXPECT_EQ(TextOf(label->Control->Handle), "0");
    EXPECT_EQ(ClassOf(label->Control->Handle), "obj_STATIC");
}

TEST_F(LabelTest, CyrillicTextReadsBackByteForByte)
{
    TQorLabel *label = MakeLabel(0, 250);
    const std::string text = "Текущий уровень индекса (Kp):";
    ASSERT_EQ(static_cast<unsigned char>(text[0]), 0xD2u) << "the test text is in code page 1251";
    Text(label, text);
    EXPECT_EQ(TextOf(label->Control->Handle), text);
    Text(label, "Данные обновлены: 12:00");
    EXPECT_EQ(TextOf(label->Control->Handle), "Данные обновлены: 12:00");
}

TEST_F(LabelTest, TextComesFromTheWiredPointElseTheIncomingValue)
{
    TQorLabel *label = MakeLabel(0, 200);
    Running running;
    struct Case {
        bool Wired;
        TData Incoming;
        std::string Expected;
    };
    TData wired, number, none;
    wired.dtString("wired");
    number.dtInteger(7);
    const Case cases[] = {{false, number, "7"}, {false, none, ""}};
    for (const Case &c : cases) {
        TData data = c.Incoming;
        TPointLink link;
        LinkEvent(link, label, &TQorLabel::doText, 0);
        CallEvent(link, data);
        EXPECT_EQ(TextOf(label->Control->Handle), c.Expected);
    }
    SourceFor(label->Text, wired);
    TData incoming = number;
    label->doText(incoming, 0);
    EXPECT_EQ(TextOf(label->Control->Handle), "wired") << "a wired Text beats the incoming value";
}

TEST_F(LabelTest, AutoSizeGrowsAndShrinksWithTheText)
{
    TQorLabel *label = MakeLabel(1);
    Text(label, "0");
    const int narrow = label->Control->Width();
    const int height = label->Control->Height();
    Text(label, "Данные обновлены: 12:00, и ещё немного");
    const int wide = label->Control->Width();
    EXPECT_GT(wide, narrow * 5) << "grew with the text";
    Text(label, "0");
    EXPECT_EQ(label->Control->Width(), narrow) << "shrank back";
    EXPECT_EQ(label->Control->Height(), height);

    RECT client{};
    GetClientRect(label->Control->Handle, &client);
    HDC dc = GetDC(label->Control->Handle);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label->Control->Handle, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, "0", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(label->Control->Handle, dc);
    EXPECT_EQ(narrow, size.cx + 1) << "the text width plus 1";
}

TEST_F(LabelTest, WithoutAutoSizeTheTextIsClippedToTheBounds)
{
    TQorLabel *label = MakeLabel(0, 50);
    Text(label, "Данные обновлены: 12:00, и ещё немного");
    EXPECT_EQ(label->Control->Width(), 50);
    EXPECT_EQ(label->Control->Height(), 17);
    EXPECT_EQ(TextOf(label->Control->Handle), "Данные обновлены: 12:00, и ещё немного")
        << "the whole text is kept, only the view is clipped";

    label->SetAutoSize(1);
    EXPECT_GT(label->Control->Width(), 50) << "switching it on fits at once";
    label->SetAutoSize(0);
    const int fitted = label->Control->Width();
    Text(label, "0");
    EXPECT_EQ(label->Control->Width(), fitted) << "switched off, the size stays";
}

TEST_F(LabelTest, AlignmentSetsTheStaticAlignmentAndClearsTheNoWrapBits)
{
    struct Case {
        uint8_t Alignment;
        DWORD Style; // the low four style bits
    };
    const Case cases[] = {{0, SS_LEFT}, {1, SS_RIGHT}, {2, SS_CENTER}, {6, SS_CENTER}, {5, SS_RIGHT}};
    for (const Case &c : cases) {
        TQorLabel *label = MakeLabel(0, 50, -1);
        const DWORD before = static_cast<DWORD>(GetWindowLongA(label->Control->Handle, GWL_STYLE));
        ASSERT_EQ(before & 0xC, 0xCu) << "labels start without word wrap";
        label->SetAlignment(c.Alignment);
        const DWORD after = static_cast<DWORD>(GetWindowLongA(label->Control->Handle, GWL_STYLE));
        EXPECT_EQ(after & 0xF, c.Style) << "alignment " << int(c.Alignment);
        EXPECT_EQ(after & ~DWORD{0xF}, before & ~DWORD{0xF}) << "the other bits stay";
    }
}

TEST_F(LabelTest, AClickOnTheLabelRaisesOnClick)
{
    TQorLabel *label = MakeLabel(0);
    SinkFor(label->onClick, "click");
    Running running;
    SendMessageA(Form->Control->Handle, WM_COMMAND, MAKEWPARAM(label->Control->ControlId, STN_CLICKED),
                 reinterpret_cast<LPARAM>(label->Control->Handle));
    EXPECT_EQ(Log, std::vector<std::string>{"click: null"});
}

TEST_F(LabelTest, HoverChangesTheFontWhileTheMouseIsOver)
{
    TQorLabel *label = Elements.Make<TQorLabel>(Form->Control);
    Configure(label, 10, 10, 80, 17);
    label->Font.FontColor = 0x000080;
    label->HoverColor = 0x00FF00;
    label->HoverUnderline = 1;
    label->Init();
    SinkFor(label->onMouseEnter, "enter");
    SinkFor(label->onMouseLeave, "leave");
    Running running;

    SendMessageA(label->Control->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(label->Control->Font()->Color(), 0x00FF00u);
    EXPECT_TRUE(label->Control->Font()->FontStyle() & fsUnderline);
    SendMessageA(label->Control->Handle, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(label->Control->Font()->Color(), 0x000080u);
    EXPECT_FALSE(label->Control->Font()->FontStyle() & fsUnderline);
    EXPECT_EQ(Log, (std::vector<std::string>{"enter: null", "leave: null"}));

    TQorLabel *plain = MakeLabel(0);
    SinkFor(plain->onMouseEnter, "plain enter");
    Log.clear();
    SendMessageA(plain->Control->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(Log.empty()) << "no hover, no enter notifications";
}
