#include <gtest/gtest.h>

#include <vector>

#include "runtime/TScheme.h"

namespace {

// Switches dispatch on for one test and off again afterwards.
struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
};

// A data output that answers a fixed value, or leaves the record as it is.
struct Source : TElement {
    TData Answer;
    bool Touch = true;
    int Reads = 0;
    void Value(TData &Data, uint16_t)
    {
        ++Reads;
        if (Touch)
            Data = Answer;
    }
};

// A method that records what it received.
struct Sink : TElement {
    std::vector<TData> Got;
    std::vector<uint16_t> Indexes;
    void doTake(TData &Data, uint16_t Index)
    {
        Got.push_back(Data);
        Indexes.push_back(Index);
    }
};

} // namespace

TEST(ReadOperations, DefaultBeatsTheIncomingValueAndOnlyAWiredLinkBeatsTheDefault)
{
    Running on;
    TPointLink unwired;
    TData in = IntData(7);
    EXPECT_EQ(ReadInteger(in, unwired, 5), 5);
    EXPECT_EQ(in.DataType, dtInteger) << "the incoming value stays when the default wins";

    EXPECT_EQ(ReadInteger(in, unwired, 0), 7);
    EXPECT_EQ(in.DataType, dtNull) << "the incoming value is consumed";
    EXPECT_EQ(ReadInteger(in, unwired, 0), 0);

    Source src;
    src.Answer = IntData(3);
    TPointLink wired;
    LinkData(wired, &src, &Source::Value, 0);
    in = IntData(7);
    EXPECT_EQ(ReadInteger(in, wired, 5), 3);
    EXPECT_EQ(in.IntValue, 7);

    src.Touch = false; // the target leaves the record null: 0, not the default
    EXPECT_EQ(ReadInteger(in, wired, 9), 0);
    EXPECT_EQ(in.DataType, dtInteger);
}

TEST(ReadOperations, ScalarReadsConvertWhatTheyGet)
{
    Running on;
    TPointLink unwired;
    TData in = IntData(12);
    EXPECT_EQ(ReadString(in, unwired, ""), "12");
    in = StrData("2.5");
    EXPECT_DOUBLE_EQ(ReadReal(in, unwired, 0.0), 2.5);
    in = StrData("abc");
    EXPECT_EQ(ReadString(in, unwired, "def"), "def");
    EXPECT_EQ(in.StrValue, "abc");
    in = RealData(3.5);
    EXPECT_EQ(ReadInteger(in, unwired, 0), 4);
}

TEST(ReadOperations, ReadStringToGivesWhatReadStringGivesAndConsumesAlike)
{
    Running on;
    Source src;
    TPointLink wired;
    LinkData(wired, &src, &Source::Value, 0);
    TPointLink unwired;
    TData next = StrData("second");
    TData noLink;
    noLink.DataType = dtNoLink;
    struct Case {
        const char *What;
        const TPointLink *Link;
        TData Answer;
        std::string Default;
        TData In;
        bool Chained;
    } cases[] = {
        {"wired string", &wired, StrData("w"), "d", StrData("in"), false},
        {"wired number", &wired, IntData(12), "", StrData("in"), false},
        {"wired, ends unwired outside", &wired, noLink, "d", StrData("in"), false},
        {"default", &unwired, TData(), "d", StrData("in"), false},
        {"incoming string", &unwired, TData(), "", StrData("in"), false},
        {"incoming real", &unwired, TData(), "", RealData(2.5), false},
        {"incoming chain", &unwired, TData(), "", StrData("first"), true},
        {"nothing", &unwired, TData(), "", TData(), false},
    };
    for (Case &c : cases) {
        src.Answer = c.Answer;
        TData a = c.In, b = c.In;
        if (c.Chained)
            a.NextData = b.NextData = &next;
        const std::string expected = ReadString(a, *c.Link, c.Default);
        std::string got = "room from before, longer than any answer";
        ReadStringTo(b, *c.Link, c.Default, got);
        EXPECT_EQ(got, expected) << c.What;
        EXPECT_EQ(b.DataType, a.DataType) << c.What << ": the record is left alike";
        EXPECT_EQ(b.NextData, a.NextData) << c.What;
        if (a.DataType == dtString) {
            EXPECT_EQ(b.StrValue, a.StrValue) << c.What;
        }
    }
}

TEST(ReadOperations, BeforeStartHooksAWiredReadAnswersNull)
{
    Source src;
    src.Answer = IntData(3);
    TPointLink wired;
    LinkData(wired, &src, &Source::Value, 0);
    TData in = IntData(7);
    EXPECT_EQ(ReadInteger(in, wired, 9), 0) << "the default counts only for unwired inputs";
    EXPECT_EQ(ReadString(in, wired, "d"), "");
    EXPECT_EQ(src.Reads, 0);
    TData raw = IntData(1);
    ReadRaw(raw, wired);
    EXPECT_EQ(raw.IntValue, 1) << "an idle hook leaves the record as it was";
}

