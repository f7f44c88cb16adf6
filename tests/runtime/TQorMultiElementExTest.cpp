// A two-level scheme built exactly the way the generated scheme classes are:
// elements one block each, then the event links, then the data links, and the
// container's factory last. Every element is probed to see the order of frees.
// The container's own rules follow, on the same sub-scheme.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TClassMultiBase.h"
#include "runtime/TQorDoData.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorHub.h"
#include "runtime/TQorMemory.h"
#include "runtime/TQorMultiElementEx.h"

using namespace testkit;

namespace {

std::vector<std::string> Freed;

// An element of class E that writes its name into Freed when it goes.
template <class E> struct Probed : E {
    using E::E;
    std::string Name;
    ~Probed() { Freed.push_back(Name); }
};

// Sub-scheme: keeps what the outer Data[0] holds (its own default when that is
// unwired) whenever outer doWork[0] comes, tells the outside through onEvent[0]
// and answers it on Var[0].
class TClassTestSub : public TClassMultiBase {
public:
    Probed<TQorDoData> *Fetch;
    Probed<TQorMemory> *Keep;

    TClassTestSub(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
        : TClassMultiBase(Container, Parent, MainScheme)
    {
        auto *edge = Make<Probed<TQorEditMultiEx>>();
        edge->Name = "Sub.Edge";
        edge->SetEventCount(1);
        edge->SetDataCount(1);
        Edge = edge;
        Edge->Container = Container;
        Edge->Scheme = this;

        Fetch = Make<Probed<TQorDoData>>();
        Fetch->Name = "Sub.Fetch";
        Fetch->FData = StrData("inner default");

        Keep = Make<Probed<TQorMemory>>();
        Keep->Name = "Sub.Keep";
        Keep->SetDefault(IntData(0));

        LinkEvent(Edge->onEvent[0], Fetch, &TQorDoData::doData, 0);
        LinkEvent(Fetch->onEventData, Keep, &TQorMemory::doValue, 0);
        LinkEvent(Keep->onData, Edge, &TQorEditMultiEx::doWork, 0);

        LinkData(Edge->Data[0], Keep, &TQorMemory::Value, 0);
        LinkData(Fetch->Data, Edge, &TQorEditMultiEx::Var, 0);
    }
};

// Main scheme: a hub first sends the event into the sub-scheme, then lets
// Shown read the sub-scheme's answer; the sub-scheme's event reaches Told.
class TClassTestMain : public TScheme {
public:
    Probed<TQorMemory> *Greeting;
    Probed<TQorMultiElementEx> *Inner;
    Probed<TQorHub> *Fan;
    Probed<TQorMemory> *Shown;
    Probed<Sink> *Told;

