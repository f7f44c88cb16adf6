// The LED on a real form: the pixels it paints and its state changes.
#include "WinTestKit.h"

using namespace wintest;

struct LedTest : ElementTest {};

TEST_F(LedTest, AnUnframedLedIsAGreenOrRedDiscOnTheFormsBackground)
{
    TQorLED *led = MakeLed(MakeMainForm(120, 80), 1);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (COLORREF centre : {COLORREF(0x008000), COLORREF(0x0000FF)}) {
        const Snapshot shot = Printed(led->Control->Handle);
        ASSERT_EQ(shot.Bits.size(), 15u * 15u);
        EXPECT_EQ(shot.At(7, 7), centre) << "centre";
        EXPECT_EQ(shot.At(7, 1), centre) << "inside near the top";
        EXPECT_EQ(shot.At(1, 7), centre) << "inside near the left";
        for (const POINT p : {POINT{0, 0}, POINT{14, 0}, POINT{0, 14}, POINT{14, 14}})
            EXPECT_EQ(shot.At(p.x, p.y), face) << "corner " << p.x << "," << p.y;
        TData none;
        led->doOff(none, 0);
    }
}

TEST_F(LedTest, SwitchingAnLedOnTwiceRaisesOneChangeAndOneRepaint)
{
    TQorLED *led = MakeLed(MakeMainForm(120, 80), 0);
    SinkFor(led->onChange, "change");
    static int repaints;
    repaints = 0;
    winlayer::InvalidateHook = {[](void *Led, winlayer::TWinControl *Control) {
                                    repaints += Control == static_cast<TQorLED *>(Led)->Control;
                                },
                                led};
    Running running;
    TPointLink on, off;
    LinkEvent(on, led, &TQorLED::doOn, 0);
    LinkEvent(off, led, &TQorLED::doOff, 0);
    CallEventNull(on);
    CallEventNull(on);
    EXPECT_EQ(Log, Journal{"change: int 1"});
    EXPECT_EQ(repaints, 1);
    CallEventNull(off);
    CallEventNull(off);
    EXPECT_EQ(Log, (Journal{"change: int 1", "change: int 0"}));
    EXPECT_EQ(repaints, 2);
    winlayer::InvalidateHook = {};
}
