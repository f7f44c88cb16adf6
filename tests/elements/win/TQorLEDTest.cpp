// The LED on a real form: the pixels it paints, its state changes, and the
// glint geometry of the framed lamp.
#include "WinTestKit.h"

using namespace winlayer;
using namespace wintest;

namespace {

constexpr COLORREF Green = 0x008000;
constexpr COLORREF Red = 0x0000FF;

struct LedTest : ElementTest {
    TQorMainForm *Form = nullptr;

    void SetUp() override
    {
        ElementTest::SetUp();
        Form = MakeMainForm(120, 80);
    }

    TQorLED *MakeLed(uint8_t On, uint8_t Shape = 0, uint8_t Frame = 0, int Size = 15)
    {
        TQorLED *led = Elements.Make<TQorLED>(Form->Control);
        Configure(led, 20, 20, Size, Size);
        led->ColorOn = 0x008000;
        led->ColorOff = 0x0000FF;
        led->ColorLight = 0xFFFFFF;
        led->On = On;
        led->Shape = Shape;
        led->Frame = Frame;
        led->Init();
        return led;
    }

    // What the LED paints, printed into a bitmap of its size.
    static Snapshot Printed(TQorLED *Led)
    {
        HWND window = Led->Control->Handle;
        RECT client{};
        GetClientRect(window, &client);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        SelectObject(memory, old);
        Snapshot shot = Pixels(memory, bitmap, client.right, client.bottom);
        DeleteObject(bitmap);
        DeleteDC(memory);
        return shot;
    }
};

} // namespace

TEST(LedRoundGlints, A15PixelLampHasTheGlintsOfItsSize)
{
    struct Case {
        RECT Client;
        TLedRoundGlints Expected;
    };
    const Case cases[] = {
        {{0, 0, 15, 15}, {1, 1, 3, 3, 12, 12, 5, 5, 2, 2}},
        {{0, 0, 40, 24}, {5, 3, 8, 4, 32, 20, 12, 8, 6, 4}},
        {{0, 0, 7, 7}, {0, 0, 1, 1, 6, 6, 3, 3, 1, 1}},
    };
    for (const Case &c : cases) {
        const TLedRoundGlints g = LedRoundGlints(c.Client);
        const TLedRoundGlints &e = c.Expected;
        const std::vector<int> got{g.Dx, g.Dy, g.L, g.T, g.R, g.B, g.W1, g.H1, g.W2, g.H2};
        const std::vector<int> want{e.Dx, e.Dy, e.L, e.T, e.R, e.B, e.W1, e.H1, e.W2, e.H2};
        EXPECT_EQ(got, want) << "client " << c.Client.right << " x " << c.Client.bottom;
    }
}

TEST(LedSquareGlints, TheSquareGlintRectangleIsShrunkByATwelfthAndAnEighth)
{
    const RECT g = LedSquareGlints(RECT{0, 0, 24, 16});
    EXPECT_EQ(g.left, 2);
    EXPECT_EQ(g.right, 22);
    EXPECT_EQ(g.top, 2);
    EXPECT_EQ(g.bottom, 14);
}

TEST_F(LedTest, AnUnframedRoundLampIsAFilledEllipseOnTheBackground)
{
    TQorLED *led = MakeLed(1);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Case {
        uint8_t On;
        COLORREF Centre;
    };
    for (const Case c : {Case{1, Green}, Case{0, Red}}) {
        TData none;
        if (c.On)
            led->doOn(none, 0);
        else
            led->doOff(none, 0);
        const Snapshot shot = Printed(led);
        ASSERT_EQ(shot.Width, 15);
        ASSERT_EQ(shot.Height, 15);
        EXPECT_EQ(shot.At(7, 7), c.Centre) << "centre, On " << int(c.On);
        EXPECT_EQ(shot.At(7, 1), c.Centre) << "inside near the top";
        EXPECT_EQ(shot.At(1, 7), c.Centre) << "inside near the left";
        for (const POINT p : {POINT{0, 0}, POINT{14, 0}, POINT{0, 14}, POINT{14, 14}})
            EXPECT_EQ(shot.At(p.x, p.y), face) << "corner " << p.x << "," << p.y << " On " << int(c.On);
    }
}

