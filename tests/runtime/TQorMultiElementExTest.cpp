// The sub-scheme container's start-up rule. (Values crossing the container, and
// the frees in reverse creation order, show in every sub-scheme test of tests/app.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RuntimeTestKit.h"
#include "runtime/TClassMultiBase.h"
#include "runtime/TQorEditMultiEx.h"
#include "runtime/TQorMultiElementEx.h"

using namespace testkit;

namespace {

// A sub-scheme of nothing but its edge.
class TClassTestSub : public TClassMultiBase {
public:
    TClassTestSub(TQorMultiElementEx *Container, winlayer::TWinControl *Parent, TScheme *MainScheme)
        : TClassMultiBase(Container, Parent, MainScheme)
    {
        Edge = Make<TQorEditMultiEx>();
        Edge->Container = Container;
        Edge->Scheme = this;
    }
};

} // namespace

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
