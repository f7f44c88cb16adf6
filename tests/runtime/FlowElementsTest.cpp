#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEventFromData.h"
#include "runtime/TQorFor.h"
#include "runtime/TQorGetIndexData.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorIndexToChanel.h"

using namespace testkit;

namespace {
using Texts = std::vector<std::string>;

// Overwrites the record it receives, after noting it.
struct Changer : TElement {
    Texts *Log = nullptr;
    void doChange(TData &Data, uint16_t)
    {
        Log->push_back("changer: " + Show(Data));
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
    Changer first;
    first.Log = &log;
    Sink second, third;
    second.Log = third.Log = &log;
    second.Name = "out 1";
    third.Name = "out 2";
    LinkEvent(hub.onEvent[0], &first, &Changer::doChange, 0);
    LinkEvent(hub.onEvent[1], &second, &Sink::doTake, 0);
    LinkEvent(hub.onEvent[2], &third, &Sink::doTake, 0);

    EXPECT_EQ(Show(Call(&hub, &TQorHub::doEvent, IntData(4))), "int 4") << "the caller's record is left alone";
    EXPECT_EQ(log, (Texts{"changer: int 4", "out 1: int 4", "out 2: int 4"}));
}

TEST(TQorDoData, TheOutputCarriesTheInputElseThePropertyNeverTheIncomingValue)
{
    Running on;
    TData noLink;
    noLink.DataType = dtNoLink;
    struct Case {
        const char *What;
        bool Wired;
        TData Answer;
        TData Property;
        std::string Expected;
    } cases[] = {
        {"unwired input, null property", false, {}, {}, "null"},
        {"unwired input, property set", false, {}, StrData("p"), "str p"},
        {"wired input beats the property", true, IntData(3), StrData("p"), "int 3"},
        {"an input ending at an unwired outer point falls back", true, noLink, StrData("p"), "str p"},
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
        Call(&e, &TQorDoData::doData, IntData(5));
        EXPECT_EQ(out.Values(), Texts{k.Expected}) << k.What;
    }
}

namespace {
// Stores a fixed value into an EventFromData when asked, as the scheme behind
// its onEvent does; notes the record it was given.
struct Feeder : TElement {
    TQorEventFromData *Target = nullptr;
    const TData *Given = nullptr;
    void doFeed(TData &Data, uint16_t)
    {
        Given = &Data;
        TData v = StrData("fresh");
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
    LinkEvent(e.onEvent, &feeder, &Feeder::doFeed, 0);
    TPointLink var;
    LinkData(var, &e, &TQorEventFromData::Var, 0);
    TData answer;
    ReadRaw(answer, var);
    EXPECT_EQ(feeder.Given, &answer) << "onEvent gets the very record being answered";
    EXPECT_EQ(Show(answer), "str fresh") << "the value stored by onEvent's scheme is answered";
}

TEST(TQorEventFromData, DoDataKeepsADeepCopyOfTheChainEvenOfWhatVarAnswered)
{
    Running on;
    TQorEventFromData e;
    TData second = IntData(2);
    TData d = IntData(1);
    d.NextData = &second;
    e.doData(d, 0);
    second.IntValue = 20; // the caller's nodes change; the copy must not

    TPointLink var;
    LinkData(var, &e, &TQorEventFromData::Var, 0);
    TData answer;
    ReadRaw(answer, var); // shares the stored chain
    e.doData(answer, 0);  // and hands it back: copied before the old chain goes
    ASSERT_NE(e.Value.NextData, nullptr);
    EXPECT_NE(e.Value.NextData, &second);
    EXPECT_EQ(Show(e.Value), "int 1");
    EXPECT_EQ(Show(*e.Value.NextData), "int 2");
}

TEST(TQorGetIndexData, TheIndexSelectsTheInputAndIsPassedOnRaw)
{
    Running on;
    TQorGetIndexData e;
    e.SetCount(4);
    Source two;
    two.Answer = StrData("input 2");
    LinkData(e.Data[2], &two, &Source::Value, 0); // the others stay unwired
    Sink out;
    LinkEvent(e.onIndex, &out, &Sink::doTake, 0);
    TPointLink var;
    LinkData(var, &e, &TQorGetIndexData::Var, 0);
    struct Case {
        TData Index;
        std::string Answer;
    } cases[] = {
        {StrData("2"), "str input 2"},
        {IntData(3), "nolink"},
        {IntData(7), "null"},
        {IntData(-1), "null"},
    };
    for (const Case &k : cases) {
        out.Got.clear();
        Call(&e, &TQorGetIndexData::doIndex, k.Index);
        EXPECT_EQ(out.Values(), Texts{"int " + std::to_string(ToInteger(k.Index))}) << Show(k.Index);
        TData answer = IntData(9);
        ReadRaw(answer, var);
        EXPECT_EQ(Show(answer), k.Answer) << Show(k.Index);
    }
}

TEST(TQorIndexToChanel, TheValueGoesToTheChannelTheIndexNames)
{
    Running on;
    struct Case {
        int32_t Index;
        TData Property;
        std::vector<uint16_t> Channels;
        Texts Values;
    } cases[] = {
        {0, StrData("p"), {0}, {"str p"}},
        {23, TData{}, {23}, {"int 5"}},
        {24, StrData("p"), {}, {}},
        {-1, StrData("p"), {}, {}},
    };
    for (const Case &k : cases) {
        TQorIndexToChanel e;
        e.SetCount(24);
        e.FData = k.Property;
        Source index;
        index.Answer = IntData(k.Index);
        LinkData(e.Index, &index, &Source::Value, 0);
        Sink channels;
        for (size_t i = 0; i < 24; ++i)
            LinkEvent(e.onEvent[i], &channels, &Sink::doTake, static_cast<uint16_t>(i));
        Call(&e, &TQorIndexToChanel::doEvent, IntData(5));
        EXPECT_EQ(channels.Indexes, k.Channels) << "index " << k.Index;
        EXPECT_EQ(channels.Values(), k.Values) << "index " << k.Index;
    }
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
        {1, 8, 1, 0, 0, {1, 2, 3, 4, 5, 6, 7}, 8},
        {5, 5, 1, 0, 0, {}, 5},
        {5, 5, 1, 1, 0, {5}, 6},
        {5, 0, -2, 1, 0, {5, 3, 1}, -1},
        {5, 1, -2, 0, 0, {5, 3}, 1},
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
        Call(&e, &TQorFor::doFor, IntData(2));
        Texts expected;
        for (int32_t v : k.Events)
            expected.push_back("int " + std::to_string(v));
        std::string what = std::to_string(k.Start) + " to " + std::to_string(k.End) + " step " +
                           std::to_string(k.Step) + " include " + std::to_string(k.IncludeEnd);
        EXPECT_EQ(each.Values(), expected) << what;
        EXPECT_EQ(stop.Values(), Texts{"int " + std::to_string(k.Stop)}) << what;
    }
}
