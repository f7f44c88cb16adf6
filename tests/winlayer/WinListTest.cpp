#include <gtest/gtest.h>

#include <vector>

#include "TestFiles.h"
#include "winlayer/WinList.h"

using testfiles::Make;
using winlayer::TWinList;

namespace {

int Slots[8];

void *P(int i)
{
    return &Slots[i];
}

std::vector<void *> ItemsOf(const TWinList &list)
{
    std::vector<void *> items;
    for (int32_t i = 0; i < list.Count(); ++i)
        items.push_back(list.Items(i));
    return items;
}

} // namespace

TEST(WinList, AddReturnsTheNewIndexAndKeepsOrder)
{
    auto list = Make<TWinList>();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list->Add(P(i)), i);
    EXPECT_EQ(list->Count(), 5);
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{P(0), P(1), P(2), P(3), P(4)}));
}

TEST(WinList, InsertMovesLaterItemsUpAndDeleteMovesThemDown)
{
    auto list = Make<TWinList>();
    list->Add(P(0));
    list->Add(P(1));
    list->Insert(1, P(5));
    list->Insert(0, P(6));
    list->Insert(4, P(7)); // at Count: appends
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{P(6), P(0), P(5), P(1), P(7)}));
    list->Delete(0);
    list->Delete(1);
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{P(0), P(1), P(7)}));
    list->Delete(2);
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{P(0), P(1)}));
}

TEST(WinList, BadIndexesChangeNothingAndReadAsNone)
{
    auto list = Make<TWinList>();
    list->Add(P(0));
    list->Add(P(1));
    const std::vector<void *> before = ItemsOf(*list);
    const int32_t bad[] = {-1, 2, 3, -2147483647 - 1, 2147483647};
    for (int32_t index : bad) {
        EXPECT_EQ(list->Items(index), nullptr) << "Items(" << index << ")";
        list->Delete(index);
        EXPECT_EQ(ItemsOf(*list), before) << "after Delete(" << index << ")";
        if (index == 2)
            continue; // Count itself is a valid place to insert
        list->Insert(index, P(7));
        EXPECT_EQ(ItemsOf(*list), before) << "after Insert(" << index << ")";
    }
    auto empty = Make<TWinList>();
    EXPECT_EQ(empty->Items(0), nullptr);
    empty->Delete(0);
    EXPECT_EQ(empty->Count(), 0);
}

TEST(WinList, IndexOfAndRemoveCompareIdentityAndTakeTheFirst)
{
    auto list = Make<TWinList>();
    int a = 1, b = 1; // equal values, different objects
    list->Add(&a);
    list->Add(&b);
    list->Add(&a);
    EXPECT_EQ(list->IndexOf(&a), 0);
    EXPECT_EQ(list->IndexOf(&b), 1);
    EXPECT_EQ(list->IndexOf(P(0)), -1);
    EXPECT_EQ(list->IndexOf(nullptr), -1);

    list->Remove(&a);
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{&b, &a}));
    list->Remove(P(0)); // absent: nothing happens
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{&b, &a}));

    list->Add(nullptr); // none is an item like any other
    EXPECT_EQ(list->IndexOf(nullptr), 2);
}

TEST(WinList, CapacityGrowsByGrowthOrByAQuarterPlusOne)
{
    struct Case { int32_t growth; std::vector<int32_t> capacities; } cases[] = {
        // count/4 + 1 added whenever the list is full: 0+1, 1+1, 2+1, 3+1, 4+2, 6+2, 8+3, 11+3
        {0, {1, 2, 3, 4, 6, 6, 8, 8, 11, 11, 11, 14, 14, 14}},
        {3, {3, 3, 3, 6, 6, 6, 9, 9, 9, 12, 12, 12, 15, 15}},
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}},
    };
    for (const Case &c : cases) {
        auto list = Make<TWinList>();
        list->SetGrowth(c.growth);
        std::vector<int32_t> seen;
        for (size_t i = 0; i < c.capacities.size(); ++i) {
            list->Add(P(static_cast<int>(i % 8)));
            seen.push_back(list->Capacity());
        }
        EXPECT_EQ(seen, c.capacities) << "with growth " << c.growth;
    }
}

TEST(WinList, InsertIntoAFullListGrowsIt)
{
    auto list = Make<TWinList>();
    list->SetGrowth(2);
    list->Add(P(0));
    list->Add(P(1));
    ASSERT_EQ(list->Capacity(), 2);
    list->Insert(0, P(2));
    EXPECT_EQ(list->Capacity(), 4);
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{P(2), P(0), P(1)}));
}

TEST(WinList, ClearEmptiesTheListForReuse)
{
    auto list = Make<TWinList>();
    for (int i = 0; i < 8; ++i)
        list->Add(P(i));
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Items(0), nullptr);
    EXPECT_EQ(list->Add(P(3)), 0);
    EXPECT_EQ(list->Items(0), P(3));
}

TEST(WinList, FreeDestroysTheListButNotItsItems)
{
    int32_t live = winlayer::TWinObject::LiveObjects();
    auto item = Make<TWinList>();
    {
        auto list = Make<TWinList>();
        list->Add(item.get());
        EXPECT_EQ(winlayer::TWinObject::LiveObjects(), live + 2);
    }
    EXPECT_EQ(winlayer::TWinObject::LiveObjects(), live + 1);
    EXPECT_EQ(item->Count(), 0);
}
