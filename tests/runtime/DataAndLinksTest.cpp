#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "RuntimeTestKit.h"

using namespace testkit;

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
        // beyond 32 bits the integer wraps: 10^20 mod 2^32
        {RealData(1e20), 1661992960, 1e20, "100000000000000000000", 1661992960},
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

// The scalar reads share one fallback order; each row is read as an integer
// and as a string (both string forms), each from a fresh copy of the record.
TEST(ReadOperations, DefaultBeatsTheIncomingValueAndOnlyAWiredLinkBeatsTheDefault)
{
    Running on;
    TData noLink; // what an edge answers for an unwired outer input
    noLink.DataType = dtNoLink;
    TData second = StrData("second");
    TData chained = StrData("12");
    chained.NextData = &second;
    struct Case {
        const char *What;
        bool Wired;
        TData Answer;
        int32_t Default; // as a string: empty for 0
        TData In;
        int32_t Integer;
        std::string String;
        std::string InAfter;
    } cases[] = {
        {"a default beats the incoming value", false, {}, 5, IntData(7), 5, "5", "int 7"},
        {"no default: the incoming value, consumed", false, {}, 0, IntData(7), 7, "7", "null"},
        {"consuming moves the next value up", false, {}, 0, chained, 12, "12", "str second"},
        {"a wired link beats the default", true, IntData(3), 5, IntData(7), 3, "3", "int 7"},
        {"a wired link answering null", true, {}, 9, IntData(7), 0, "", "int 7"},
        {"an unwired outer point: the default", true, noLink, 4, StrData("11"), 4, "4", "str 11"},
        {"an unwired outer point: the incoming value", true, noLink, 0, StrData("11"), 11, "11", "null"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.What);
        Source src;
        src.Answer = c.Answer;
        TPointLink link;
        if (c.Wired)
            LinkData(link, &src, &Source::Value, 0);
        const std::string def = c.Default ? std::to_string(c.Default) : "";
        TData a = c.In, b = c.In, s = c.In;
        EXPECT_EQ(ReadInteger(a, link, c.Default), c.Integer);
        EXPECT_EQ(ReadString(b, link, def), c.String);
        std::string got = "room from before, longer than any answer";
        ReadStringTo(s, link, def, got);
        EXPECT_EQ(got, c.String);
        for (const TData *after : {&a, &b, &s})
            EXPECT_EQ(Show(*after), c.InAfter);
    }
}

TEST(ReadOperations, BeforeStartHooksEventsAreDroppedAndWiredReadsAnswerNull)
{
    Source src;
    src.Answer = IntData(3);
    TPointLink wired;
    LinkData(wired, &src, &Source::Value, 0);
    TData in = IntData(7);
    EXPECT_EQ(ReadInteger(in, wired, 9), 0) << "the default counts only for unwired inputs";
    EXPECT_EQ(src.Reads, 0);

    Sink sink;
    TPointLink event;
    LinkEvent(event, &sink, &Sink::doTake, 3);
    CallEventInt(event, 1);
    StartHooks();
    CallEventInt(event, 2);
    StopHooks();
    CallEventInt(event, 3);
    EXPECT_EQ(sink.Values(), std::vector<std::string>{"int 2"}) << "only while the hooks run";
}

namespace {
// Forwards an incremented integer to the next one and notes the deepest stack.
struct Counter : TElement {
    static inline const char *Top = nullptr;
    static inline ptrdiff_t Deepest = 0;
    TPointLink onNext;
    void doStep(TData &Data, uint16_t)
    {
        char here;
        Deepest = std::max(Deepest, Top - &here);
        ForwardInt(Data, onNext, Data.IntValue + 1);
    }
};
} // namespace

TEST(Dispatch, AForwardingChainRunsAsALoopAndEndsAtAnUnwiredLinkWithTheFlagCleared)
{
    Running on;
    std::vector<Counter> chain(100000);
    for (size_t i = 0; i + 1 < chain.size(); ++i)
        LinkEvent(chain[i].onNext, &chain[i + 1], &Counter::doStep, 0);
    char top;
    Counter::Top = &top;
    TData d = Call(&chain[0], &Counter::doStep, IntData(0));
    EXPECT_EQ(Show(d), "int 100000") << "every element ran once; the flag is cleared";
    EXPECT_LT(Counter::Deepest, 64 * 1024) << "the chain nested instead of looping";
}
