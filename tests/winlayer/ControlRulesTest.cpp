// The rules of controls and drawing that need no window.
#include <gtest/gtest.h>

#include "winlayer/ControlRules.h"

using namespace winlayer;

TEST(ControlRules, MouseKeyStateAdds0x20WhileAltIsDown)
{
    struct TCase {
        uintptr_t WParam;
        bool Alt;
        uint32_t Expected;
    };
    const TCase cases[] = {
        {0x0001, false, 0x0001},     {0x0001, true, 0x0021},
        {0x0000, true, 0x0020},      {0x0013, false, 0x0013},
        {0x00780000, true, 0x00780020}, // a wheel notch forward with Alt
    };
    for (const TCase &c : cases)
        EXPECT_EQ(MouseKeyState(c.WParam, c.Alt), c.Expected)
            << "wParam " << std::hex << c.WParam << ", Alt " << c.Alt;
}

TEST(ControlRules, WheelDeltaIsTheSignedUpperHalfOfTheKeyState)
{
    struct TCase {
        uint32_t KeyState;
        int Expected;
    };
    const TCase cases[] = {{0x00780000, 120}, {0xFF880000, -120}, {0x00780008, 120},
                           {0xFF890004, -119}, {0x00000001, 0}};
    for (const TCase &c : cases)
        EXPECT_EQ(WheelDelta(c.KeyState), c.Expected) << "key state " << std::hex << c.KeyState;
}

TEST(ControlRules, PointsToHeightTruncatesTowardZero)
{
    struct TCase {
        int32_t Points;
        int32_t PixelsPerInch;
        int32_t Expected;
    };
    const TCase cases[] = {
        {8, 96, -11},   // 804 / -72 = -11.17
        {20, 96, -27},  // 1956 / -72 = -27.17
        {9, 96, -12},   // 900 / -72 = -12.5
        {10, 120, -17}, // 1236 / -72 = -17.17
        {0, 96, 0},     // 36 / -72 = -0.5
        {-8, 96, 10},   // -732 / -72 = 10.17
    };
    for (const TCase &c : cases)
        EXPECT_EQ(PointsToHeightAt(c.Points, c.PixelsPerInch), c.Expected)
            << c.Points << " points at " << c.PixelsPerInch << " pixels per inch";
}

TEST(ControlRules, NextTabIndexPicksTheNearestOrderAndWrapsRound)
{
    const std::vector<int> orders = {3, 1, 7, 5};
    struct TCase {
        int Current;
        bool Backwards;
        int Expected;
    };
    const TCase cases[] = {
        {1, false, 0}, {3, false, 3}, {5, false, 2}, {7, false, 1}, // forwards, wrapping 7 -> 1
        {7, true, 3},  {5, true, 0},  {1, true, 2},                 // backwards, wrapping 1 -> 7
        {4, false, 3}, {4, true, 0},                                // from an order not in the list
    };
    for (const TCase &c : cases)
        EXPECT_EQ(NextTabIndex(orders, c.Current, c.Backwards), c.Expected)
            << "from " << c.Current << (c.Backwards ? " backwards" : " forwards");
    EXPECT_EQ(NextTabIndex({}, 1, false), -1) << "no tab stops";
    EXPECT_EQ(NextTabIndex({2}, 2, false), 0) << "a single stop wraps round to itself";
}

TEST(ControlRules, FitToTextKeepsTheSideTheAlignmentFixes)
{
    struct TCase {
        uint8_t Align;
        TSize2 Expected;
    };
    const TSize2 text{40, 13};
    const TSize2 current{100, 22};
    const TCase cases[] = {
        {caNone, {41, 14}},  {caLeft, {41, 22}},    {caRight, {41, 22}},
        {caTop, {100, 14}},  {caBottom, {100, 14}}, {caClient, {41, 14}},
    };
    for (const TCase &c : cases) {
        const TSize2 size = FitToTextSize(text, current, c.Align);
        EXPECT_EQ(size.Width, c.Expected.Width) << "align " << int(c.Align);
        EXPECT_EQ(size.Height, c.Expected.Height) << "align " << int(c.Align);
    }
}