TEST(ReadOperations, AnUnwiredOuterPointFallsBackLikeAnUnwiredInput)
{
    Running on;
    Source edge; // stands for a container edge whose outer input is unwired
    edge.Answer.DataType = dtNoLink;
    TPointLink throughEdge;
    LinkData(throughEdge, &edge, &Source::Value, 0);
    TData in = StrData("11");
    EXPECT_EQ(ReadInteger(in, throughEdge, 4), 4);
    EXPECT_EQ(ReadInteger(in, throughEdge, 0), 11);
    EXPECT_EQ(in.DataType, dtNull);
    EXPECT_EQ(ReadArray(throughEdge), nullptr);
    EXPECT_EQ(ReadIntegerLink(throughEdge), 0);

    TPointLink unwired;
    TData raw = IntData(5);
    ReadRaw(raw, unwired);
    EXPECT_EQ(raw.DataType, dtNoLink);
}

TEST(ReadOperations, ReadDataTakesTheWholeChainAndReadDataFirstOnlyTheHead)
{
    Running on;
    TPointLink unwired;
    TData second = IntData(2);
    TData in = IntData(1);
    in.NextData = &second;

    TData result;
    ReadDataFirst(in, unwired, nullptr, result);
    EXPECT_EQ(result.IntValue, 1);
    EXPECT_EQ(result.NextData, nullptr);
    EXPECT_EQ(in.IntValue, 2) << "the next value moves up";

    in = IntData(1);
    in.NextData = &second;
    ReadData(in, unwired, nullptr, result);
    EXPECT_EQ(result.NextData, &second);
    EXPECT_EQ(in.DataType, dtNull);
    EXPECT_EQ(in.NextData, nullptr);

    TData def = StrData("d");
    in = IntData(1);
    ReadData(in, unwired, &def, result);
    EXPECT_EQ(result.StrValue, "d");
    EXPECT_EQ(in.IntValue, 1);

    TData nullDefault;
    ReadDataFirst(in, unwired, &nullDefault, result);
    EXPECT_EQ(result.IntValue, 1) << "a null default does not count";
}

TEST(ReadOperations, StreamAndArrayReadsCheckTheKind)
{
    Running on;
    int dummy = 0;
    auto *stream = reinterpret_cast<winlayer::TWinStream *>(&dummy);
    TPointLink unwired;
    TData in;
    in.dtStream(stream);
    EXPECT_EQ(ReadStream(in, unwired, nullptr), stream);
    EXPECT_EQ(in.DataType, dtNull);
    in = StrData("not a stream");
    EXPECT_EQ(ReadStream(in, unwired, nullptr), nullptr);

    Source src;
    src.Answer = IntData(1);
    TPointLink wired;
    LinkData(wired, &src, &Source::Value, 0);
    EXPECT_EQ(ReadArray(wired), nullptr);
    EXPECT_EQ(ReadStream(in, wired, stream), nullptr) << "a wired answer of another kind gives none";
    EXPECT_EQ(ReadIntegerLink(wired), 1);
    EXPECT_EQ(ReadIntegerLink(unwired), 0);
}

namespace {

// Each method forwards an incremented integer to the next element.
struct Counter : TElement {
    TPointLink onNext;
    int Calls = 0;
    void doStep(TData &Data, uint16_t)
    {
        ++Calls;
        ForwardInt(Data, onNext, Data.IntValue + 1);
    }
};

// Measures how deep the stack is when the last element of a chain runs.
struct DepthProbe : TElement {
    const char *Top = nullptr;
    ptrdiff_t Depth = 0;
    void doProbe(TData &, uint16_t)
    {
        char here;
        Depth = Top - &here;
    }
};

} // namespace

TEST(Dispatch, AForwardingChainRunsAsALoopWithoutGrowingTheStack)
{
    Running on;
    const int n = 100000;
    std::vector<Counter> chain(n);
    DepthProbe probe;
    for (int i = 0; i + 1 < n; ++i)
        LinkEvent(chain[static_cast<size_t>(i)].onNext, &chain[static_cast<size_t>(i) + 1], &Counter::doStep, 0);
    LinkEvent(chain.back().onNext, &probe, &DepthProbe::doProbe, 0);

    TPointLink first;
    LinkEvent(first, &chain[0], &Counter::doStep, 0);
    char top;
    probe.Top = &top;
    TData d = IntData(0);
    CallEvent(first, d);
    EXPECT_EQ(d.IntValue, n);
    EXPECT_EQ(d.DataType, dtInteger) << "the flag is cleared when the chain ends";
    EXPECT_EQ(chain.back().Calls, 1);
    EXPECT_LT(probe.Depth, 64 * 1024) << "the chain nested instead of looping";
}

TEST(Dispatch, AForwardToAnUnwiredLinkEndsTheChainWithTheFlagCleared)
{
    Running on;
    Counter last;
    TPointLink first;
    LinkEvent(first, &last, &Counter::doStep, 0);
    TData d = IntData(41);
    CallEvent(first, d);
    EXPECT_EQ(d.DataType, dtInteger);
    EXPECT_EQ(d.IntValue, 42);
}

