// The 30-day feed: every known value of every data row, in time order, into the
// graph; the last two days, newest first, in front of the recent-values string.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "DgdText.h"
#include "app/TMonthFeed.h"
#include "elements/text/TQorStrCat.h"
#include "runtime/TQorStack.h"

using namespace dgd;

namespace {

// Every value of every row up to the row's first unknown one.
Texts GraphOf(const Texts &Days)
{
    Texts values;
    for (const std::string &kp : Days)
        for (char c : kp.substr(0, kp.find('-')))
            values.push_back(std::string(1, c));
    return values;
}

// A day's values made up from a number; in the newest day of a file the values
// not yet known.
std::string MadeUpDay(uint32_t &Seed, bool Newest)
{
    std::string kp;
    Seed = Seed * 1103515245u + 12345u;
    for (size_t i = 0; i < 8; ++i)
        kp += Newest && i >= (Seed >> 16) % 9 ? '-' : static_cast<char>('0' + (Seed >> (i * 3)) % 10);
    return kp;
}

} // namespace

using MonthFeed = Pipeline;

TEST_F(MonthFeed, RowsStopAtTheirFirstUnknownAndTheLastTwoGoInFrontNewestFirst)
{
    const Texts month = ThirtyDays();
    struct Case {
        const char *What;
        Texts Days;
        std::string Recent;
    } cases[] = {
        {"thirty complete rows: 240 values", month,
         std::string(month[29].rbegin(), month[29].rend()) + std::string(month[28].rbegin(), month[28].rend())},
        {"a newest day starting unknown: only the day before", {"11111111", "12345670", "--------"}, "07654321"},
        {"a single data row: used as both days", {"12345678"}, "8765432187654321"},
        {"rows stopping early", {"12345678", "-1111111", "12------", "87654321", "3333333-"}, "333333312345678"},
    };
    for (const Case &c : cases) {
        TKpPipeline fresh;
        fresh.ParseText(Lf(File(c.Days)));
        EXPECT_EQ(fresh.Recent(), c.Recent) << c.What;
        EXPECT_EQ(fresh.Outcome().Graph, GraphOf(c.Days)) << c.What;
        EXPECT_EQ(fresh.Outcome().GraphClears, 1) << c.What << ": cleared once, before the values";
    }
}

TEST_F(MonthFeed, WithoutDataRowsTheTopTwoTailsOfEarlierRefillsAreUsedAgain)
{
    ParseFile(Lf(File({"11111111", "22222222", "33333333", "44444444", "55555555"})));
    ASSERT_EQ(P.Recent(), "5555555544444444");
    ASSERT_EQ(P.Month()->TailStack->Items.size(), 3u) << "all tails but the last two stay";

    // The header alone: its last line's tail holds a blank, so the parse finds a
    // value and the feed refills, but with no data row.
    Forget();
    ParseFile(Lf(Header()));
    ASSERT_EQ(Got().Values, Texts{"K"});
    EXPECT_TRUE(Got().Graph.empty());
    EXPECT_EQ(Got().GraphClears, 1);
    EXPECT_EQ(P.Recent(), "33333333222222225555555544444444");

    ParseFile(Lf(Header()));
    EXPECT_EQ(P.Recent(), "1111111111111111" "33333333222222225555555544444444")
        << "one tail left: both pops leave the stack's Value at it";
}

TEST_F(MonthFeed, RecentAndTheTailStackStayBoundedOver10000RefillsAndReadAsWithoutBounds)
{
    const size_t maxRecent = TMonthFeed::RecentMaxLength;
    const size_t maxTails = TMonthFeed::TailStackMaxCount;
    TKpPipeline unbounded;
    unbounded.Month()->Recent->MaxLength = 0;
    unbounded.Month()->TailStack->MaxCount = 0;
    const TQorStack &kept = *P.Month()->TailStack;
    const TQorStack &every = *unbounded.Month()->TailStack;
    uint32_t seed = 7;
    size_t highestStack = 0;
    for (int refill = 0; refill < 10000; ++refill) {
        // Mostly whole 30-day files; now and then one of a few rows or of the header alone.
        const size_t rows = refill % 37 == 5 ? 0 : refill % 23 == 7 ? 1 : refill % 101 == 50 ? 2 : 30;
        Texts days;
        for (size_t d = 0; d < rows; ++d)
            days.push_back(MadeUpDay(seed, d + 1 == rows));
        const std::string file = Lf(File(days));
        P.ParseText(file);
        ASSERT_LE(P.Recent().size(), maxRecent) << "refill " << refill;
        ASSERT_LE(kept.Items.size(), maxTails) << "refill " << refill;
        if (refill >= 300) // by then both bounds have long been reached
            continue;
        unbounded.ParseText(file);
        ASSERT_EQ(P.Recent(), unbounded.Recent().substr(0, maxRecent)) << "refill " << refill;
        ASSERT_LE(kept.Items.size(), every.Items.size()) << "refill " << refill;
        ASSERT_TRUE(std::equal(kept.Items.rbegin(), kept.Items.rend(), every.Items.rbegin(),
                               [](const TData *A, const TData *B) { return A->StrValue == B->StrValue; }))
            << "refill " << refill << ": the stack is the top of the unbounded one";
        ASSERT_EQ(kept.FValue.StrValue, every.FValue.StrValue) << "refill " << refill;
        highestStack = std::max(highestStack, kept.Items.size());
    }
    EXPECT_EQ(highestStack, maxTails - 2) << "the bound on the stack was reached (seen after the refill's two pops)";
    EXPECT_GT(unbounded.Recent().size(), 2 * maxRecent) << "the bound on Recent was needed";
    EXPECT_GT(every.Items.size(), 2 * maxTails) << "the bound on the stack was needed";
}
