// The visual element base on real controls: what Init makes of the
// properties, the control's notifications as events, the size-change points and
// the tooltip attachment. A label stands in for any visual element.
#include "WinTestKit.h"

using namespace winlayer;
using namespace wintest;

namespace {

struct WinTest : ElementTest {
    TQorMainForm *Form = nullptr;
    TQorLabel *Label = nullptr;

    void SetUp() override
    {
        ElementTest::SetUp();
        Form = MakeMainForm();
        Label = MakeLabel();
    }

    TQorLabel *MakeLabel(const std::string &Hint = "")
    {
        TQorLabel *label = Elements.Make<TQorLabel>(Form->Control);
        Configure(label, 10, 20, 80, 17);
        label->Hint = Hint;
        label->Caption = "label";
        label->Init();
        return label;
    }

    HWND Window() const { return Label->Control->Handle; }
};

// A hint interface that writes down what it was asked.
struct HintLog {
    std::vector<std::string> Calls;
    THintRecord Record{};
    THintInterface Interface{};

    HintLog()
    {
        Interface.CreateHint = {[](void *s, HWND) -> THintHandle {
                                    auto *self = static_cast<HintLog *>(s);
                                    self->Calls.push_back("create");
                                    return &self->Record;
                                },
                                this};
        Interface.DestroyHint = {[](void *s, THintHandle) { static_cast<HintLog *>(s)->Calls.push_back("destroy"); },
                                 this};
        Interface.SetHintText = {[](void *s, THintHandle, const std::string &t) {
                                     static_cast<HintLog *>(s)->Calls.push_back("text " + t);
                                 },
                                 this};
        Interface.SetHintTitle = {[](void *s, THintHandle, int, const std::string &) {
                                      static_cast<HintLog *>(s)->Calls.push_back("title");
                                  },
                                  this};
        Interface.HintEnter = {[](void *s, THintHandle) { static_cast<HintLog *>(s)->Calls.push_back("enter"); },
                               this};
        Interface.HintLeave = {[](void *s, THintHandle) { static_cast<HintLog *>(s)->Calls.push_back("leave"); },
                               this};
        Interface.HintMove = {[](void *s, THintHandle, int x, int y) {
                                  static_cast<HintLog *>(s)->Calls.push_back("move " + std::to_string(x) + "," +
                                                                             std::to_string(y));
                              },
                              this};
    }
};

} // namespace

TEST_F(WinTest, InitGivesTheControlItsBoundsFontAndWindow)
{
    ASSERT_NE(Window(), nullptr) << "Init made the window";
    EXPECT_EQ(GetParent(Window()), Form->Control->Handle);
    RECT r{};
    GetWindowRect(Window(), &r);
    MapWindowPoints(HWND_DESKTOP, Form->Control->Handle, reinterpret_cast<POINT *>(&r), 2);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 80);
    EXPECT_EQ(r.bottom - r.top, 17);

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Window(), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf)) << "the window has the element's font";
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(lf.lfHeight, PointsToHeight(8));
    EXPECT_EQ(lf.lfCharSet, 1);

    EXPECT_EQ(Label->GetControl()->Data, Label) << "the control provider is bound to the element";
    EXPECT_EQ((*Label->GetControl())(), Label->Control);
    EXPECT_FALSE(GetWindowLongA(Window(), GWL_STYLE) & WS_TABSTOP) << "TabOrder 0: no tab stop";
}

TEST_F(WinTest, Ctl3DAndEdgeStyleGiveTheLookOfTheControl)
{
    struct Case {
        uint8_t Ctl3D;
        uint8_t EdgeStyle;
        DWORD ExStyle; // the extended edge bits expected
        bool Border;
    };
    const Case cases[] = {
        {0, 0, WS_EX_CLIENTEDGE, false}, {1, 0, 0, false}, {2, 0, 0, false},
        {0, 2, WS_EX_STATICEDGE, false}, {0, 3, WS_EX_DLGMODALFRAME, false},
        {0, 4, WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE, false}, {0, 1, 0, false},
        {1, 2, 0, false}, // the edge style counts only with the sunken look
    };
    const DWORD edges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME;
    for (const Case &c : cases) {
        TQorLabel *label = Elements.Make<TQorLabel>(Form->Control);
        Configure(label, 0, 0, 30, 10, c.Ctl3D);
        label->EdgeStyle = c.EdgeStyle;
        label->Init();
        const DWORD ex = static_cast<DWORD>(GetWindowLongA(label->Control->Handle, GWL_EXSTYLE));
        EXPECT_EQ(ex & edges, c.ExStyle) << "Ctl3D " << int(c.Ctl3D) << " EdgeStyle " << int(c.EdgeStyle);
        EXPECT_EQ((GetWindowLongA(label->Control->Handle, GWL_STYLE) & WS_BORDER) != 0, c.Border)
            << "Ctl3D " << int(c.Ctl3D);
    }
}

