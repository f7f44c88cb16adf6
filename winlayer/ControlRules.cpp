#include "winlayer/ControlRules.h"

#include <cstddef>

namespace winlayer {

uint32_t MouseKeyState(uintptr_t wParam, bool altDown)
{
    uint32_t state = static_cast<uint32_t>(wParam);
    if (altDown)
        state += 0x20;
    return state;
}

int16_t WheelDelta(uint32_t keyState)
{
    return static_cast<int16_t>(static_cast<uint16_t>(keyState >> 16));
}

int32_t PointsToHeightAt(int32_t points, int32_t pixelsPerInch)
{
    // Integer division in C++ truncates toward zero, as the rule wants.
    return (points * pixelsPerInch + 36) / -72;
}

int NextTabIndex(const std::vector<int> &tabOrders, int current, bool backwards)
{
    int best = -1;  // the nearest beyond current
    int wrap = -1;  // the smallest (largest) of all, for wrapping round
    for (std::size_t i = 0; i < tabOrders.size(); ++i) {
        const int order = tabOrders[i];
        const int index = static_cast<int>(i);
        if (backwards) {
            if (order < current && (best < 0 || order > tabOrders[best]))
                best = index;
            if (wrap < 0 || order > tabOrders[wrap])
                wrap = index;
        } else {
            if (order > current && (best < 0 || order < tabOrders[best]))
                best = index;
            if (wrap < 0 || order < tabOrders[wrap])
                wrap = index;
        }
    }
    return best >= 0 ? best : wrap;
}

TSize2 FitToTextSize(TSize2 text, TSize2 current, uint8_t align)
{
    TSize2 size = current;
    if (align != caTop && align != caBottom)
        size.Width = text.Width + 1;
    if (align != caLeft && align != caRight)
        size.Height = text.Height + 1;
    return size;
}

} // namespace winlayer
