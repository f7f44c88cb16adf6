#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorStack.h"

using namespace testkit;

namespace {
using Texts = std::vector<std::string>;
} // namespace

TEST(TQorMemory, TheDefaultSetterSetsTheValueAndClearRestoresIt)
{
    Running on;
    TQorMemory m;
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

TEST(TQorStack, PopsLastFirstAndAnswersAnEmptyPileAsConfigured)
{
    Running on;
    struct Case {
        uint8_t CheckEmpty;
        int32_t MaxCount; // above 0: a push beyond it drops the bottom item
        Texts Pops;       // after pushing 1, 2, 3 and popping four times
        Texts Empties;
        std::string ValueAfter;
    } cases[] = {
        {1, 0, {"int 3", "int 2", "int 1"}, {"null"}, "int 1"},
        {0, 0, {"int 3", "int 2", "int 1", "null"}, {}, "null"},
        {1, 2, {"int 3", "int 2"}, {"null", "null"}, "int 2"},
        {1, -2, {"int 3", "int 2", "int 1"}, {"null"}, "int 1"},
    };
    for (const Case &k : cases) {
        TQorStack s;
        s.CheckEmpty = k.CheckEmpty;
        s.MaxCount = k.MaxCount;
        Sink pops, empties;
        LinkEvent(s.onPop, &pops, &Sink::doTake, 0);
        LinkEvent(s.onEmpty, &empties, &Sink::doTake, 0);
        for (int32_t v : {1, 2, 3})
            Call(&s, &TQorStack::doPush, IntData(v));
        EXPECT_EQ(Show(s.FValue), "int 3");
        for (int i = 0; i < 4; ++i)
            Call(&s, &TQorStack::doPop, StrData("ignored"));
        std::string what = "CheckEmpty " + std::to_string(k.CheckEmpty) + ", MaxCount " + std::to_string(k.MaxCount);
        EXPECT_EQ(pops.Values(), k.Pops) << what;
        EXPECT_EQ(empties.Values(), k.Empties) << what;
        EXPECT_EQ(Show(s.FValue), k.ValueAfter) << what;
    }
}

TEST(TQorStack, PushStoresTheFirstValueAndPassesOnWhatTheReadLeft)
{
    Running on;
    TQorStack s;
    Sink pushed;
    LinkEvent(s.onPush, &pushed, &Sink::doTake, 0);
    TData second = IntData(2);
    TData d = IntData(1);
    d.NextData = &second;
    Call(&s, &TQorStack::doPush, d);
    ASSERT_EQ(s.Items.size(), 1u);
    EXPECT_EQ(Show(*s.Items[0]), "int 1");
    EXPECT_EQ(s.Items[0]->NextData, nullptr) << "a chain is stored as its first value only";
    EXPECT_EQ(s.Items[0]->ForwardLink, nullptr);
    EXPECT_EQ(pushed.Values(), Texts{"int 2"}) << "the read moved the next value up";
}
