#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorArrayEnum.h"
#include "elements/text/TQorStrList.h"
#include "winlayer/WinStrList.h"

using namespace textkit;

namespace {

struct ArrayBench : Bench {
    TQorArrayEnum *Enum = Make<TQorArrayEnum>();
    TQorStrList *List = Make<TQorStrList>();
    Probe *OnItem = ProbeFor(Enum->onItem, "onItem");
    Probe *OnEnd = ProbeFor(Enum->onEndEnum, "onEndEnum");
    Probe *OnBreak = ProbeFor(Enum->onBreak, "onBreak");

    ArrayBench(const std::vector<std::string> &Items, uint8_t Reverse)
    {
        for (const std::string &item : Items)
            List->Lines->Add(item);
        Enum->Reverse = Reverse;
        LinkData(Enum->Array, List, &TQorStrList::Array, 2);
        // Each item is journalled with the index the element offers meanwhile.
        OnItem->Then = [this](TData &) { Log.push_back("index " + Describe(Read(Enum, &TQorArrayEnum::Index))); };
    }

    Journal Run()
    {
        Log.clear();
        Fire(Enum, &TQorArrayEnum::doEnum, StrData("ignored"));
        return Log;
    }
};

} // namespace

TEST(TQorArrayEnum, WalksTheItemsInEitherDirectionWithTheirIndexes)
{
    Running on;
    struct Case {
        std::vector<std::string> Items;
        uint8_t Reverse;
        Journal Expected;
    } cases[] = {
        {{"a", "b", "c"}, 0,
         {"onItem str a", "index int 0", "onItem str b", "index int 1", "onItem str c", "index int 2",
          "onEndEnum null"}},
        {{"a", "b", "c"}, 1,
         {"onItem str c", "index int 2", "onItem str b", "index int 1", "onItem str a", "index int 0",
          "onEndEnum null"}},
        {{""}, 1, {"onItem str ", "index int 0", "onEndEnum null"}},
        {{}, 0, {"onEndEnum null"}},
        {{}, 1, {"onEndEnum null"}},
    };
    for (const Case &c : cases) {
        ArrayBench bench(c.Items, c.Reverse);
        EXPECT_EQ(bench.Run(), c.Expected) << c.Items.size() << " items, Reverse " << int(c.Reverse);
    }
}

TEST(TQorArrayEnum, WithoutAnArrayValueNothingIsRaised)
{
    Running on;
    {
        ArrayBench bench({"a"}, 0);
        bench.Enum->Array = TPointLink(); // unwired
        EXPECT_EQ(bench.Run(), Journal{}) << "missing array: not even onEndEnum";
    }
    {
        ArrayBench bench({"a"}, 1);
        bench.SourceFor(bench.Enum->Array, StrData("a"));
        EXPECT_EQ(bench.Run(), Journal{}) << "a value that is not an array counts as missing";
    }
}

TEST(TQorArrayEnum, StopEndsTheWalkAfterTheCurrentItem)
{
    Running on;
    for (uint8_t breakEvent : {uint8_t(0), uint8_t(1)}) {
        ArrayBench bench({"a", "b", "c"}, 0);
        bench.Enum->BreakEvent = breakEvent;
        bench.OnItem->Then = [&](TData &Data) {
            if (Data.StrValue == "b")
                Fire(bench.Enum, &TQorArrayEnum::doStop);
        };
        Journal expected{"onItem str a", "onItem str b", breakEvent ? "onBreak null" : "onEndEnum null"};
        EXPECT_EQ(bench.Run(), expected) << "BreakEvent " << int(breakEvent);
    }
}

TEST(TQorArrayEnum, EachItemTravelsAsACopy)
{
    Running on;
    ArrayBench bench({"a", "b"}, 0);
    bench.OnItem->Then = [](TData &Data) { Data.dtString("changed"); };
    bench.Run();
    EXPECT_EQ(Describe(bench.Enum->Item), "str b") << "a receiver that rewrites its record leaves Item alone";
    EXPECT_EQ(Describe(bench.Enum->IndexValue), "int 2") << "the index that ended the walk";
}
