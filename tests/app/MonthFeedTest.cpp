// The 30-day feed: every known value of every data row, in time order, into the
// graph; the last two days, newest first, in front of the recent-values string.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "DgdText.h"
#include "app/TClassMultiElementEx_27BAAA0.h"
#include "elements/text/TQorStrCat.h"
#include "runtime/TQorStack.h"

using namespace dgd;

namespace {

Texts GraphOf(const Texts &Days)
{
    Texts values;
    for (const std::string &kp : Days)
        for (const std::string &v : Known(kp))
            values.push_back(v);
    return values;
}

// What a refill puts in front of the recent values: the known values of the day
// before and then of the newest day, up to the first unknown, newest first.
std::string InFront(const std::string &DayBefore, const std::string &Newest)
{
    std::string walked;
    for (const std::string &v : Known(DayBefore + Newest))
        walked += v;
    return std::string(walked.rbegin(), walked.rend());
}

// A day's values made up from a number: mostly low digits, now and then a
// storm, and in the newest day of a file the values not yet known.
std::string MadeUpDay(uint32_t &Seed, bool Newest)
{
    std::string kp;
    Seed = Seed * 1103515245u + 12345u;
    const size_t known = Newest ? (Seed >> 16) % 9 : 8;
    for (size_t i = 0; i < 8; ++i) {
        Seed = Seed * 1103515245u + 12345u;
        const uint32_t r = (Seed >> 16) % 100;
        kp += i >= known ? '-' : static_cast<char>('0' + (r < 90 ? r % 5 : 5 + r % 5));
    }
    return kp;
}

// The feed's two stores as they would be without bounds: every tail ever
// pushed and not popped, and everything ever put in front of Recent.
struct Unbounded {
    Texts Stack;
    std::string Value;          // the stack's Value: an empty pop leaves it
    std::string RecentBackward; // the newest character last, so that adding is cheap

    void Refill(const Texts &Tails)
    {
        for (const std::string &t : Tails) {
            Stack.push_back(t);
            Value = t;
        }
        auto pop = [this] {
            if (!Stack.empty()) {
                Value = Stack.back();
                Stack.pop_back();
            }
            return Value;
        };
        const std::string latest = pop();
        const std::string previous = pop();
        for (char c : previous + latest) {
            if (c == '-')
                break;
            if (static_cast<unsigned char>(c) >= '0')
                RecentBackward += c;
        }
    }
    std::string RecentFront(size_t Count) const
    {
        const size_t n = Count < RecentBackward.size() ? Count : RecentBackward.size();
        return std::string(RecentBackward.rbegin(), RecentBackward.rbegin() + static_cast<std::ptrdiff_t>(n));
    }
};

Texts StackOf(const TQorStack &Stack)
{
    Texts items;
    for (const TData *item : Stack.Items)
        items.push_back(item->StrValue);
    return items;
}

} // namespace

using MonthFeed = Pipeline;

TEST_F(MonthFeed, ThirtyCompleteRowsGive240ValuesInTimeOrder)
{
    const Texts days = ThirtyDays();
    ParseFile(Lf(File(days)));
    EXPECT_EQ(Got().Graph.size(), 240u);
    EXPECT_EQ(Got().Graph, GraphOf(days));
    EXPECT_EQ(Got().GraphClears, 1) << "cleared once, before the values";
    EXPECT_EQ(P.Recent(), InFront(days[28], days[29]));
}

TEST_F(MonthFeed, TheSampleFileGivesItsKnownValuesAndTheRecentString)
{
    P.Parse(TERVIK_SAMPLE_DGD);
    // 29 complete days and 2 3 3 4 of the last one.
    EXPECT_EQ(Got().Graph.size(), 29u * 8 + 4);
    EXPECT_EQ(Texts(Got().Graph.begin(), Got().Graph.begin() + 8), (Texts{"1", "2", "2", "3", "2", "2", "2", "1"}));
    EXPECT_EQ(Texts(Got().Graph.end() - 12, Got().Graph.end()),
              (Texts{"3", "2", "4", "3", "2", "3", "3", "3", "2", "3", "3", "4"}));
    EXPECT_EQ(P.Recent(), InFront("32432333", "2334----"));
}

TEST_F(MonthFeed, ARowStopsAtItsFirstUnknownValueAndTheNextRowsAreReadNormally)
{
    const Texts days = {"12345678", "12------", "87654321", "-1111111", "3333333-"};
    ParseFile(Lf(File(days)));
    EXPECT_EQ(Got().Graph, (Texts{"1", "2", "3", "4", "5", "6", "7", "8", "1", "2", "8", "7", "6", "5", "4", "3",
                                  "2", "1", "3", "3", "3", "3", "3", "3", "3"}));
}

TEST_F(MonthFeed, TheWorkedExampleOfTwoDaysPutsElevenValuesInFront)
{
    ParseFile(Lf(File({"44444444", "55555555"})));
    const std::string before = P.Recent();
    ASSERT_EQ(before, "5555555544444444");

    ParseFile(Lf(File({"99999999", "12112232", "233-----"})));
    EXPECT_EQ(P.Recent(), "33223221121" + before);
    EXPECT_EQ(Got().Graph, GraphOf({"99999999", "12112232", "233-----"}));
}

TEST_F(MonthFeed, ANewestDayStartingUnknownPutsOnlyTheDayBeforeInFront)
{
    ParseFile(Lf(File({"11111111", "12345670", "--------"})));
    EXPECT_EQ(P.Recent(), "07654321");
    EXPECT_EQ(Got().Graph.size(), 16u);
}