TEST_F(WinTest, WheelReportsTheSignedDeltaOverOneNotchTruncated)
{
    SinkFor(Label->onMouseWheel, "wheel");
    Running running;
    struct Case {
        int Delta;
        WPARAM Keys;
        std::string Expected;
    };
    const Case cases[] = {
        {-120, MK_CONTROL, "wheel: int -119"}, {-120, 0, "wheel: int -120"}, {120, 0, "wheel: int 120"},
        {240, MK_SHIFT, "wheel: int 240"},
    };
    for (const Case &c : cases) {
        Log.clear();
        SendMessageA(Window(), WM_MOUSEWHEEL, MAKEWPARAM(c.Keys, static_cast<WORD>(c.Delta)), 0);
        EXPECT_EQ(Log, std::vector<std::string>{c.Expected}) << "delta " << c.Delta << " keys " << c.Keys;
    }
}

TEST_F(WinTest, MoveReportsTheButtonOfTheMouseNotificationBeforeIt)
{
    SinkFor(Label->onMouseMove, "move");
    SinkFor(Label->onMouseDown, "down");
    SinkFor(Label->onMouseUp, "up");
    Running running;
    struct Step {
        UINT Message;
        WPARAM Keys;
        std::string Expected;
    };
    const Step steps[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, "down: int 0"},
        {WM_MOUSEMOVE, MK_LBUTTON, "move: int 0"}, // after the press
        {WM_LBUTTONUP, 0, "up: int 0"},
        {WM_MOUSEMOVE, 0, "move: int -1"}, // after the release
        {WM_RBUTTONDOWN, MK_RBUTTON, "down: int 1"},
        {WM_MOUSEMOVE, MK_RBUTTON | MK_LBUTTON, "move: int 1"},
        {WM_MOUSEMOVE, MK_RBUTTON, "move: int -1"}, // two buttons were held before
        {WM_MOUSEMOVE, MK_MBUTTON, "move: int 1"},
        {WM_MOUSEMOVE, MK_MBUTTON | 0x20, "move: int 2"},
        {WM_MOUSEMOVE, 0, "move: int -1"}, // the one before had the Alt bit with it
        {WM_MBUTTONUP, 0, "up: int 2"},
    };
    for (const Step &s : steps) {
        Log.clear();
        SendMessageA(Window(), s.Message, s.Keys, MAKELPARAM(5, 6));
        EXPECT_EQ(Log, std::vector<std::string>{s.Expected}) << "message 0x" << std::hex << s.Message;
    }
    EXPECT_EQ(Label->LastMouse.X, 5);
    EXPECT_EQ(Label->LastMouse.Y, 6);
}

