#include <gtest/gtest.h>

#include "runtime/TPointLink.h"

// The number rules themselves are the number utilities' (NumTextTest); here the
// choice of rule by kind and the index rule on top of them.
TEST(TData, ConversionsPickTheRuleByKindAndTheIndexRuleRefusesNonNumbers)
{
    int dummy = 0;
    TData icon;
    icon.dtIcon(reinterpret_cast<winlayer::TWinIcon *>(&dummy));
    struct Case {
        TData value;
        int32_t asInteger;
        double asReal;
        const char *asString;
        int32_t asIndex;
    } cases[] = {
        {IntData(-7), -7, -7.0, "-7", -7},
        {StrData("0"), 0, 0.0, "0", 0},
        {StrData("x"), 0, 0.0, "x", -1},
        {StrData("-0"), 0, 0.0, "-0", -1},
        {StrData(""), 0, 0.0, "", -1},
        {RealData(2.5), 2, 2.5, "2.5", 2},
        {RealData(3.5), 4, 3.5, "3.5", 4},
        // beyond 32 bits the integer wraps: 10^20 mod 2^32
        {RealData(1e20), 1661992960, 1e20, "100000000000000000000", 1661992960},
        {TData(), 0, 0.0, "", -1},
        {icon, 0, 0.0, "", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("value " + ToString(c.value) + " of kind " + std::to_string(c.value.DataType));
        EXPECT_EQ(ToInteger(c.value), c.asInteger);
        EXPECT_DOUBLE_EQ(ToReal(c.value), c.asReal);
        EXPECT_EQ(ToString(c.value), c.asString);
        EXPECT_EQ(ToIndex(c.value), c.asIndex);
    }
    EXPECT_EQ(AsIcon(icon), reinterpret_cast<winlayer::TWinIcon *>(&dummy)) << "kept whole on 64-bit builds";
    EXPECT_EQ(AsStream(icon), nullptr);
}
