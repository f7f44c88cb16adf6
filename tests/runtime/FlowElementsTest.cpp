#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TQorChanelToIndex.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEventFromData.h"
#include "runtime/TQorFor.h"
#include "runtime/TQorGetIndexData.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorIndexToChanel.h"
#include "runtime/TQorMemory.h"

using namespace testkit;

namespace {

using Texts = std::vector<std::string>;

// Overwrites the record it receives, after noting it.
struct Changer : TElement {
    std::vector<std::string> *Log = nullptr;
    TPointLink onInner;
    void doChange(TData &Data, uint16_t)
    {
        Log->push_back("changer: " + Show(Data));
        CallEventStr(onInner, "nested");
        Data.dtString("changed");
    }
};

} // namespace

TEST(TQorHub, EveryOutputGetsTheIncomingValueInOrderEvenWhenABranchChangesIt)
{
    Running on;
    Texts log;
    TQorHub hub;
    hub.SetOutCount(3);
    ASSERT_EQ(hub.onEvent.size(), 3u);
    Changer first;
    first.Log = &log;
    Sink nested, second, third;
    nested.Log = second.Log = third.Log = &log;
    nested.Name = "nested";
    second.Name = "out 1";
    third.Name = "out 2";
    LinkEvent(hub.onEvent[0], &first, &Changer::doChange, 0);
    LinkEvent(first.onInner, &nested, &Sink::doTake, 0);
    LinkEvent(hub.onEvent[1], &second, &Sink::doTake, 0);
    LinkEvent(hub.onEvent[2], &third, &Sink::doTake, 0);

    TData d = IntData(4);
    hub.doEvent(d, 7);
    EXPECT_EQ(log, (Texts{"changer: int 4", "nested: str nested", "out 1: int 4", "out 2: int 4"}));
    EXPECT_EQ(Show(d), "int 4") << "the caller's record is left alone";
}

TEST(TQorHub, TheOutCountSetterSizesTheOutputsAndUnwiredOnesAreSkipped)
{
    Running on;
    TQorHub hub;
    hub.SetOutCount(5);
    hub.InCount = 2;
    EXPECT_EQ(hub.OutCount, 5);
    EXPECT_EQ(hub.onEvent.size(), 5u);
    Sink last;
    LinkEvent(hub.onEvent[4], &last, &Sink::doTake, 0);
    TData d = StrData("x");
    hub.doEvent(d, 0);
    EXPECT_EQ(last.Values(), Texts{"str x"});
    hub.SetOutCount(2);
    EXPECT_EQ(hub.onEvent.size(), 2u);
}

TEST(TQorDoData, TheOutputCarriesTheInputElseThePropertyNeverTheIncomingValue)
{
    Running on;
    TData noLink;
    noLink.DataType = dtNoLink;
    TData nullValue;
    struct Case {
        const char *What;
        bool Wired;
        TData Answer;
        TData Property;
        TData Incoming;
        std::string Expected;
    } cases[] = {
        {"unwired input, null property", false, {}, {}, IntData(5), "null"},
        {"unwired input, property set", false, {}, StrData("p"), IntData(5), "str p"},
        {"wired input beats the property", true, IntData(3), StrData("p"), IntData(5), "int 3"},
        {"an input ending at an unwired outer point falls back", true, noLink, StrData("p"), IntData(5), "str p"},
        {"a wired input answering null gives null", true, nullValue, StrData("p"), IntData(5), "null"},
    };
    for (const Case &k : cases) {
        TQorDoData e;
        e.FData = k.Property;
        Source src;
        src.Answer = k.Answer;
        if (k.Wired)
            LinkData(e.Data, &src, &Source::Value, 0);
        Sink out;
        LinkEvent(e.onEventData, &out, &Sink::doTake, 0);
        TPointLink in;
        LinkEvent(in, &e, &TQorDoData::doData, 0);
        TData d = k.Incoming;
        CallEvent(in, d);
        EXPECT_EQ(out.Values(), Texts{k.Expected}) << k.What;
        EXPECT_EQ(Show(d), k.Expected) << k.What << ": the record is forwarded";
    }
}

