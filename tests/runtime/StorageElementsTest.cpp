#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorStack.h"

using namespace testkit;

namespace {
using Texts = std::vector<std::string>;

// Calls a method through the dispatcher, as a wired event does, so that a
// forward reaches its target.
template <class E> TData Call(E *Element, void (E::*Method)(TData &, uint16_t), TData Value)
{
    TPointLink in;
    LinkEvent(in, Element, Method, 0);
    CallEvent(in, Value);
    return Value;
}
} // namespace

TEST(TQorMemory, TheDefaultSetterSetsTheValueAndClearRestoresIt)
{
    Running on;
    TQorMemory m;
    EXPECT_EQ(Show(m.FValue), "null") << "without a default both stay null";
    m.SetDefault(IntData(0));
    EXPECT_EQ(Show(m.FValue), "int 0");
    Sink changes;
    LinkEvent(m.onData, &changes, &Sink::doTake, 0);

    Call(&m, &TQorMemory::doValue, StrData("kept"));
    EXPECT_EQ(Show(m.FValue), "str kept");
    TData out = Call(&m, &TQorMemory::doClear, StrData("ignored"));
    EXPECT_EQ(Show(m.FValue), "int 0");
    EXPECT_EQ(changes.Values(), (Texts{"str kept", "int 0"}));
    EXPECT_EQ(Show(out), "int 0") << "the record went on as the stored value";
}

TEST(TQorMemory, StoresOnlyTheFirstValueOfAChainAndPrefersAWiredInput)
{
    Running on;
    TQorMemory m;
    TData second = IntData(2);
    TData d = IntData(1);
    d.NextData = &second;
    m.doValue(d, 0);
    EXPECT_EQ(Show(m.FValue), "int 1");
    EXPECT_EQ(m.FValue.NextData, nullptr);

    Source src;
    src.Answer = StrData("wired");
    LinkData(m.Data, &src, &Source::Value, 0);
    Call(&m, &TQorMemory::doValue, IntData(9));
    EXPECT_EQ(Show(m.FValue), "str wired");

    TPointLink value;
    LinkData(value, &m, &TQorMemory::Value, 0);
    TData answer = IntData(3);
    ReadRaw(answer, value);
    EXPECT_EQ(Show(answer), "str wired");
}

TEST(TQorStack, PopsLastFirstAndAnswersAnEmptyPileAsConfigured)
{
    Running on;
    struct Case {
        uint8_t CheckEmpty;
        Texts Pops;
        Texts Empties;
        std::string ValueAfter;
    } cases[] = {
        {1, {"int 3", "int 2", "int 1"}, {"null"}, "int 1"},
        {0, {"int 3", "int 2", "int 1", "null"}, {}, "null"},
    };
    for (const Case &k : cases) {
        TQorStack s;
        s.CheckEmpty = k.CheckEmpty;
        Sink pops, empties;
        LinkEvent(s.onPop, &pops, &Sink::doTake, 0);
        LinkEvent(s.onEmpty, &empties, &Sink::doTake, 0);
        for (int32_t v : {1, 2, 3})
            Call(&s, &TQorStack::doPush, IntData(v));
        EXPECT_EQ(s.Items.size(), 3u);
        for (int i = 0; i < 4; ++i)
            Call(&s, &TQorStack::doPop, StrData("ignored"));
        std::string what = "CheckEmpty " + std::to_string(k.CheckEmpty);
        EXPECT_EQ(pops.Values(), k.Pops) << what;
        EXPECT_EQ(empties.Values(), k.Empties) << what;
        EXPECT_EQ(Show(s.FValue), k.ValueAfter) << what;
        EXPECT_TRUE(s.Items.empty()) << what;
    }
}

TEST(TQorStack, PushStoresTheFirstValueAndPassesOnWhatTheReadLeft)
{
    Running on;
    TQorStack s;
    Sink pushed, popped;
    LinkEvent(s.onPush, &pushed, &Sink::doTake, 0);
    LinkEvent(s.onPop, &popped, &Sink::doTake, 0);

    TData second = IntData(2);
    TData d = IntData(1);
    d.NextData = &second;
    TPointLink push;
    LinkEvent(push, &s, &TQorStack::doPush, 0);
    CallEvent(push, d);
    ASSERT_EQ(s.Items.size(), 1u);
    EXPECT_EQ(Show(*s.Items[0]), "int 1");
    EXPECT_EQ(s.Items[0]->NextData, nullptr) << "a chain is stored as its first value only";
    EXPECT_EQ(s.Items[0]->ForwardLink, nullptr);
    EXPECT_EQ(pushed.Values(), Texts{"int 2"}) << "the read moved the next value up";

    Call(&s, &TQorStack::doPush, StrData("single"));
    EXPECT_EQ(pushed.Values(), (Texts{"int 2", "null"})) << "a single value is consumed by the read";

    Source src;
    src.Answer = StrData("wired");
    LinkData(s.Data, &src, &Source::Value, 0);
    Call(&s, &TQorStack::doPush, IntData(7));
    EXPECT_EQ(pushed.Values(), (Texts{"int 2", "null", "int 7"})) << "a wired input leaves the record alone";
    EXPECT_EQ(Show(s.FValue), "str wired");

    TPointLink value;
    LinkData(value, &s, &TQorStack::Value, 0);
    TData answer;
    ReadRaw(answer, value);
    EXPECT_EQ(Show(answer), "str wired");

    Call(&s, &TQorStack::doPop, TData{});
    EXPECT_EQ(popped.Values(), Texts{"str wired"});
    EXPECT_EQ(s.Items.size(), 2u) << "the rest is freed with the stack";
}

TEST(TQorStack, MaxCountDropsTheBottomItemsAndZeroKeepsThemAll)
{
    Running on;
    struct Case {
        int32_t MaxCount;
        Texts Pops; // after pushing 1 to 5, popping until the pile is empty
    } cases[] = {
        {0, {"int 5", "int 4", "int 3", "int 2", "int 1"}},
        {-2, {"int 5", "int 4", "int 3", "int 2", "int 1"}},
        {5, {"int 5", "int 4", "int 3", "int 2", "int 1"}},
        {3, {"int 5", "int 4", "int 3"}},
        {1, {"int 5"}},
    };
    for (const Case &k : cases) {
        TQorStack s;
        s.CheckEmpty = 1;
        s.MaxCount = k.MaxCount;
        Sink pushed, pops, empties;
        LinkEvent(s.onPush, &pushed, &Sink::doTake, 0);
        LinkEvent(s.onPop, &pops, &Sink::doTake, 0);
        LinkEvent(s.onEmpty, &empties, &Sink::doTake, 0);
        for (int32_t v : {1, 2, 3, 4, 5}) {
            Call(&s, &TQorStack::doPush, IntData(v));
            EXPECT_EQ(Show(s.FValue), "int " + std::to_string(v)) << "the value pushed, even when the bottom goes";
        }
        std::string what = "MaxCount " + std::to_string(k.MaxCount);
        EXPECT_EQ(s.Items.size(), k.Pops.size()) << what;
        EXPECT_EQ(pushed.Values().size(), 5u) << what;
        for (size_t i = 0; i <= k.Pops.size(); ++i)
            Call(&s, &TQorStack::doPop, TData{});
        EXPECT_EQ(pops.Values(), k.Pops) << what;
        EXPECT_EQ(empties.Values(), Texts{"null"}) << what << ": one pop too many finds the pile empty";
    }
}
