#pragma once
#include <cstdint>
#include <vector>

// The rules of controls and drawing that need no window: colour values, the
// mouse record, font heights, tab navigation and fitting a label to its text.
namespace winlayer {

// Colour values: 0x00BBGGRR, or, with the top bit set, a system colour named by
// the low byte (0x8000000F and 0xFF00000F are both the button face).
constexpr uint32_t clBtnFace = 0x8000000F;
constexpr uint32_t clWindowText = 0x80000008;
constexpr uint32_t clWindow = 0x80000005;
inline bool IsSystemColor(uint32_t color)
{
    return (color & 0x80000000u) != 0;
}
inline int SystemColorIndex(uint32_t color)
{
    return static_cast<int>(color & 0xFF);
}

// Alignment codes of controls.
enum : uint8_t { caNone = 0, caLeft = 1, caTop = 2, caRight = 3, caBottom = 4, caClient = 5 };

// Mouse buttons of the mouse record.
enum : uint8_t { mbNone = 0, mbLeft = 1, mbRight = 2, mbMiddle = 3 };

// What the mouse events get (by reference). Handled set by an event claims the message.
struct TMouseEventData {
    uint8_t Button = mbNone;
    uint8_t Handled = 0;
    uint8_t Unused[2] = {0, 0};
    uint32_t KeyState = 0; // the message's wParam (+0x20 with Alt); the wheel delta in the upper 16 bits
    int16_t X = 0;
    int16_t Y = 0;
};

// The key state of the mouse record: wParam as 32 bits, with 0x20 added while Alt is down.
uint32_t MouseKeyState(uintptr_t wParam, bool altDown);
// The wheel delta carried in the upper 16 bits of a key state.
int16_t WheelDelta(uint32_t keyState);

// The platform font height for a size in points: (points * pixelsPerInch + 36) / -72,
// truncated toward zero.
int32_t PointsToHeightAt(int32_t points, int32_t pixelsPerInch);

// Font style bits of the schemes.
enum : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Tab navigation: among the tab orders of the tab-stop controls, the index of the
// one with the smallest order above current (backwards: the largest below it),
// wrapping round to the smallest (largest) order. -1 when the list is empty.
int NextTabIndex(const std::vector<int> &tabOrders, int current, bool backwards);

// Fitting a label to its text: width text width + 1 unless aligned top or bottom,
// height text height + 1 unless aligned left or right; otherwise the size stays.
struct TSize2 {
    int Width;
    int Height;
};
TSize2 FitToTextSize(TSize2 text, TSize2 current, uint8_t align);

} // namespace winlayer