TEST(TQorDoData, AnIncomingChainIsNotPassedOn)
{
    Running on;
    TQorDoData e;
    Sink out;
    LinkEvent(e.onEventData, &out, &Sink::doTake, 0);
    TData second = IntData(2);
    TData d = IntData(1);
    d.NextData = &second;
    TPointLink in;
    LinkEvent(in, &e, &TQorDoData::doData, 0);
    CallEvent(in, d);
    ASSERT_EQ(out.Got.size(), 1u);
    EXPECT_EQ(Show(out.Got[0]), "null");
    EXPECT_EQ(out.Got[0].NextData, nullptr);
}

namespace {

// Stores a fixed value into an EventFromData when asked, as the scheme behind
// its onEvent does; notes the record it was given.
struct Feeder : TElement {
    TQorEventFromData *Target = nullptr;
    TData Next;
    const TData *Given = nullptr;
    void doFeed(TData &Data, uint16_t)
    {
        Given = &Data;
        TData v = Next;
        Target->doData(v, 0);
    }
};

} // namespace

TEST(TQorEventFromData, AReadOfVarRunsOnEventFirstWithTheAnsweredRecord)
{
    Running on;
    TQorEventFromData e;
    Feeder feeder;
    feeder.Target = &e;
    feeder.Next = StrData("fresh");
    LinkEvent(e.onEvent, &feeder, &Feeder::doFeed, 0);
    TPointLink var;
    LinkData(var, &e, &TQorEventFromData::Var, 0);

    EXPECT_EQ(Show(e.Value), "null");
    TData answer;
    ReadRaw(answer, var);
    EXPECT_EQ(feeder.Given, &answer) << "onEvent gets the very record being answered";
    EXPECT_EQ(Show(answer), "str fresh") << "the value stored by onEvent's scheme is answered";
}

TEST(TQorEventFromData, DoDataKeepsADeepCopyOfTheWholeChain)
{
    Running on;
    TQorEventFromData e;
    TData third = IntData(3);
    TData second = IntData(2);
    second.NextData = &third;
    TData d = IntData(1);
    d.NextData = &second;
    e.doData(d, 0);
    EXPECT_EQ(Show(d), "null") << "the unwired input takes the incoming value";

    second.IntValue = 20; // the caller's nodes change; the copy must not
    TPointLink var;
    LinkData(var, &e, &TQorEventFromData::Var, 0);
    TData answer;
    ReadRaw(answer, var);
    Texts got;
    for (const TData *n = &answer; n; n = n->NextData)
        got.push_back(Show(*n));
    EXPECT_EQ(got, (Texts{"int 1", "int 2", "int 3"}));
    EXPECT_NE(answer.NextData, &second);

    // storing again replaces the chain (the old nodes are freed, checked by the sanitizer)
    TData single = StrData("one");
    e.doData(single, 0);
    EXPECT_EQ(Show(e.Value), "str one");
    EXPECT_EQ(e.Value.NextData, nullptr);
}

TEST(TQorEventFromData, StoringWhatVarAnsweredKeepsTheChainIntact)
{
    Running on;
    TQorEventFromData e;
    TData second = IntData(2);
    TData d = IntData(1);
    d.NextData = &second;
    e.doData(d, 0);

    TPointLink var;
    LinkData(var, &e, &TQorEventFromData::Var, 0);
    TData answer;
    ReadRaw(answer, var); // shares the stored chain
    e.doData(answer, 0);  // and hands it back
    ASSERT_NE(e.Value.NextData, nullptr);
    EXPECT_EQ(Show(e.Value), "int 1");
    EXPECT_EQ(Show(*e.Value.NextData), "int 2");
}

