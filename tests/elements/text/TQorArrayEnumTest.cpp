#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorArrayEnum.h"

using namespace textkit;

namespace {

// An array value over a vector of strings, indexed the way the string list is.
struct LinesArray : TElement {
    std::vector<std::string> Items;
    TArrayRec *Rec;

    LinesArray()
    {
        Rec = CreateArrayRec({nullptr, nullptr}, {&Get, this}, {&Count, this}, {nullptr, nullptr});
    }
    ~LinesArray() { FreeArrayRec(Rec); }

    static bool Get(void *Self, const TData &Index, TData &Item)
    {
        auto *self = static_cast<LinesArray *>(Self);
        int32_t i = ToIndex(Index);
        if (i < 0 || i >= static_cast<int32_t>(self->Items.size()))
            return false;
        Item.dtString(self->Items[static_cast<size_t>(i)]);
        return true;
    }
    static int32_t Count(void *Self) { return static_cast<int32_t>(static_cast<LinesArray *>(Self)->Items.size()); }

    void Array(TData &Data, uint16_t) { Data.dtArray(Rec); }
};

struct ArrayBench : Bench {
    TQorArrayEnum *Enum = Make<TQorArrayEnum>();
    LinesArray *Lines = Make<LinesArray>();
    Probe *OnItem = ProbeFor(Enum->onItem, "onItem");
    Probe *OnEnd = ProbeFor(Enum->onEndEnum, "onEndEnum");
    Probe *OnBreak = ProbeFor(Enum->onBreak, "onBreak");

    ArrayBench(std::vector<std::string> Items, uint8_t Reverse)
    {
        Lines->Items = std::move(Items);
        Enum->Reverse = Reverse;
        LinkData(Enum->Array, Lines, &LinesArray::Array, 0);
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
