// Rounding as the program divides (the time-zone bias into hours).
#include <gtest/gtest.h>

#include "winlayer/NumText.h"

using namespace winlayer;

TEST(NumText, RoundingTakesHalvesToTheEvenNeighbour)
{
    struct Case { double value; int32_t rounded; } cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-330.0 / 60.0, -6}, {0.5, 0}, {2.4999, 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RoundToInt(c.value), c.rounded) << "for " << c.value;
}