TEST(TQorEventFromData, AWiredInputIsStoredInsteadOfTheIncomingValue)
{
    Running on;
    TQorEventFromData e;
    Source src;
    src.Answer = StrData("from input");
    LinkData(e.Data, &src, &Source::Value, 0);
    TData d = IntData(1);
    e.doData(d, 0);
    EXPECT_EQ(Show(e.Value), "str from input");
    EXPECT_EQ(Show(d), "int 1");
}

TEST(TQorGetIndexData, TheIndexSelectsTheInputAndIsPassedOnRaw)
{
    Running on;
    TQorGetIndexData e;
    e.SetCount(4);
    Source sources[3];
    for (int i = 0; i < 3; ++i) {
        sources[i].Answer = StrData("input " + std::to_string(i));
        LinkData(e.Data[static_cast<size_t>(i)], &sources[i], &Source::Value, 0);
    } // Data[3] stays unwired
    Sink out;
    LinkEvent(e.onIndex, &out, &Sink::doTake, 0);
    TPointLink var;
    LinkData(var, &e, &TQorGetIndexData::Var, 0);

    TData before = IntData(9);
    ReadRaw(before, var);
    EXPECT_EQ(Show(before), "null") << "no index yet";

    struct Case {
        TData Index;
        std::string Passed;
        int32_t Current;
        std::string Answer;
    } cases[] = {
        {IntData(0), "int 0", 0, "str input 0"},
        {StrData("2"), "int 2", 2, "str input 2"},
        {IntData(3), "int 3", 3, "nolink"},
        {IntData(4), "int 4", -1, "null"},
        {IntData(7), "int 7", -1, "null"},
        {IntData(-1), "int -1", -1, "null"},
        {StrData("x"), "int 0", 0, "str input 0"},
    };
    for (const Case &k : cases) {
        out.Got.clear();
        TPointLink in;
        LinkEvent(in, &e, &TQorGetIndexData::doIndex, 0);
        TData d = k.Index;
        CallEvent(in, d);
        EXPECT_EQ(out.Values(), Texts{k.Passed}) << Show(k.Index);
        EXPECT_EQ(e.Current, k.Current) << Show(k.Index);
        TData answer = IntData(9);
        ReadRaw(answer, var);
        EXPECT_EQ(Show(answer), k.Answer) << Show(k.Index);
    }

    TData one = IntData(1);
    e.doIndex(one, 0);
    EXPECT_EQ(e.Current, 1);
    e.SetCount(2);
    EXPECT_EQ(e.Current, -1) << "the count setter forgets the index";
    EXPECT_EQ(e.Data.size(), 2u);
}

TEST(TQorChanelToIndex, TheMethodNumberReplacesTheIncomingValue)
{
    Running on;
    TQorChanelToIndex e;
    e.Count = 4;
    Sink out;
    LinkEvent(e.onIndex, &out, &Sink::doTake, 0);
    for (uint16_t i : {0, 3, 1, 2}) {
        TPointLink in;
        LinkEvent(in, &e, &TQorChanelToIndex::doWork, i);
        TData d = StrData("ignored");
        CallEvent(in, d);
    }
    EXPECT_EQ(out.Values(), (Texts{"int 0", "int 3", "int 1", "int 2"}));
}