TEST_F(WinTest, MouseCaptureHoldsTheMouseFromPressToRelease)
{
    Label->MouseCapture = 1;
    SendMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(GetCapture(), Window());
    SendMessageA(Window(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);

    Label->MouseCapture = 0;
    SendMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(GetCapture(), nullptr) << "without MouseCapture nothing captures";
    SendMessageA(Window(), WM_LBUTTONUP, 0, 0);
}

TEST_F(WinTest, SizeDeltaPointsMayRefuseOrCorrectASizeChange)
{
    struct Case {
        bool Wired;
        TData Answer;
        int ExpectedHeight;
    };
    TData text, zero, five;
    text.dtString("12");
    zero.dtInteger(0);
    five.dtInteger(5);
    const Case cases[] = {
        {false, TData(), 40}, // unwired: as proposed
        {true, text, 40},     // not an integer: as proposed
        {true, zero, 17},     // 0: the height stays
        {true, five, 22},     // the answer is added to the current height
    };
    Running running;
    for (const Case &c : cases) {
        TQorLabel *label = MakeLabel();
        if (c.Wired)
            SourceFor(label->HeightDelta, c.Answer);
        SetWindowPos(label->Control->Handle, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER);
        RECT r{};
        GetWindowRect(label->Control->Handle, &r);
        EXPECT_EQ(r.bottom - r.top, c.ExpectedHeight) << "wired " << c.Wired << " answer kind "
                                                      << int(c.Answer.DataType);
        EXPECT_EQ(r.right - r.left, 80) << "the width was not changed";
    }

    TQorLabel *label = MakeLabel();
    Source *width = SourceFor(label->WidthDelta, zero);
    Source *height = SourceFor(label->HeightDelta, zero);
    SetWindowPos(label->Control->Handle, nullptr, 0, 0, 80, 17, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(width->Reads + height->Reads, 0) << "an unchanged size asks nobody";
    SetWindowPos(label->Control->Handle, nullptr, 0, 0, 120, 17, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(width->Reads, 1);
    EXPECT_EQ(height->Reads, 0);
    EXPECT_EQ(label->Control->Width(), 80) << "the width delta answered 0";
}

TEST_F(WinTest, WindowNotificationsBecomeEvents)
{
    SinkFor(Label->onMove, "move");
    SinkFor(Label->onResize, "resize");
    SinkFor(Label->onSetFocus, "setfocus");
    SinkFor(Label->onKillFocus, "killfocus");
    SinkFor(Label->onDblClick, "dblclick");
    SinkFor(Label->onHide, "hide");
    SinkFor(Label->onShow, "show");
    Running running;

    struct Case {
        UINT Message;
        WPARAM WParam;
        std::vector<std::string> Expected;
    };
    const Case cases[] = {
        {WM_MOVE, 0, {"move: null"}},
        {WM_SIZE, 0, {"resize: null"}},
        {WM_SETFOCUS, 0, {"setfocus: null"}},
        {WM_KILLFOCUS, 0, {"killfocus: null"}},
        {WM_RBUTTONDBLCLK, MK_RBUTTON, {"dblclick: int 1"}},
        // On its hidden form the label is not visible: showing it is news, hiding is not.
        {WM_SHOWWINDOW, TRUE, {"show: null"}},
        {WM_SHOWWINDOW, FALSE, {}},
    };
    for (const Case &c : cases) {
        Log.clear();
        SendMessageA(Window(), c.Message, c.WParam, 0);
        EXPECT_EQ(Log, c.Expected) << "message 0x" << std::hex << c.Message;
    }
}

TEST_F(WinTest, KeysReachTheFormFirstWithKeyPreview)
{
    SinkFor(Form->onKeyDown, "form down");
    SinkFor(Label->onKeyDown, "label down");
    SinkFor(Label->onKeyUp, "label up");
    SinkFor(Label->onKeyPress, "label press");
    Running running;
    SendMessageA(Window(), WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"form down: int 65", "label down: int 65"}));

    Log.clear();
    Label->KeyPreview = 0;
    SendMessageA(Window(), WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(Log, std::vector<std::string>{"label down: int 65"}) << "without preview the form is not asked";

    Log.clear();
    SendMessageA(Window(), WM_CHAR, static_cast<BYTE>('ж'), 0);
    SendMessageA(Window(), WM_KEYUP, 'Z', 0);
    EXPECT_EQ(Log, (std::vector<std::string>{"label press: str ж", "label up: int 90"}));
}

TEST_F(WinTest, AKeySwallowedOnTheWayDownSwallowsItsCharacter)
{
    // The form's preview swallows the key: the label sees neither it nor its character.
    Form->Control->OnKeyDown = TKeyEvent{[](void *, TWinControl *, int &key) { key = 0; }, nullptr};
    SinkFor(Label->onKeyDown, "label down");
    SinkFor(Label->onKeyPress, "label press");
    Running running;
    SendMessageA(Window(), WM_KEYDOWN, 'Q', 0);
    EXPECT_TRUE(Log.empty());

    // A key-down the element's own slot ends as 0 keeps its character out too.
    Form->Control->OnKeyDown = {};
    struct Swallowing : TQorLabel {
        using TQorLabel::TQorLabel;
        void KeyDown(int &Key) override { Key = 0; }
    };
    auto *swallowing = Elements.Make<Swallowing>(Form->Control);
    Configure(swallowing, 0, 0, 10, 10);
    swallowing->Init();
    SinkFor(swallowing->onKeyPress, "swallowing press");
    SendMessageA(swallowing->Control->Handle, WM_KEYDOWN, 'Q', 0);
    EXPECT_EQ(swallowing->KeyReplacement, 0);
    int ch = 'q';
    swallowing->Control->OnChar(swallowing->Control, ch);
    EXPECT_EQ(ch, 0) << "the character is swallowed";
    EXPECT_TRUE(Log.empty());
    SendMessageA(swallowing->Control->Handle, WM_KEYUP, 'Q', 0);
    EXPECT_EQ(swallowing->KeyReplacement, -1) << "the next key starts afresh";
}

TEST_F(WinTest, NoHintNoInterfaceMeansNoTooltipAndNoEnterOrLeave)
{
    SinkFor(Label->onMouseEnter, "enter");
    SinkFor(Label->onMouseLeave, "leave");
    TipRecorder recorder(false);
    Running running;
    Label->AttachHint(nullptr);
    Label->AttachLayout(nullptr);
    EXPECT_EQ(Label->HintHandle, nullptr);
    EXPECT_EQ(Label->HintInterface, nullptr);
    EXPECT_TRUE(TipRecorder::Sent().empty()) << "CreateHint was never called";

    SendMessageA(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageA(Window(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(Log.empty()) << "no enter or leave without a hint interface";
}

TEST_F(WinTest, AHintTextGetsARealTooltipFromTheGlobalManager)
{
    TQorLabel *hinted = MakeLabel("Текущий уровень");
    SinkFor(hinted->onMouseEnter, "enter");
    Running running;
    hinted->AttachHint(nullptr);
    ASSERT_NE(hinted->HintHandle, nullptr);
    EXPECT_EQ(hinted->HintInterface, HintManager().Interface);
    HWND tip = reinterpret_cast<HWND>(hinted->HintHandle->Info.lParam);
    EXPECT_EQ(ClassOf(tip), "tooltips_class32");
    EXPECT_EQ(GetWindow(tip, GW_OWNER), Form->Control->Handle) << "a popup is owned by the control's form";

    TOOLINFOA tool{};
    tool.cbSize = hinted->HintHandle->Info.cbSize;
    tool.hwnd = hinted->Control->Handle;
    tool.uId = reinterpret_cast<UINT_PTR>(hinted->Control->Handle);
    char text[80] = {};
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Текущий уровень");

    SendMessageA(hinted->Control->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(Log.empty()) << "the global manager's tips need no enter and leave";
}

TEST_F(WinTest, AGivenHintInterfaceIsToldOfEnterMoveAndLeave)
{
    HintLog hints;
    TQorLabel *hinted = MakeLabel("tip");
    SinkFor(hinted->onMouseEnter, "enter");
    SinkFor(hinted->onMouseLeave, "leave");
    SinkFor(hinted->onMouseMove, "move");
    Running running;
    hinted->AttachHint(&hints.Interface);
    EXPECT_EQ(hints.Calls, (std::vector<std::string>{"create", "text tip"}));

    hints.Calls.clear();
    SendMessageA(hinted->Control->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    SendMessageA(hinted->Control->Handle, WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
    SendMessageA(hinted->Control->Handle, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(hints.Calls, (std::vector<std::string>{"enter", "move 0,0", "move 3,4", "leave"}))
        << "a move reports the position stored before it";
    EXPECT_EQ(Log, (std::vector<std::string>{"enter: null", "move: int -1", "move: int -1", "leave: null"}));

    hints.Calls.clear();
    Elements.FreeElements();
    EXPECT_EQ(hints.Calls, std::vector<std::string>{"destroy"}) << "the element destroys its tooltip";
}

TEST_F(WinTest, TheElementFreesItsControlUnlessTheLayerDidFirst)
{
    const int32_t live = TWinObject::LiveObjects();
    TQorLabel *own = MakeLabel();
    HWND window = own->Control->Handle;
    EXPECT_GT(TWinObject::LiveObjects(), live);
    Elements.FreeElements(); // the label goes, then the form
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(TWinObject::LiveObjects(), LiveAtStart) << "nothing of the layer is left";

    Form = MakeMainForm();
    TQorLabel *orphan = MakeLabel();
    Form->Control->Free(); // the layer frees the form's control with its children
    EXPECT_EQ(orphan->ControlGone, 1);
    EXPECT_EQ(Form->ControlGone, 1);
    Elements.FreeElements(); // must not free them again
}