    TClassTestMain()
    {
        Greeting = Make<Probed<TQorMemory>>();
        Greeting->Name = "Greeting";
        Greeting->SetDefault(StrData("hello"));

        Inner = Make<Probed<TQorMultiElementEx>>(nullptr);
        Inner->Name = "Inner";
        Inner->Mode = 0;
        Inner->MainScheme = this;
        Inner->SetEventCount(1);
        Inner->SetDataCount(1);

        Fan = Make<Probed<TQorHub>>();
        Fan->Name = "Fan";
        Fan->SetOutCount(2);
        Fan->InCount = 1;

        Shown = Make<Probed<TQorMemory>>();
        Shown->Name = "Shown";

        Told = Make<Probed<Sink>>();
        Told->Name = "Told";

        LinkEvent(Inner->onEvent[0], Told, &Sink::doTake, 0);
        LinkEvent(Fan->onEvent[0], Inner, &TQorMultiElementEx::doWork, 0);
        LinkEvent(Fan->onEvent[1], Shown, &TQorMemory::doValue, 0);

        LinkData(Inner->Data[0], Greeting, &TQorMemory::Value, 0);
        LinkData(Shown->Data, Inner, &TQorMultiElementEx::Var, 0);

        Inner->SetInstanceFactory(NewInstance<TClassTestSub>);
    }
};

} // namespace

TEST(SchemeClass, ValuesCrossTheContainerBothWaysAndFreesRunInReverseCreationOrder)
{
    StartedAs notYet(false);
    Freed.clear();
    auto *scheme = new TClassTestMain; // dispatch is idle while a scheme is built
    ASSERT_NE(scheme->Inner->Current, nullptr);
    EXPECT_EQ(scheme->Inner->Current->Container, scheme->Inner);
    EXPECT_EQ(scheme->Inner->MainScheme, scheme);
    auto *sub = static_cast<TClassTestSub *>(scheme->Inner->Current->Scheme);
    EXPECT_EQ(sub->Edge, scheme->Inner->Current);
    EXPECT_EQ(scheme->ElementCount(), 5u);
    EXPECT_EQ(sub->ElementCount(), 3u);

    {
        Running on;
        RunStartList();
        TData d = StrData("go");
        scheme->Fan->doEvent(d, 0);
        EXPECT_EQ(Show(sub->Keep->FValue), "str hello") << "inner read of the outer Data[0]";
        EXPECT_EQ(scheme->Told->Values(), std::vector<std::string>{"str hello"}) << "inner event to outer onEvent[0]";
        EXPECT_EQ(Show(scheme->Shown->FValue), "str hello") << "outer read of Var[0]";

        scheme->Greeting->SetDefault(StrData("again"));
        scheme->Fan->doEvent(d, 0);
        EXPECT_EQ(scheme->Told->Values(), (std::vector<std::string>{"str hello", "str again"}));
        EXPECT_EQ(Show(scheme->Shown->FValue), "str again");
    }

    delete scheme;
    EXPECT_EQ(Freed, (std::vector<std::string>{"Told", "Shown", "Fan", "Inner", "Sub.Keep", "Sub.Fetch",
                                               "Sub.Edge", "Greeting"}));
}

namespace {

using Texts = std::vector<std::string>;

// Asks the container to delete an instance while it is called.
struct Deleter : TElement {
    TQorMultiElementEx *Target = nullptr;
    int32_t Number = 0;
    void doDelete(TData &Data, uint16_t) { Target->DeleteInstance(Number, 65535, Data); }
};

class Containers : public ::testing::Test {
protected:
    static Texts Shown;
    Running On;
    StartedAs NotStarted{false};
    TDebugSink OldSink = SetDebugMessageSink([](const std::string &t) { Shown.push_back(t); });

    void SetUp() override
    {
        Freed.clear();
        Shown.clear();
    }
    void TearDown() override { SetDebugMessageSink(OldSink); }