TEST_F(MonthFeed, LineIndex11IsNeverDataAndIndex12Always)
{
    Texts lines = Header();
    lines[11] = Row(1, "99999999");               // index 11: looks like data, is header
    lines.push_back(":Issued: 1435 UT 06 Dec 2026"); // index 12: looks like header, is data
    lines.push_back(Row(2, "12121212"));
    ParseFile(Lf(lines));
    EXPECT_EQ(Got().Graph, (Texts{"5", "U", "T", "0", "6", "D", "e", "c", "2", "0", "2", "6", "1", "2", "1", "2", "1",
                                  "2", "1", "2"}))
        << "the tail of index 12 is \"5 UT 06 Dec 2026\": everything from '0' up counts";
}

TEST_F(MonthFeed, ASingleDataRowIsUsedAsBothDays)
{
    ParseFile(Lf(File({"12345678"})));
    EXPECT_EQ(P.Recent(), "8765432187654321");
    EXPECT_TRUE(P.Month()->TailStack->Items.empty());
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
    const size_t maxRecent = TClassMultiElementEx_27BAAA0::RecentMaxLength;
    const size_t maxTails = TClassMultiElementEx_27BAAA0::TailStackMaxCount;
    ASSERT_GE(maxRecent, 8u) << "the day feed reads up to 8 characters";
    ASSERT_GE(maxTails, 2u) << "the refill reads the top two tails";
    const TQorStack &stack = *P.Month()->TailStack;

    Unbounded reference;
    uint32_t seed = 7;
    size_t longestRecent = 0, highestStack = 0;
    for (int refill = 0; refill < 10000; ++refill) {
        // Mostly whole 30-day files; now and then a partial one of a few rows,
        // or one broken off inside the header.
        size_t rows = 30;
        if (refill % 37 == 5)
            rows = 0;
        else if (refill % 23 == 7)
            rows = 1;
        else if (refill % 101 == 50)
            rows = 2;
        Texts days, tails;
        for (size_t d = 0; d < rows; ++d) {
            days.push_back(MadeUpDay(seed, d + 1 == rows));
            tails.push_back(Indices(days.back()));
        }
        P.ParseText(Lf(File(days)));
        reference.Refill(tails);

        const std::string recent = P.Recent();
        ASSERT_LE(recent.size(), maxRecent) << "refill " << refill;
        ASSERT_EQ(recent, reference.RecentFront(maxRecent)) << "refill " << refill;
        ASSERT_EQ(recent.substr(0, 8), reference.RecentFront(8)) << "refill " << refill;

        ASSERT_LE(stack.Items.size(), maxTails) << "refill " << refill;
        const Texts kept = StackOf(stack);
        ASSERT_LE(kept.size(), reference.Stack.size());
        ASSERT_TRUE(std::equal(kept.rbegin(), kept.rend(), reference.Stack.rbegin()))
            << "refill " << refill << ": the stack is the top of the unbounded one";
        ASSERT_EQ(stack.FValue.StrValue, reference.Value) << "refill " << refill;
        longestRecent = std::max(longestRecent, recent.size());
        highestStack = std::max(highestStack, kept.size());
    }
    EXPECT_EQ(longestRecent, maxRecent) << "the bound on Recent was reached";
    EXPECT_EQ(highestStack, maxTails - 2) << "the bound on the stack was reached (seen after the refill's two pops)";
    EXPECT_GT(reference.RecentBackward.size(), 100 * maxRecent);
    EXPECT_GT(reference.Stack.size(), 100 * maxTails);
}

TEST_F(MonthFeed, TheBoundsChangeNothingThatIsReadComparedWithTheSchemeWithoutThem)
{
    TKpPipeline unbounded;
    unbounded.Month()->Recent->MaxLength = 0;
    unbounded.Month()->TailStack->MaxCount = 0;
    uint32_t seed = 11;
    for (int refill = 0; refill < 300; ++refill) {
        const size_t rows = refill % 9 == 4 ? 0 : (refill % 7 == 2 ? 1 : 30);
        Texts days;
        for (size_t d = 0; d < rows; ++d)
            days.push_back(MadeUpDay(seed, d + 1 == rows));
        const std::string file = Lf(File(days));
        P.ParseText(file);
        unbounded.ParseText(file);

        const std::string all = unbounded.Recent();
        ASSERT_EQ(P.Recent(), all.substr(0, P.Recent().size())) << "refill " << refill;
        ASSERT_EQ(P.Recent().size(), std::min(all.size(), size_t(TClassMultiElementEx_27BAAA0::RecentMaxLength)));
        const Texts kept = StackOf(*P.Month()->TailStack);
        const Texts every = StackOf(*unbounded.Month()->TailStack);
        ASSERT_TRUE(kept.size() <= every.size() && std::equal(kept.rbegin(), kept.rend(), every.rbegin()))
            << "refill " << refill;
        ASSERT_EQ(P.Outcome().Graph, unbounded.Outcome().Graph) << "refill " << refill;
    }
    EXPECT_GT(unbounded.Recent().size(), size_t(TClassMultiElementEx_27BAAA0::RecentMaxLength));
    EXPECT_GT(unbounded.Month()->TailStack->Items.size(), size_t(TClassMultiElementEx_27BAAA0::TailStackMaxCount));
}
