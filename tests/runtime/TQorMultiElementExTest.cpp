#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TClassMultiBase.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"

using namespace testkit;

namespace {

// What happened to sub-scheme instances, across the whole of one test.
struct Census {
    static int Made;
    static int Live;
    static std::vector<std::string> Log;
    static void Reset()
    {
        Made = 0;
        Live = 0;
        Log.clear();
    }
};
int Census::Made = 0;
int Census::Live = 0;
std::vector<std::string> Census::Log;

// An inner element that notes when it is freed.
struct Probe : TElement {
    std::string Name;
    ~Probe() { Census::Log.push_back("~" + Name); }
};

// A sub-scheme with every kind of crossing:
//   outer doWork[0] -> Pass (reads outer Data[0], default "inner default") -> outer onEvent[0]
//   outer doWork[1] -> Store.doValue; Store.onData -> outer onEvent[1]
//   outer doWork[2]: no inner target
//   outer Var[0] <- Store.Value (Default int 7); outer Var[1]: no inner source
struct TestSub : TClassMultiBase {
    TQorDoData *Pass;
    TQorMemory *Store;
    Probe *Tail;
    int Number;

    TestSub(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
        : TClassMultiBase(Container, Parent, MainScheme), Number(Census::Made++)
    {
        ++Census::Live;
        Edge = Make<TQorEditMultiEx>();
        Edge->SetEventCount(3);
        Edge->SetDataCount(2);
        Edge->Container = Container;
        Edge->Scheme = this;

        Pass = Make<TQorDoData>();
        Pass->FData = StrData("inner default");

        Store = Make<TQorMemory>();
        Store->SetDefault(IntData(7));

        Tail = Make<Probe>();
        Tail->Name = "instance " + std::to_string(Number);

        LinkEvent(Edge->onEvent[0], Pass, &TQorDoData::doData, 0);
        LinkEvent(Edge->onEvent[1], Store, &TQorMemory::doValue, 0);
        LinkEvent(Pass->onEventData, Edge, &TQorEditMultiEx::doWork, 0);
        LinkEvent(Store->onData, Edge, &TQorEditMultiEx::doWork, 1);

        LinkData(Edge->Data[0], Store, &TQorMemory::Value, 0);
        LinkData(Pass->Data, Edge, &TQorEditMultiEx::Var, 0);
    }
    ~TestSub() override { --Census::Live; }
};

TestSub *SubOf(TQorEditMultiEx *Edge)
{
    return static_cast<TestSub *>(Edge->Scheme);
}

// A container as an enclosing scheme sets it up: 2 outer events, 1 outer data input.
std::unique_ptr<TQorMultiElementEx> NewContainer(uint8_t Mode, TInstanceFactory Factory)
{
    auto c = std::make_unique<TQorMultiElementEx>(nullptr);
    c->Mode = Mode;
    c->SetEventCount(2);
    c->SetDataCount(1);
    if (Factory)
        c->SetInstanceFactory(Factory);
    return c;
}

// Notes the container's innermost crossing when it is called.
struct ChainSpy : TElement {
    const TQorMultiElementEx *Watched = nullptr;
    std::vector<const TQorEditMultiEx *> Crossed;
    void doSee(TData &, uint16_t) { Crossed.push_back(Watched->CallChain ? Watched->CallChain->Edge : nullptr); }
};

// Asks the container to delete an instance while it is called.
struct Deleter : TElement {
    TQorMultiElementEx *Target = nullptr;
    int32_t Number = 0;
    uint16_t Method = 65535;
    void doDelete(TData &Data, uint16_t) { Target->DeleteInstance(Number, Method, Data); }
};

class Containers : public ::testing::Test {
protected:
    void SetUp() override { Census::Reset(); }
    Running On;
    StartedAs NotStarted{false};
};

} // namespace

TEST_F(Containers, ModeZeroCreatesOneCurrentInstanceWhenTheFactoryIsSet)
{
    auto c = NewContainer(0, NewInstance<TestSub>);
    ASSERT_NE(c->Current, nullptr);
    EXPECT_EQ(c->Instances, std::vector<TQorEditMultiEx *>{c->Current});
    EXPECT_EQ(c->Current->Container, c.get());
    EXPECT_EQ(Census::Made, 1);
    EXPECT_EQ(SubOf(c->Current)->Edge, c->Current) << "the factory answers the new instance's edge";
}

TEST_F(Containers, OuterCallsAndReadsCrossIntoTheInstance)
{
    auto c = NewContainer(0, NewInstance<TestSub>);
    Sink out0, out1;
    LinkEvent(c->onEvent[0], &out0, &Sink::doTake, 0);
    LinkEvent(c->onEvent[1], &out1, &Sink::doTake, 0);
    Source outer;
    outer.Answer = StrData("outer value");
    LinkData(c->Data[0], &outer, &Source::Value, 0);

    // outer doWork[1] reaches the inner method, whose event comes back out as onEvent[1]
    TData d = IntData(5);
    c->doWork(d, 1);
    EXPECT_EQ(Show(SubOf(c->Current)->Store->FValue), "int 5");
    EXPECT_EQ(out1.Values(), std::vector<std::string>{"int 5"});

    // outer Var[0] reaches the inner data output, read by a real outer element
    TQorMemory reader;
    LinkData(reader.Data, c.get(), &TQorMultiElementEx::Var, 0);
    TData r;
    reader.doValue(r, 0);
    EXPECT_EQ(Show(reader.FValue), "int 5");

    // the inner element reads the outer data input through the edge
    d = IntData(1);
    c->doWork(d, 0);
    EXPECT_EQ(outer.Reads, 1);
    EXPECT_EQ(out0.Values(), std::vector<std::string>{"str outer value"});
}

TEST_F(Containers, AnUnwiredOuterInputLetsTheInnerElementUseItsOwnDefault)
{
    auto c = NewContainer(0, NewInstance<TestSub>);
    Sink out0;
    LinkEvent(c->onEvent[0], &out0, &Sink::doTake, 0);
    TData d = StrData("incoming");
    c->doWork(d, 0);
    EXPECT_EQ(out0.Values(), std::vector<std::string>{"str inner default"});

    TData raw = IntData(3);
    c->Var(raw, 1);
    EXPECT_EQ(Show(raw), "nolink") << "an outer Var with no inner source answers like an unwired input";
}

TEST_F(Containers, UnwiredEntriesOnEitherSideDoNothing)
{
    auto c = NewContainer(0, NewInstance<TestSub>);
    struct Case {
        const char *What;
        uint16_t Index;
        bool Outer;
    } cases[] = {
        {"outer doWork[2] has no inner target", 2, true},
        {"outer doWork[9] is past the edge's events", 9, true},
        {"inner Store.onData reaches the unwired outer onEvent[1]", 1, true},
        {"edge doWork[1] with the outer event unwired", 1, false},
        {"edge doWork[5] is past the container's events", 5, false},
    };
    for (const Case &k : cases) {
        TData d = IntData(11);
        if (k.Outer)
            c->doWork(d, k.Index);
        else
            c->Current->doWork(d, k.Index);
        EXPECT_EQ(c->CallChain, nullptr) << k.What;
    }
    EXPECT_EQ(Show(SubOf(c->Current)->Store->FValue), "int 11") << "only doWork[1] reached the store";
    TData raw = IntData(3);
    c->Current->Var(raw, 4);
    EXPECT_EQ(Show(raw), "nolink") << "the edge's Var past the container's inputs";
}

TEST_F(Containers, EveryOutwardCrossingIsOnTheCallChainWhileItRuns)
{
    auto c = NewContainer(0, NewInstance<TestSub>);
    ChainSpy spy;
    spy.Watched = c.get();
    LinkEvent(c->onEvent[0], &spy, &ChainSpy::doSee, 0);
    TData d;
    c->doWork(d, 0);
    ASSERT_EQ(spy.Crossed.size(), 1u);
    EXPECT_EQ(spy.Crossed[0], c->Current);
    EXPECT_EQ(c->CallChain, nullptr) << "the frame is gone when the crossing returns";
}

TEST_F(Containers, EventsRaisedWhileTheInstanceIsBuiltAreDropped)
{
    struct NoisySub : TestSub {
        NoisySub(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
            : TestSub(Container, Parent, MainScheme)
        {
            CallEventStr(Pass->onEventData, "while building");
        }
    };
    StopHooks(); // as while a scheme is constructed
    auto c = std::make_unique<TQorMultiElementEx>(nullptr);
    c->Mode = 0;
    c->SetEventCount(2);
    c->SetDataCount(1);
    Sink out0;
    LinkEvent(c->onEvent[0], &out0, &Sink::doTake, 0);
    c->SetInstanceFactory(NewInstance<NoisySub>);
    EXPECT_TRUE(out0.Got.empty()) << "first: " << (out0.Got.empty() ? "" : Show(out0.Got[0]));

    StartHooks();
    TData d;
    c->doWork(d, 0);
    EXPECT_EQ(out0.Values(), std::vector<std::string>{"str inner default"}) << "the wiring itself works";
}

TEST_F(Containers, WithoutACurrentInstanceEachCallUsesATemporaryOne)
{
    auto c = NewContainer(1, NewInstance<TestSub>);
    EXPECT_EQ(Census::Made, 0) << "mode 1 creates nothing when the factory is set";
    Sink out0;
    LinkEvent(c->onEvent[0], &out0, &Sink::doTake, 0);

    TData d = IntData(5);
    c->doWork(d, 1);
    EXPECT_EQ(Census::Made, 1);
    EXPECT_EQ(Census::Live, 0) << "freed at once";
    EXPECT_TRUE(c->Instances.empty());
    EXPECT_EQ(c->Current, nullptr);

    TData r;
    c->Var(r, 0);
    EXPECT_EQ(Show(r), "int 7") << "a fresh instance, not the one that stored 5";
    EXPECT_EQ(Census::Made, 2);
    EXPECT_EQ(Census::Live, 0);

    d = IntData(1);
    c->doWork(d, 0);
    EXPECT_EQ(out0.Values(), std::vector<std::string>{"str inner default"});
    EXPECT_EQ(Census::Made, 3);
    EXPECT_EQ(Census::Live, 0);
    EXPECT_TRUE(c->Instances.empty());
    EXPECT_EQ(Census::Log, (std::vector<std::string>{"~instance 0", "~instance 1", "~instance 2"}));
}

TEST_F(Containers, WithoutAFactoryCallsDoNothingAndReadsAnswerNoLink)
{
    auto c = NewContainer(1, nullptr);
    TData d = IntData(5);
    c->doWork(d, 0);
    EXPECT_EQ(Show(d), "int 5");
    c->Var(d, 0);
    EXPECT_EQ(Show(d), "nolink");
    c->SetInstanceFactory(nullptr);
    EXPECT_EQ(c->Current, nullptr);
}

namespace {

// Registers a start-up routine while it is built, as a timer inside a
// sub-scheme does, and notes what the routine saw.
struct StartingSub : TestSub {
    static std::vector<std::string> Seen;
    bool StartedWhileBuilt;

    StartingSub(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
        : TestSub(Container, Parent, MainScheme), StartedWhileBuilt(Started)
    {
        RegisterStart(&StartingSub::Begin, this);
    }
    static void Begin(void *Object)
    {
        auto *self = static_cast<StartingSub *>(Object);
        TQorMultiElementEx *c = self->Edge->Container;
        bool listed = !c->Instances.empty() && c->Instances.back() == self->Edge;
        Seen.push_back(std::string("begin ") + (c->Current == self->Edge ? "current" : "not current") +
                       (listed ? " listed" : " unlisted"));
    }
};
std::vector<std::string> StartingSub::Seen;

} // namespace

TEST_F(Containers, StartUpRoutinesOfAnInstanceWaitForTheMainStart)
{
    StartingSub::Seen.clear();
    auto c = NewContainer(0, NewInstance<StartingSub>);
    EXPECT_FALSE(static_cast<StartingSub *>(c->Current->Scheme)->StartedWhileBuilt);
    EXPECT_TRUE(StartingSub::Seen.empty()) << "ran before the main start";
    EXPECT_FALSE(Started);
    RunStartList(); // the main start
    EXPECT_EQ(StartingSub::Seen, std::vector<std::string>{"begin current listed"});
}

TEST_F(Containers, StartUpRoutinesOfAnInstanceMadeAfterTheStartRunAtOnce)
{
    StartingSub::Seen.clear();
    Started = true;
    auto c = NewContainer(0, NewInstance<StartingSub>);
    EXPECT_FALSE(static_cast<StartingSub *>(c->Current->Scheme)->StartedWhileBuilt)
        << "Started is false while the instance is built";
    EXPECT_EQ(StartingSub::Seen, std::vector<std::string>{"begin current listed"});
    EXPECT_TRUE(Started) << "the flag is back on afterwards";

    // a temporary instance runs its routines at once too, and they see it as temporary
    StartingSub::Seen.clear();
    c->Current = nullptr;
    TData d;
    c->doWork(d, 2);
    EXPECT_EQ(StartingSub::Seen, std::vector<std::string>{"begin not current unlisted"});
    EXPECT_EQ(Census::Live, 1) << "only the lasting instance lives on";
    EXPECT_TRUE(Started);
}

TEST_F(Containers, AnInstanceCannotDeleteItself)
{
    DebugCapture box;
    auto c = NewContainer(0, NewInstance<TestSub>);
    Deleter self;
    self.Target = c.get();
    self.Number = 0;
    self.Method = 1; // would store the record in the instance if step 3 ran
    LinkEvent(c->onEvent[0], &self, &Deleter::doDelete, 0);
    TQorEditMultiEx *before = c->Current;

    TData d = IntData(99);
    c->doWork(d, 0);

    EXPECT_EQ(DebugCapture::Texts(), std::vector<std::string>{"Self destruction is not allowed !!!"});
    EXPECT_EQ(c->Current, before);
    EXPECT_EQ(c->Instances, std::vector<TQorEditMultiEx *>{before});
    EXPECT_EQ(Census::Live, 1);
    EXPECT_TRUE(Census::Log.empty()) << "freed: " << (Census::Log.empty() ? "" : Census::Log[0]);
    EXPECT_EQ(Show(SubOf(before)->Store->FValue), "int 7") << "no inner method was raised";
    EXPECT_EQ(c->CallChain, nullptr);
}

TEST_F(Containers, AnInstanceMayDeleteAnotherOne)
{
    DebugCapture box;
    auto c = NewContainer(0, NewInstance<TestSub>);
    TQorEditMultiEx *first = c->Current;
    c->SetInstanceFactory(NewInstance<TestSub>); // a second instance, now current
    TQorEditMultiEx *second = c->Current;
    ASSERT_EQ(c->Instances, (std::vector<TQorEditMultiEx *>{first, second}));

    Deleter other;
    other.Target = c.get();
    other.Number = 0;
    LinkEvent(c->onEvent[0], &other, &Deleter::doDelete, 0);
    TData d;
    c->doWork(d, 0); // runs inside the second instance

    EXPECT_TRUE(DebugCapture::Texts().empty());
    EXPECT_EQ(c->Instances, std::vector<TQorEditMultiEx *>{second});
    EXPECT_EQ(c->Current, second);
    EXPECT_EQ(Census::Log, std::vector<std::string>{"~instance 0"});
}

TEST_F(Containers, DeletingRaisesTheChosenInnerMethodFirstAndIgnoresBadNumbers)
{
    DebugCapture box;
    auto c = NewContainer(0, NewInstance<TestSub>);
    Sink out1;
    out1.Log = &Census::Log;
    out1.Name = "onEvent[1]";
    LinkEvent(c->onEvent[1], &out1, &Sink::doTake, 0);

    for (int32_t bad : {-1, 1, INT32_MAX, INT32_MIN}) {
        TData d = IntData(5);
        c->DeleteInstance(bad, 1, d);
        EXPECT_EQ(c->Instances.size(), 1u) << "number " << bad;
        EXPECT_EQ(Show(d), "int 5") << "number " << bad;
    }
    EXPECT_TRUE(Census::Log.empty());

    TData d = IntData(42);
    c->DeleteInstance(0, 1, d);
    EXPECT_EQ(Census::Log, (std::vector<std::string>{"onEvent[1]: int 42", "~instance 0"}));
    EXPECT_EQ(c->Current, nullptr);
    EXPECT_TRUE(c->Instances.empty());
    EXPECT_EQ(Census::Live, 0);
    EXPECT_TRUE(DebugCapture::Texts().empty());

    // a method index past the edge's events raises nothing
    c->SetInstanceFactory(NewInstance<TestSub>);
    Census::Log.clear();
    d = IntData(43);
    c->DeleteInstance(0, 3, d);
    EXPECT_EQ(Census::Log, std::vector<std::string>{"~instance 1"});
}

TEST_F(Containers, AnInnerMethodRaisedOnDeletionMayDeleteAnEarlierInstance)
{
    auto c = NewContainer(0, NewInstance<TestSub>);
    c->SetInstanceFactory(NewInstance<TestSub>);
    c->SetInstanceFactory(NewInstance<TestSub>);
    TQorEditMultiEx *middle = c->Instances[1];
    Deleter first;
    first.Target = c.get();
    first.Number = 0;
    LinkEvent(c->onEvent[0], &first, &Deleter::doDelete, 0);

    TData d;
    c->DeleteInstance(2, 0, d); // its inner method 0 comes out and deletes instance 0
    EXPECT_EQ(Census::Log, (std::vector<std::string>{"~instance 0", "~instance 2"}))
        << "the instance asked for goes, though its number moved meanwhile";
    EXPECT_EQ(c->Instances, std::vector<TQorEditMultiEx *>{middle});
    EXPECT_EQ(c->Current, nullptr);
}

TEST_F(Containers, DestroyingTheContainerFreesInstancesLastFirstWithoutInnerCalls)
{
    auto c = NewContainer(0, NewInstance<TestSub>);
    c->SetInstanceFactory(NewInstance<TestSub>);
    c->SetInstanceFactory(NewInstance<TestSub>);
    Sink out1;
    out1.Log = &Census::Log;
    out1.Name = "onEvent[1]";
    LinkEvent(c->onEvent[1], &out1, &Sink::doTake, 0);
    c.reset();
    EXPECT_EQ(Census::Log, (std::vector<std::string>{"~instance 2", "~instance 1", "~instance 0"}));
    EXPECT_EQ(Census::Live, 0);
}
