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

TEST(WinList, InsertMovesLaterItemsUpAndDeleteMovesThemDown)
{
    auto list = Make<TWinList>();
    EXPECT_EQ(list->Add(P(0)), 0);
    EXPECT_EQ(list->Add(P(1)), 1);
    list->Insert(1, P(5));
    list->Insert(0, P(6));
    list->Insert(4, P(7)); // at Count: appends
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{P(6), P(0), P(5), P(1), P(7)}));
    list->Delete(0);
    list->Delete(1);
    EXPECT_EQ(ItemsOf(*list), (std::vector<void *>{P(0), P(1), P(7)}));
}

TEST(WinList, CapacityGrowsByGrowthOrByAQuarterPlusOne)
{
    struct Case { int32_t growth; std::vector<int32_t> capacities; } cases[] = {
        // count/4 + 1 added whenever the list is full: 0+1, 1+1, 2+1, 3+1, 4+2, 6+2, 8+3
        {0, {1, 2, 3, 4, 6, 6, 8, 8, 11}},
        {3, {3, 3, 3, 6, 6, 6, 9, 9, 9}},
    };
    for (const Case &c : cases) {
        auto list = Make<TWinList>();
        list->SetGrowth(c.growth);
        std::vector<int32_t> seen;
        for (size_t i = 0; i < c.capacities.size(); ++i) {
            list->Insert(0, P(static_cast<int>(i % 8)));
            seen.push_back(list->Capacity());
        }
        EXPECT_EQ(seen, c.capacities) << "with growth " << c.growth;
    }
}
