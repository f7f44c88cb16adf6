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
    auto *sub = static_cast<TClassTestSub *>(scheme->Inner->Current->Scheme);

    {
        Running on;
        RunStartList();
        TData d = StrData("go");
        scheme->Fan->doEvent(d, 0);
        EXPECT_EQ(Show(sub->Keep->FValue), "str hello") << "inner read of the outer Data[0]";
        EXPECT_EQ(scheme->Told->Values(), std::vector<std::string>{"str hello"}) << "inner event to outer onEvent[0]";
        EXPECT_EQ(Show(scheme->Shown->FValue), "str hello") << "outer read of Var[0]";

        scheme->Inner->Data[0] = TPointLink(); // the outer input unwired
        scheme->Fan->doEvent(d, 0);
        EXPECT_EQ(Show(scheme->Shown->FValue), "str inner default") << "the inner element falls back to its own";
    }

    delete scheme;
    EXPECT_EQ(Freed, (std::vector<std::string>{"Told", "Shown", "Fan", "Inner", "Sub.Keep", "Sub.Fetch",
                                               "Sub.Edge", "Greeting"}));
}

namespace {

// Asks the container to delete its first instance while it is called.
struct Deleter : TElement {
    TQorMultiElementEx *Target = nullptr;
    void doDelete(TData &Data, uint16_t) { Target->DeleteInstance(0, 65535, Data); }
};

std::vector<std::string> Boxes; // what DebugMessage showed

} // namespace

TEST(Containers, AnInstanceCannotDeleteItself)
{
    Running on;
    StartedAs notStarted(false);
    Freed.clear();
    Boxes.clear();
    const TDebugSink oldSink = SetDebugMessageSink([](const std::string &t) { Boxes.push_back(t); });
    auto c = std::make_unique<TQorMultiElementEx>(nullptr);
    c->Mode = 0;
    c->SetEventCount(1);
    c->SetDataCount(1);
    c->SetInstanceFactory(NewInstance<TClassTestSub>); // mode 0: makes the instance
    Deleter self;
    self.Target = c.get();
    LinkEvent(c->onEvent[0], &self, &Deleter::doDelete, 0);
    Call(c.get(), &TQorMultiElementEx::doWork, IntData(99)); // comes out of instance 0

    EXPECT_EQ(Boxes, std::vector<std::string>{"Self destruction is not allowed !!!"});
    ASSERT_EQ(c->Instances.size(), 1u);
    EXPECT_EQ(c->Current, c->Instances[0]);
    EXPECT_TRUE(Freed.empty());
    SetDebugMessageSink(oldSink);
}

// A timer inside a sub-scheme registers its start while the instance is built.
TEST(Containers, AStartUpRoutineOfANewInstanceWaitsForTheMainStartAndSeesItCurrent)
{
    static std::vector<std::string> seen;
    const TInstanceFactory starting = [](TQorMultiElementEx *C, winlayer::TWinControl *P, TScheme *M) {
        TQorEditMultiEx *edge = NewInstance<TClassTestSub>(C, P, M);
        RegisterStart([](void *e) {
            TQorMultiElementEx *c = static_cast<TQorEditMultiEx *>(e)->Container;
            seen.push_back(e == c->Current ? "current" : "not current");
        }, edge);
        return edge;
    };
    for (bool afterTheStart : {false, true}) {
        seen.clear();
        StartedAs started(afterTheStart);
        auto c = std::make_unique<TQorMultiElementEx>(nullptr);
        c->Mode = 0;
        c->SetInstanceFactory(starting);
        if (!afterTheStart) {
            EXPECT_TRUE(seen.empty()) << "nothing runs before the main start";
            RunStartList();
        }
        EXPECT_EQ(seen, std::vector<std::string>{"current"}) << (afterTheStart ? "made after" : "made before");
    }
}