TEST(Dispatch, IdleHooksDropEvents)
{
    Sink sink;
    TPointLink link;
    LinkEvent(link, &sink, &Sink::doTake, 3);
    CallEventInt(link, 1);
    EXPECT_TRUE(sink.Got.empty());
    StartHooks();
    CallEventInt(link, 1);
    StopHooks();
    CallEventInt(link, 2);
    ASSERT_EQ(sink.Got.size(), 1u);
    EXPECT_EQ(sink.Indexes[0], 3);
}

TEST(Dispatch, FreshRecordVariantsLeaveTheCallersRecordAlone)
{
    Running on;
    struct Changer : TElement {
        void doChange(TData &Data, uint16_t) { Data.dtString("changed"); }
    } changer;
    TPointLink link;
    LinkEvent(link, &changer, &Changer::doChange, 0);
    TData mine = IntData(5);
    CallEventCopy(link, mine);
    EXPECT_EQ(mine.IntValue, 5);
    EXPECT_EQ(mine.DataType, dtInteger);
    CallEvent(link, mine);
    EXPECT_EQ(mine.StrValue, "changed");

    Sink sink;
    LinkEvent(link, &sink, &Sink::doTake, 0);
    CallEventInt(link, 1);
    CallEventReal(link, 2.5);
    CallEventStr(link, "s");
    CallEventNull(link);
    ASSERT_EQ(sink.Got.size(), 4u);
    EXPECT_EQ(sink.Got[0].DataType, dtInteger);
    EXPECT_EQ(sink.Got[1].DataType, dtReal);
    EXPECT_EQ(sink.Got[2].StrValue, "s");
    EXPECT_EQ(sink.Got[3].DataType, dtNull);
}

TEST(Dispatch, ForwardOperationsMarkTheRecord)
{
    TPointLink link;
    TData next = IntData(9);

    TData d = StrData("s");
    d.NextData = &next;
    ForwardSame(d, link);
    EXPECT_EQ(d.DataType, dtForward | dtString);
    EXPECT_EQ(d.StrValue, "s");
    EXPECT_EQ(d.NextData, &next) << "ForwardSame keeps value and chain";
    EXPECT_EQ(d.ForwardLink, &link);

    ForwardInt(d, link, 4);
    EXPECT_EQ(d.DataType, dtForward | dtInteger);
    EXPECT_EQ(d.NextData, nullptr);

    d.NextData = &next;
    ForwardNull(d, link);
    EXPECT_EQ(d.DataType, dtForward | dtNull);

    TData stored = RealData(1.5);
    ForwardValue(d, link, stored);
    EXPECT_EQ(d.DataType, dtForward | dtReal);
    EXPECT_EQ(d.RealValue, 1.5);

    TData flagged;
    flagged.DataType = dtForward | dtInteger;
    ForwardSame(flagged, link);
    EXPECT_EQ(flagged.DataType, dtInteger) << "the flag addition wraps on the byte";

    // The forms that take a value the caller gives up mark the record alike.
    TData chained = StrData("moved");
    chained.NextData = &next;
    ForwardValue(d, link, std::move(chained));
    EXPECT_EQ(d.DataType, dtForward | dtString);
    EXPECT_EQ(d.StrValue, "moved");
    EXPECT_EQ(d.NextData, &next) << "a full copy: the chain comes along";
    EXPECT_EQ(d.ForwardLink, &link);
    std::string text = "taken";
    ForwardStr(d, link, std::move(text));
    EXPECT_EQ(d.DataType, dtForward | dtString);
    EXPECT_EQ(d.StrValue, "taken");
    EXPECT_EQ(d.NextData, nullptr);
}

TEST(StartList, RunsInOrderIncludingEntriesAddedWhileRunning)
{
    static std::vector<int> order;
    order.clear();
    struct Entry {
        int Id;
        bool AddMore;
        static void Run(void *p)
        {
            auto *e = static_cast<Entry *>(p);
            order.push_back(e->Id);
            if (e->AddMore) {
                static Entry late{3, false};
                RegisterStart(&Entry::Run, &late);
            }
        }
    };
    Entry a{1, true}, b{2, false};
    Started = false;
    RegisterStart(&Entry::Run, &a);
    RegisterStart(&Entry::Run, &b);
    RunStartList();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(Started);
    RunStartList();
    EXPECT_EQ(order.size(), 3u) << "the list is emptied after a run";
}

TEST(DebugMessage, GoesThroughTheSink)
{
    static std::string seen;
    TDebugSink old = SetDebugMessageSink([](const std::string &t) { seen = t; });
    DebugMessage("Self destruction is not allowed !!!");
    SetDebugMessageSink(old);
    EXPECT_EQ(seen, "Self destruction is not allowed !!!");
}