TEST(TQorIndexToChanel, TheValueGoesToTheChannelTheIndexNames)
{
    Running on;
    struct Case {
        const char *What;
        bool IndexWired;
        int32_t Index;
        TData Property;
        TData Incoming;
        int Channel; // -1: none
        std::string Value;
    } cases[] = {
        {"channel 0 gets the property", true, 0, StrData("p"), IntData(5), 0, "str p"},
        {"channel 23 gets the incoming value", true, 23, TData{}, IntData(5), 23, "int 5"},
        {"index 24 of 24 raises nothing", true, 24, StrData("p"), IntData(5), -1, ""},
        {"a negative index raises nothing", true, -1, StrData("p"), IntData(5), -1, ""},
        {"an unwired index takes the incoming value first", false, 0, TData{}, IntData(5), 5, "null"},
    };
    for (const Case &k : cases) {
        TQorIndexToChanel e;
        e.SetCount(24);
        ASSERT_EQ(e.onEvent.size(), 24u);
        e.FData = k.Property;
        Source index;
        index.Answer = IntData(k.Index);
        if (k.IndexWired)
            LinkData(e.Index, &index, &Source::Value, 0);
        std::vector<Sink> channels(24);
        for (size_t i = 0; i < 24; ++i)
            LinkEvent(e.onEvent[i], &channels[i], &Sink::doTake, static_cast<uint16_t>(i));
        TPointLink in;
        LinkEvent(in, &e, &TQorIndexToChanel::doEvent, 0);
        TData d = k.Incoming;
        CallEvent(in, d);
        for (size_t i = 0; i < 24; ++i) {
            Texts expected;
            if (static_cast<int>(i) == k.Channel)
                expected.push_back(k.Value);
            EXPECT_EQ(channels[i].Values(), expected) << k.What << ", channel " << i;
        }
    }
}

TEST(TQorIndexToChanel, AWiredDataInputBeatsTheProperty)
{
    Running on;
    TQorIndexToChanel e;
    e.SetCount(2);
    e.FData = StrData("p");
    Source value;
    value.Answer = StrData("wired");
    LinkData(e.Data, &value, &Source::Value, 0);
    Source index;
    index.Answer = IntData(1);
    LinkData(e.Index, &index, &Source::Value, 0);
    Sink one;
    LinkEvent(e.onEvent[1], &one, &Sink::doTake, 0);
    TData d = IntData(5);
    e.doEvent(d, 0);
    EXPECT_EQ(Show(d), "fwd str wired") << "the record is marked for channel 1";
    TPointLink in;
    LinkEvent(in, &e, &TQorIndexToChanel::doEvent, 0);
    d = IntData(5);
    CallEvent(in, d);
    EXPECT_EQ(one.Values(), Texts{"str wired"});
    e.SetCount(-3);
    EXPECT_TRUE(e.onEvent.empty());
}

TEST(TQorFor, CountsFromStartToEndThenStops)
{
    Running on;
    struct Case {
        int32_t Start, End, Step;
        uint8_t IncludeEnd;
        std::vector<int32_t> Events;
        int32_t Stop;
    } cases[] = {
        {1, 8, 1, 0, {1, 2, 3, 4, 5, 6, 7}, 8},
        {5, 5, 1, 0, {}, 5},
        {5, 5, 1, 1, {5}, 6},
        {5, 0, -2, 1, {5, 3, 1}, -1},
        {5, 0, -2, 0, {5, 3, 1}, -1},
        {5, 1, -2, 0, {5, 3}, 1},
        {0, 3, 0, 1, {}, 0},
        {3, 1, 1, 1, {}, 3},
        {0, 10, 4, 0, {0, 4, 8}, 12},
        // bounds at the ends of the range end the loop; the stop value wraps
        {INT32_MAX - 1, INT32_MAX, 1, 1, {INT32_MAX - 1, INT32_MAX}, INT32_MIN},
        {INT32_MIN + 1, INT32_MIN, -1, 1, {INT32_MIN + 1, INT32_MIN}, INT32_MAX},
        {0, INT32_MIN, 1, 0, {}, 0},
    };
    for (const Case &k : cases) {
        TQorFor e;
        e.FStart = k.Start;
        e.FEnd = k.End;
        e.Step = k.Step;
        e.IncludeEnd = k.IncludeEnd;
        Sink each, stop;
        LinkEvent(e.onEvent, &each, &Sink::doTake, 0);
        LinkEvent(e.onStop, &stop, &Sink::doTake, 0);
        TPointLink in;
        LinkEvent(in, &e, &TQorFor::doFor, 0);
        TData d = IntData(100);
        CallEvent(in, d);
        Texts expected;
        for (int32_t v : k.Events)
            expected.push_back("int " + std::to_string(v));
        std::string what = std::to_string(k.Start) + " to " + std::to_string(k.End) + " step " +
                           std::to_string(k.Step) + " include " + std::to_string(k.IncludeEnd);
        EXPECT_EQ(each.Values(), expected) << what;
        EXPECT_EQ(stop.Values(), Texts{"int " + std::to_string(k.Stop)}) << what;
        EXPECT_EQ(e.Counter, k.Stop) << what;
    }
}

