// The rules of controls and drawing that need no window.
#include <gtest/gtest.h>

#include "winlayer/ControlRules.h"

using namespace winlayer;

TEST(ControlRules, NextTabIndexPicksTheNearestOrderAndWrapsRound)
{
    const std::vector<int> orders = {3, 1, 7, 5};
    struct TCase {
        int Current;
        bool Backwards;
        int Expected;
    };
    const TCase cases[] = {
        {3, false, 3}, {7, false, 1}, // forwards, wrapping 7 -> 1
        {5, true, 0},  {1, true, 2},  // backwards, wrapping 1 -> 7
        {4, false, 3},                // from an order not in the list
    };
    for (const TCase &c : cases)
        EXPECT_EQ(NextTabIndex(orders, c.Current, c.Backwards), c.Expected)
            << "from " << c.Current << (c.Backwards ? " backwards" : " forwards");
    EXPECT_EQ(NextTabIndex({}, 1, false), -1) << "no tab stops";
}