TEST_F(LedTest, TheShownLampIsOnTheScreenAndRepaintsWhenSwitched)
{
    TQorLED *led = MakeLed(1);
    ShowAndPaint(Form);
    Snapshot shot = ScreenPixels(led->Control->Handle);
    EXPECT_EQ(shot.At(7, 7), Green);
    EXPECT_EQ(shot.At(0, 0), GetSysColor(COLOR_BTNFACE));

    TData none;
    led->doOff(none, 1);
    UpdateWindow(led->Control->Handle);
    shot = ScreenPixels(led->Control->Handle);
    EXPECT_EQ(shot.At(7, 7), Red) << "the off colour after the repaint";
}

TEST_F(LedTest, SquareShapesFillTheWholeRectangle)
{
    for (uint8_t shape : {1, 2}) {
        TQorLED *led = MakeLed(1, shape);
        const Snapshot shot = Printed(led);
        EXPECT_EQ(shot.At(0, 0), Green) << "shape " << int(shape);
        EXPECT_EQ(shot.At(14, 14), Green) << "shape " << int(shape);
    }
}

TEST_F(LedTest, AFramedRoundLampHasAGreyUpperLeftAndAWhiteLowerRightRim)
{
    TQorLED *led = MakeLed(0, 0, 1);
    const Snapshot shot = Printed(led);
    EXPECT_EQ(shot.At(0, 7), RGB(0x80, 0x80, 0x80)) << "left edge: the grey arc";
    EXPECT_EQ(shot.At(7, 0), RGB(0x80, 0x80, 0x80)) << "top edge: the grey arc";
    EXPECT_EQ(shot.At(14, 8), RGB(0xFF, 0xFF, 0xFF)) << "right edge: the white arc";
    EXPECT_EQ(shot.At(8, 14), RGB(0xFF, 0xFF, 0xFF)) << "bottom edge: the white arc";
    EXPECT_EQ(shot.At(9, 9), Red) << "the fill between the rim and the glints";
}

TEST_F(LedTest, SwitchingOnTwiceRaisesOneChangeAndOneRepaint)
{
    TQorLED *led = MakeLed(0);
    SinkFor(led->onChange, "change");
    static int invalidations;
    invalidations = 0;
    InvalidateHook = TControlHook{[](void *data, TWinControl *control) {
                                      if (control == static_cast<TQorLED *>(data)->Control)
                                          ++invalidations;
                                  },
                                  led};
    Running running;
    TPointLink on;
    LinkEvent(on, led, &TQorLED::doOn, 2);
    TPointLink off;
    LinkEvent(off, led, &TQorLED::doOff, 1);

    CallEventNull(on);
    CallEventNull(on);
    EXPECT_EQ(Log, std::vector<std::string>{"change: int 1"});
    EXPECT_EQ(invalidations, 1);

    CallEventNull(off);
    CallEventNull(off);
    EXPECT_EQ(Log, (std::vector<std::string>{"change: int 1", "change: int 0"}));
    EXPECT_EQ(invalidations, 2);
    InvalidateHook = {};
}

TEST_F(LedTest, StateAnswersTheCurrentState)
{
    TQorLED *led = MakeLed(1);
    Running running;
    TPointLink state;
    LinkData(state, led, &TQorLED::State, 0);
    EXPECT_EQ(ReadIntegerLink(state), 1);
    TData none;
    led->doOff(none, 0);
    TData answer;
    ReadRaw(answer, state);
    EXPECT_EQ(answer.DataType, dtInteger);
    EXPECT_EQ(answer.IntValue, 0);
}

TEST_F(LedTest, AClickRaisesOnClickAndAResizeRepaints)
{
    TQorLED *led = MakeLed(1);
    SinkFor(led->onClick, "click");
    SinkFor(led->onResize, "resize");
    static int invalidations;
    invalidations = 0;
    InvalidateHook = TControlHook{[](void *data, TWinControl *control) {
                                      if (control == static_cast<TQorLED *>(data)->Control)
                                          ++invalidations;
                                  },
                                  led};
    Running running;
    SendMessageA(Form->Control->Handle, WM_COMMAND, MAKEWPARAM(led->Control->ControlId, STN_CLICKED),
                 reinterpret_cast<LPARAM>(led->Control->Handle));
    led->Control->SetBounds(20, 20, 30, 30);
    EXPECT_EQ(invalidations, 1) << "the resized lamp is painted again";
    EXPECT_EQ(Log, (std::vector<std::string>{"click: null", "resize: null"}));
    InvalidateHook = {};
}