    // A container as an enclosing scheme sets it up, its factory set Count
    // times (each makes an instance in mode 0); the edges are named "edge <n>".
    static std::unique_ptr<TQorMultiElementEx> NewContainer(uint8_t Mode, int Count = 1,
                                                            TInstanceFactory Factory = NewInstance<TClassTestSub>)
    {
        auto c = std::make_unique<TQorMultiElementEx>(nullptr);
        c->Mode = Mode;
        c->SetEventCount(1);
        c->SetDataCount(1);
        for (int i = 0; i < Count; ++i)
            c->SetInstanceFactory(Factory);
        for (size_t i = 0; i < c->Instances.size(); ++i)
            static_cast<Probed<TQorEditMultiEx> *>(c->Instances[i])->Name = "edge " + std::to_string(i);
        return c;
    }
    static Texts FreedEdges()
    {
        Texts edges;
        for (const std::string &name : Freed)
            if (name.rfind("edge", 0) == 0)
                edges.push_back(name);
        return edges;
    }
};
Texts Containers::Shown;

} // namespace

TEST_F(Containers, AnUnwiredOuterInputLetsTheInnerElementUseItsOwnDefault)
{
    auto c = NewContainer(0);
    Sink out;
    LinkEvent(c->onEvent[0], &out, &Sink::doTake, 0);
    Call(c.get(), &TQorMultiElementEx::doWork, StrData("incoming"));
    EXPECT_EQ(out.Values(), Texts{"str inner default"});

    Call(c.get(), &TQorMultiElementEx::doWork, IntData(1), 5);
    EXPECT_EQ(out.Got.size(), 1u) << "an outer method past the edge's events does nothing";
    TData raw = IntData(3);
    c->Var(raw, 1);
    EXPECT_EQ(Show(raw), "nolink") << "an outer Var with no inner source answers like an unwired input";
}

TEST_F(Containers, WithoutACurrentInstanceEachCallUsesATemporaryOne)
{
    auto c = NewContainer(1);
    EXPECT_TRUE(Freed.empty() && c->Instances.empty()) << "mode 1 creates nothing when the factory is set";
    Sink out;
    LinkEvent(c->onEvent[0], &out, &Sink::doTake, 0);
    Call(c.get(), &TQorMultiElementEx::doWork, IntData(5));
    EXPECT_EQ(out.Values(), Texts{"str inner default"});
    EXPECT_EQ(Freed, (Texts{"Sub.Keep", "Sub.Fetch", "Sub.Edge"})) << "freed at once";

    TData r;
    c->Var(r, 0);
    EXPECT_EQ(Show(r), "int 0") << "a fresh instance, not the one that stored a value";
    EXPECT_EQ(Freed.size(), 6u);
    EXPECT_TRUE(c->Instances.empty());

    auto none = NewContainer(1, 1, nullptr);
    EXPECT_EQ(Show(Call(none.get(), &TQorMultiElementEx::doWork, IntData(5))), "int 5");
    none->Var(r, 0);
    EXPECT_EQ(Show(r), "nolink") << "without a factory";
}

namespace {
// Registers a start-up routine while it is built, as a timer inside a
// sub-scheme does, and notes what the routine saw.
struct StartingSub : TClassTestSub {
    static Texts Seen;
    StartingSub(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
        : TClassTestSub(Container, Parent, MainScheme)
    {
        Seen.push_back(Started ? "built while started" : "built");
        RegisterStart(&StartingSub::Begin, this);
    }
    static void Begin(void *Object)
    {
        TQorEditMultiEx *edge = static_cast<StartingSub *>(Object)->Edge;
        TQorMultiElementEx *c = edge->Container;
        bool listed = !c->Instances.empty() && c->Instances.back() == edge;
        Seen.push_back(std::string("begin ") + (c->Current == edge ? "current" : "not current") +
                       (listed ? " listed" : " unlisted"));
    }
};
Texts StartingSub::Seen;
} // namespace

TEST_F(Containers, StartUpRoutinesOfAnInstanceWaitForTheMainStartAndSeeItCurrent)
{
    for (bool startedBefore : {false, true}) {
        SCOPED_TRACE(startedBefore ? "made after the main start" : "made before the main start");
        StartingSub::Seen.clear();
        Started = startedBefore;
        auto c = NewContainer(0, 1, NewInstance<StartingSub>);
        if (!startedBefore) {
            EXPECT_EQ(StartingSub::Seen, Texts{"built"}) << "nothing runs before the main start";
            RunStartList();
        }
        EXPECT_EQ(StartingSub::Seen, (Texts{"built", "begin current listed"}));
        EXPECT_TRUE(Started);
    }
}

TEST_F(Containers, AnInstanceCannotDeleteItself)
{
    auto c = NewContainer(0);
    Deleter self;
    self.Target = c.get();
    LinkEvent(c->onEvent[0], &self, &Deleter::doDelete, 0);
    Call(c.get(), &TQorMultiElementEx::doWork, IntData(99)); // comes out of instance 0

    EXPECT_EQ(Shown, Texts{"Self destruction is not allowed !!!"});
    ASSERT_EQ(c->Instances.size(), 1u);
    EXPECT_EQ(c->Current, c->Instances[0]);
    EXPECT_TRUE(Freed.empty());
    EXPECT_EQ(c->CallChain, nullptr);
}

TEST_F(Containers, DeletionRaisesTheInnerMethodFirstAndFindsItsInstanceEvenWhenThatDeletesAnother)
{
    auto c = NewContainer(0, 3);
    TQorEditMultiEx *middle = c->Instances[1];
    Deleter first;
    first.Target = c.get();
    LinkEvent(c->onEvent[0], &first, &Deleter::doDelete, 0);

    TData d;
    c->DeleteInstance(2, 0, d); // its inner method 0 comes out and deletes instance 0
    EXPECT_TRUE(Shown.empty()) << "an instance may delete another one";
    EXPECT_EQ(FreedEdges(), (Texts{"edge 0", "edge 2"})) << "the one asked for goes, though its number moved";
    EXPECT_EQ(c->Instances, std::vector<TQorEditMultiEx *>{middle});
    EXPECT_EQ(c->Current, nullptr);

    for (int32_t bad : {-1, 1}) {
        c->DeleteInstance(bad, 0, d);
        EXPECT_EQ(c->Instances.size(), 1u) << "number " << bad << " is ignored";
    }
}

TEST_F(Containers, DestroyingTheContainerFreesInstancesLastFirstWithoutInnerCalls)
{
    auto c = NewContainer(0, 3);
    Sink out;
    LinkEvent(c->onEvent[0], &out, &Sink::doTake, 0);
    c.reset();
    EXPECT_EQ(FreedEdges(), (Texts{"edge 2", "edge 1", "edge 0"}));
    EXPECT_TRUE(out.Got.empty());
}
