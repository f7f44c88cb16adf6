#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TQorEventFromData.h"
#include "runtime/TQorFor.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorIndexToChanel.h"
#include "runtime/TQorStack.h"

using namespace testkit;

namespace {
using Texts = std::vector<std::string>;
} // namespace

TEST(TQorHub, EveryOutputGetsTheIncomingValueInOrderEvenWhenABranchChangesIt)
{
    Running on;
    struct Changer : Sink {
        void doChange(TData &Data, uint16_t Index)
        {
            doTake(Data, Index);
            Data.dtString("changed");
        }
    } outs[3];
    Texts log;
    TQorHub hub;
    hub.SetOutCount(3);
    for (size_t i = 0; i < 3; ++i) {
        outs[i].Log = &log;
        outs[i].Name = "out " + std::to_string(i);
        LinkEvent(hub.onEvent[i], &outs[i], &Changer::doChange, 0);
    }
    EXPECT_EQ(Show(Call(&hub, &TQorHub::doEvent, IntData(4))), "int 4") << "the caller's record is left alone";
    EXPECT_EQ(log, (Texts{"out 0: int 4", "out 1: int 4", "out 2: int 4"}));
}

TEST(TQorEventFromData, AReadOfVarRunsOnEventFirstAndDoDataKeepsADeepCopyEvenOfWhatVarAnswered)
{
    Running on;
    // Stores a chain into the element when asked, as the scheme behind its onEvent does.
    struct Feeder : TElement {
        TQorEventFromData Target;
        TData Second = IntData(2);
        void doFeed(TData &, uint16_t)
        {
            TData v = IntData(1);
            v.NextData = &Second;
            Target.doData(v, 0);
        }
    } feeder;
    LinkEvent(feeder.Target.onEvent, &feeder, &Feeder::doFeed, 0);
    TPointLink var;
    LinkData(var, &feeder.Target, &TQorEventFromData::Var, 0);
    TData answer;
    ReadRaw(answer, var); // shares the stored chain
    EXPECT_EQ(Show(answer), "int 1") << "the value stored by onEvent's scheme is answered";
    feeder.Second.IntValue = 20; // the caller's nodes change; the copy must not
    feeder.Target.doData(answer, 0); // and hands it back: copied before the old chain goes
    TQorEventFromData &e = feeder.Target;
    ASSERT_NE(e.Value.NextData, nullptr);
    EXPECT_NE(e.Value.NextData, &feeder.Second);
    EXPECT_EQ(Show(e.Value), "int 1");
    EXPECT_EQ(Show(*e.Value.NextData), "int 2");
}

TEST(TQorIndexToChanel, TheValueGoesToTheChannelTheIndexNamesAndNowhereOutOfRange)
{
    Running on;
    TQorIndexToChanel e;
    e.SetCount(24);
    e.FData = StrData("p");
    Source index;
    LinkData(e.Index, &index, &Source::Value, 0);
    Sink channels;
    for (size_t i = 0; i < 24; ++i)
        LinkEvent(e.onEvent[i], &channels, &Sink::doTake, static_cast<uint16_t>(i));
    for (int32_t i : {0, 23, 24, -1}) {
        index.Answer = IntData(i);
        Call(&e, &TQorIndexToChanel::doEvent, IntData(5));
    }
    EXPECT_EQ(channels.Indexes, (std::vector<uint16_t>{0, 23}));
    EXPECT_EQ(channels.Values(), (Texts{"str p", "str p"}));
}

TEST(TQorFor, CountsFromStartToEndThenStops)
{
    Running on;
    struct Case {
        int32_t Start, End, Step;
        uint8_t IncludeEnd, InData;
        std::vector<int32_t> Events;
        int32_t Stop;
    } cases[] = {
        {5, 5, 1, 0, 0, {}, 5},
        {5, 5, 1, 1, 0, {5}, 6},
        {5, 0, -2, 1, 0, {5, 3, 1}, -1},
        {0, 3, 0, 1, 0, {}, 0},
        {0, 3, 1, 0, 1, {2}, 3}, // InData: the incoming 2 is the start
        // bounds at the ends of the range end the loop; the stop value wraps
        {INT32_MAX - 1, INT32_MAX, 1, 1, 0, {INT32_MAX - 1, INT32_MAX}, INT32_MIN},
        {INT32_MIN + 1, INT32_MIN, -1, 1, 0, {INT32_MIN + 1, INT32_MIN}, INT32_MAX},
    };
    for (const Case &k : cases) {
        TQorFor e;
        e.FStart = k.Start;
        e.FEnd = k.End;
        e.Step = k.Step;
        e.IncludeEnd = k.IncludeEnd;
        e.InData = k.InData;
        Sink each, stop;
        LinkEvent(e.onEvent, &each, &Sink::doTake, 0);
        LinkEvent(e.onStop, &stop, &Sink::doTake, 0);
        SCOPED_TRACE(testing::Message() << k.Start << " to " << k.End << " step " << k.Step << " include "
                                        << +k.IncludeEnd << " in data " << +k.InData);
        Call(&e, &TQorFor::doFor, IntData(2));
        Texts expected;
        for (int32_t v : k.Events)
            expected.push_back("int " + std::to_string(v));
        EXPECT_EQ(each.Values(), expected);
        EXPECT_EQ(stop.Values(), Texts{"int " + std::to_string(k.Stop)});
    }
}

TEST(TQorStack, PopsLastFirstAndAnswersAnEmptyPileAsConfigured)
{
    Running on;
    struct Case {
        uint8_t CheckEmpty;
        int32_t MaxCount; // above 0: a push beyond it drops the bottom item
        Texts Pops;       // after pushing 1 (with a chain), 2, 3 and popping four times
        Texts Empties;
        std::string ValueAfter;
    } cases[] = {
        {1, 0, {"int 3", "int 2", "int 1"}, {"null"}, "int 1"},
        {0, 0, {"int 3", "int 2", "int 1", "null"}, {}, "null"},
        {1, 2, {"int 3", "int 2"}, {"null", "null"}, "int 2"},
        {1, -2, {"int 3", "int 2", "int 1"}, {"null"}, "int 1"},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(testing::Message() << "CheckEmpty " << +k.CheckEmpty << ", MaxCount " << k.MaxCount);
        TQorStack s;
        s.CheckEmpty = k.CheckEmpty;
        s.MaxCount = k.MaxCount;
        Sink pushes, pops, empties;
        LinkEvent(s.onPush, &pushes, &Sink::doTake, 0);
        LinkEvent(s.onPop, &pops, &Sink::doTake, 0);
        LinkEvent(s.onEmpty, &empties, &Sink::doTake, 0);
        TData chained = IntData(1), next = IntData(9);
        chained.NextData = &next;
        for (const TData &v : {chained, IntData(2), IntData(3)})
            Call(&s, &TQorStack::doPush, v);
        EXPECT_EQ(pushes.Values(), (Texts{"int 9", "null", "null"})) << "what the read left: the chain moved up";
        for (int i = 0; i < 4; ++i)
            Call(&s, &TQorStack::doPop, StrData("ignored"));
        EXPECT_EQ(pops.Values(), k.Pops);
        EXPECT_EQ(empties.Values(), k.Empties);
        EXPECT_EQ(Show(s.FValue), k.ValueAfter);
        for (const TData &popped : pops.Got)
            EXPECT_EQ(popped.NextData, nullptr) << "only the first value of a chain is stored";
    }
}
