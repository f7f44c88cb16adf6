#include <gtest/gtest.h>

#include <vector>

#include "TestFiles.h"
#include "winlayer/WinList.h"

using testfiles::Make;
using winlayer::TWinList;

TEST(WinList, InsertIntoAFullListGrowsItByGrowthOrByAQuarterPlusOne)
{
    int slots[9];
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
            list->Insert(static_cast<int32_t>(i / 2), &slots[i]); // into the middle of a full list
            seen.push_back(list->Capacity());
        }
        EXPECT_EQ(seen, c.capacities) << "with growth " << c.growth;
        list->Delete(0);
        const std::vector<void *> order = {&slots[3], &slots[5], &slots[7], &slots[8], &slots[6], &slots[4], &slots[2], &slots[0]};
        for (size_t i = 0; i < order.size(); ++i)
            EXPECT_EQ(list->Items(static_cast<int32_t>(i)), order[i]) << "item " << i << ", growth " << c.growth;
        EXPECT_EQ(list->Items(8), nullptr) << "past the end";
    }
}
