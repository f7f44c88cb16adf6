#include <gtest/gtest.h>

#include "runtime/TPointLink.h"

TEST(TData, ConversionsFollowTheProgramsOwnNumberRules)
{
    struct Case {
        TData value;
        int32_t asInteger;
        double asReal;
        const char *asString;
        int32_t asIndex;
    } cases[] = {
        {IntData(12), 12, 12.0, "12", 12},
        {IntData(-7), -7, -7.0, "-7", -7},
        {StrData("0"), 0, 0.0, "0", 0},
        {StrData("00"), 0, 0.0, "00", 0},
        {StrData("x"), 0, 0.0, "x", -1},
        {StrData("-0"), 0, 0.0, "-0", -1},
        {StrData(""), 0, 0.0, "", -1},
        {StrData("12abc"), 12, 12.0, "12abc", 12},
        {StrData("1,5"), 1, 15.0, "1,5", 1},
        {StrData(" 2"), 0, 2.0, " 2", -1},
        {StrData("1e3"), 1, 1000.0, "1e3", 1},
        {RealData(2.5), 2, 2.5, "2.5", 2},
        {RealData(3.5), 4, 3.5, "3.5", 4},
        {RealData(0.1), 0, 0.1, "0.1", 0},
        // beyond 32 bits the integer wraps: 10^20 mod 2^32
        {RealData(1e20), 1661992960, 1e20, "100000000000000000000", 1661992960},
        {TData(), 0, 0.0, "", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("value " + ToString(c.value) + " of kind " + std::to_string(c.value.DataType));
        EXPECT_EQ(ToInteger(c.value), c.asInteger);
        EXPECT_DOUBLE_EQ(ToReal(c.value), c.asReal);
        EXPECT_EQ(ToString(c.value), c.asString);
        EXPECT_EQ(ToIndex(c.value), c.asIndex);
    }
}

TEST(TData, ObjectKindsConvertToNothing)
{
    int dummy = 0;
    TData icon, stream, array, nolink;
    icon.dtIcon(reinterpret_cast<winlayer::TWinIcon *>(&dummy));
    stream.dtStream(reinterpret_cast<winlayer::TWinStream *>(&dummy));
    array.dtArray(reinterpret_cast<TArrayRec *>(&dummy));
    nolink.DataType = dtNoLink;
    for (const TData *d : {&icon, &stream, &array, &nolink}) {
        EXPECT_EQ(ToInteger(*d), 0);
        EXPECT_EQ(ToReal(*d), 0.0);
        EXPECT_EQ(ToString(*d), "");
        EXPECT_EQ(ToIndex(*d), -1);
    }
    // The references are kept whole on 64-bit builds too.
    EXPECT_EQ(AsIcon(icon), reinterpret_cast<winlayer::TWinIcon *>(&dummy));
    EXPECT_EQ(AsStream(stream), reinterpret_cast<winlayer::TWinStream *>(&dummy));
    EXPECT_EQ(AsArray(array), reinterpret_cast<TArrayRec *>(&dummy));
    EXPECT_EQ(AsStream(icon), nullptr);
    EXPECT_EQ(AsIcon(stream), nullptr);
    EXPECT_TRUE(IsIcon(icon) && IsStream(stream) && !IsInteger(array));
}

TEST(TData, CopyValueKeepsTheFlagButDropsLinksAndChain)
{
    TPointLink link;
    TData node = IntData(2);
    TData head = StrData("a");
    head.DataType |= dtForward;
    head.ForwardLink = &link;
    head.NextData = &node;

    TData copy;
    CopyValue(copy, head);
    EXPECT_EQ(copy.DataType, dtForward | dtString);
    EXPECT_EQ(copy.StrValue, "a");
    EXPECT_EQ(copy.ForwardLink, nullptr);
    EXPECT_EQ(copy.NextData, nullptr);
}

TEST(TData, CopyChainCopiesEveryNodeAndStopsAtNull)
{
    TData single = IntData(1);
    TData copy;
    CopyChain(copy, single);
    EXPECT_EQ(copy.NextData, nullptr); // a single value allocates nothing

    // a -> b -> null -> c : the copy ends at the null node.
    TData c = StrData("c");
    TData nul;
    nul.NextData = &c;
    TData b = IntData(2);
    b.NextData = &nul;
    TData a = StrData("a");
    a.NextData = &b;

    TData chain;
    CopyChain(chain, a);
    ASSERT_NE(chain.NextData, nullptr);
    EXPECT_NE(chain.NextData, &b);
    EXPECT_EQ(chain.NextData->IntValue, 2);
    ASSERT_NE(chain.NextData->NextData, nullptr);
    EXPECT_EQ(chain.NextData->NextData->DataType, dtNull);
    EXPECT_EQ(chain.NextData->NextData->NextData, nullptr);
    FreeChain(chain);
    EXPECT_EQ(chain.NextData, nullptr);
    EXPECT_EQ(chain.StrValue, "a");
}

TEST(TData, ConstructorsEmptyLinksAndChain)
{
    TPointLink link;
    TData next;
    TData d;
    d.ForwardLink = &link;
    d.NextData = &next;
    d.dtReal(1.5);
    EXPECT_EQ(d.DataType, dtReal);
    EXPECT_EQ(d.ForwardLink, nullptr);
    EXPECT_EQ(d.NextData, nullptr);
    d.StrValue = "kept";
    d.dtNull();
    EXPECT_EQ(d.DataType, dtNull);
    EXPECT_EQ(ToString(d), "");
}

namespace {
struct ArraySource {
    std::vector<std::string> items;
    static bool Get(void *self, const TData &index, TData &item)
    {
        auto *s = static_cast<ArraySource *>(self);
        int32_t i = ToIndex(index);
        if (i < 0 || i >= static_cast<int32_t>(s->items.size()))
            return false;
        item.dtString(s->items[static_cast<size_t>(i)]);
        return true;
    }
    static int32_t Count(void *self) { return static_cast<int32_t>(static_cast<ArraySource *>(self)->items.size()); }
};
} // namespace

TEST(TData, ArrayRecordFillsMissingSetAndAddWithHarmlessRoutines)
{
    ArraySource src{{"a", "b"}};
    TArrayRec *arr = CreateArrayRec({nullptr, nullptr}, {ArraySource::Get, &src}, {ArraySource::Count, &src},
                                    {nullptr, nullptr});
    ASSERT_NE(arr->ArraySetProc.Code, nullptr);
    ASSERT_NE(arr->ArrayAddProc.Code, nullptr);
    arr->ArraySetProc.Code(arr->ArraySetProc.Self, IntData(0), StrData("z"));
    arr->ArrayAddProc.Code(arr->ArrayAddProc.Self, StrData("c"));
    EXPECT_EQ(arr->ArrayCountProc.Code(arr->ArrayCountProc.Self), 2);
    TData item;
    EXPECT_TRUE(arr->ArrayGetProc.Code(arr->ArrayGetProc.Self, StrData("1"), item));
    EXPECT_EQ(item.StrValue, "b");
    EXPECT_FALSE(arr->ArrayGetProc.Code(arr->ArrayGetProc.Self, StrData("x"), item));
    FreeArrayRec(arr);
}