TEST(TQorFor, BoundsComeFromTheInputsStartFirstAndFromTheIncomingValueOnlyWithInData)
{
    Running on;
    Texts log;
    TQorFor e;
    e.FStart = 0;
    e.FEnd = 3;
    e.Step = 1;
    Sink each, stop;
    LinkEvent(e.onEvent, &each, &Sink::doTake, 0);
    LinkEvent(e.onStop, &stop, &Sink::doTake, 0);

    TData d = IntData(2);
    e.InData = 0;
    e.doFor(d, 0);
    EXPECT_EQ(each.Values(), (Texts{"int 0", "int 1", "int 2"})) << "InData 0 ignores the incoming 2";

    each.Got.clear();
    d = IntData(2);
    e.InData = 1;
    e.doFor(d, 0);
    EXPECT_EQ(each.Values(), Texts{"int 2"}) << "InData 1 takes the start from the incoming value";

    each.Got.clear();
    Source start, end;
    start.Answer = IntData(10);
    end.Answer = IntData(12);
    start.Log = end.Log = &log;
    start.Name = "Start";
    end.Name = "End";
    LinkData(e.Start, &start, &Source::Value, 0);
    LinkData(e.End, &end, &Source::Value, 0);
    d = IntData(2);
    e.doFor(d, 0);
    EXPECT_EQ(log, (Texts{"read Start", "read End"}));
    EXPECT_EQ(each.Values(), (Texts{"int 10", "int 11"}));
}

namespace {

// Measures how deep the stack is when the end of a chain is reached.
struct DepthProbe : TElement {
    const char *Top = nullptr;
    ptrdiff_t Depth = 0;
    TData Got;
    void doProbe(TData &Data, uint16_t)
    {
        char here;
        Depth = Top - &here;
        Got = Data;
    }
};

} // namespace

TEST(FlowChain, AHundredThousandForwardingElementsRunWithoutGrowingTheStack)
{
    Running on;
    const size_t triples = 33334; // 100002 elements
    std::vector<TQorDoData> passes(triples);
    std::vector<TQorMemory> stores(triples);
    std::vector<TQorChanelToIndex> channels(triples);
    DepthProbe probe;
    for (size_t i = 0; i < triples; ++i) {
        passes[i].FData = IntData(static_cast<int32_t>(i));
        LinkEvent(passes[i].onEventData, &stores[i], &TQorMemory::doValue, 0);
        LinkEvent(stores[i].onData, &channels[i], &TQorChanelToIndex::doWork, static_cast<uint16_t>(i % 1000));
        if (i + 1 < triples)
            LinkEvent(channels[i].onIndex, &passes[i + 1], &TQorDoData::doData, 0);
        else
            LinkEvent(channels[i].onIndex, &probe, &DepthProbe::doProbe, 0);
    }
    TPointLink first;
    LinkEvent(first, &passes[0], &TQorDoData::doData, 0);
    char top;
    probe.Top = &top;
    TData d = StrData("start");
    CallEvent(first, d);

    EXPECT_EQ(Show(probe.Got), "int " + std::to_string((triples - 1) % 1000));
    EXPECT_EQ(Show(stores[triples - 1].FValue), "int " + std::to_string(triples - 1));
    EXPECT_EQ(Show(stores[0].FValue), "int 0");
    EXPECT_LT(probe.Depth, 64 * 1024) << "the chain nested instead of looping";
    EXPECT_EQ(Show(d), "int " + std::to_string((triples - 1) % 1000)) << "the flag is cleared at the end";
}
