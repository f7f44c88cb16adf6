#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorStr_Enum.h"

using namespace textkit;

namespace {

enum Way { Left, Right };

struct EnumBench : Bench {
    TQorStr_Enum *Enum = Make<TQorStr_Enum>();
    Probe *OnEnum = ProbeFor(Enum->onEnum, "onEnum");
    Probe *OnEnd = ProbeFor(Enum->onEndEnum, "onEndEnum");
    Probe *OnBreak = ProbeFor(Enum->onBreak, "onBreak");

    EnumBench(const std::string &Delimiter, int32_t Start, int32_t End)
    {
        Enum->Delimiter = Delimiter;
        Enum->Start = Start;
        Enum->End = End;
    }

    Journal Run(Way Direction, const std::string &Text)
    {
        Log.clear();
        Fire(Enum, Direction == Left ? &TQorStr_Enum::doEnum : &TQorStr_Enum::doEnumBack, StrData(Text));
        return Log;
    }
};

struct WalkCase {
    Way Direction;
    const char *Delimiter;
    int32_t Start;
    int32_t End;
    const char *Text;
    Journal Expected;
};

void CheckWalks(const std::vector<WalkCase> &Cases)
{
    Running on;
    for (const WalkCase &c : Cases) {
        EnumBench bench(c.Delimiter, c.Start, c.End);
        EXPECT_EQ(bench.Run(c.Direction, c.Text), c.Expected)
            << (c.Direction == Left ? "doEnum" : "doEnumBack") << " of \"" << c.Text << "\" with delimiter \""
            << c.Delimiter << "\", Start " << c.Start << ", End " << c.End;
    }
}

} // namespace

TEST(TQorStr_Enum, PartModeFromTheLeftSplitsAtEveryDelimiterButMakesNoEmptyLastPart)
{
    CheckWalks({
        {Left, ",", 1, -1, "a,,b", {"onEnum str a", "onEnum str ", "onEnum str b", "onEndEnum null"}},
        {Left, ",", 1, -1, "a,", {"onEnum str a", "onEndEnum null"}},
        {Left, ",", 1, -1, ",a", {"onEnum str ", "onEnum str a", "onEndEnum null"}},
        {Left, ",", 1, -1, ",", {"onEnum str ", "onEndEnum null"}},
        {Left, ",", 1, -1, "abc", {"onEnum str abc", "onEndEnum null"}},
        {Left, ",", 1, -1, "", {"onEndEnum null"}},
        {Left, ",", 1, 2, "a,b,c", {"onEnum str a", "onEnum str b", "onEndEnum null"}},
        {Left, ",", 2, -1, "a,b,c", {"onEnum str b", "onEnum str c", "onEndEnum null"}},
        {Left, ",", 3, -1, "a,b", {"onEndEnum null"}},
        {Left, ",", 5, -1, "a,b", {"onEndEnum null"}},
        {Left, ",", 0, -1, "a,b", {"onEnum str a", "onEnum str b", "onEndEnum null"}},
        {Left, ";,", 1, -1, "a;b,c", {"onEnum str a", "onEnum str b,c", "onEndEnum null"}},
    });
}

TEST(TQorStr_Enum, PartModeFromTheRightMirrorsTheSplitAndYieldsAnEmptyPartAfterRunningOut)
{
    CheckWalks({
        {Right, ",", 1, -1, "a,b,c", {"onEnum str c", "onEnum str b", "onEnum str a", "onEndEnum null"}},
        {Right, ",", 1, -1, "a,,b", {"onEnum str b", "onEnum str ", "onEnum str a", "onEndEnum null"}},
        {Right, ",", 1, -1, "a,", {"onEnum str ", "onEnum str a", "onEndEnum null"}},
        {Right, ",", 1, -1, ",a", {"onEnum str a", "onEndEnum null"}},
        {Right, ",", 1, -1, "", {"onEndEnum null"}},
        {Right, ",", 1, 2, "a,b,c", {"onEnum str c", "onEnum str b", "onEndEnum null"}},
        {Right, ",", 2, -1, "a,b,c", {"onEnum str b", "onEnum str a", "onEndEnum null"}},
        // Start beyond the parts: the text is used up by the skipping, one empty part still comes.
        {Right, ",", 3, -1, "a,b", {"onEnum str ", "onEndEnum null"}},
        {Right, ",", 9, -1, "a,b", {"onEnum str ", "onEndEnum null"}},
        // The part counter passes the top of its range without harm.
        {Right, ",", INT32_MAX, -1, "a", {"onEnum str ", "onEndEnum null"}},
    });
}

TEST(TQorStr_Enum, CharacterModeWalksFromStartToEndOrTheLastCharacter)
{
    CheckWalks({
        {Left, "", 1, -1, "abc", {"onEnum str a", "onEnum str b", "onEnum str c", "onEndEnum null"}},
        {Left, "", 2, -1, "abc", {"onEnum str b", "onEnum str c", "onEndEnum null"}},
        {Left, "", 3, -1, "abc", {"onEnum str c", "onEndEnum null"}},
        {Left, "", 4, -1, "abc", {"onEndEnum null"}},
        {Left, "", 0, -1, "abc", {"onEndEnum null"}},
        {Left, "", 1, 2, "abc", {"onEnum str a", "onEnum str b", "onEndEnum null"}},
        {Left, "", 1, -1, "", {"onEndEnum null"}},
        {Left, "", 1, -1, "a,b", {"onEnum str a", "onEnum str ,", "onEnum str b", "onEndEnum null"}},
        {Right, "", 1, -1, "abc", {"onEnum str c", "onEnum str b", "onEnum str a", "onEndEnum null"}},
        {Right, "", 2, -1, "abc", {"onEnum str b", "onEnum str a", "onEndEnum null"}},
        {Right, "", 4, -1, "abc", {"onEndEnum null"}},
        {Right, "", 1, 1, "abc", {"onEnum str c", "onEndEnum null"}},
    });
}

TEST(TQorStr_Enum, NumberCountsThePartsAndEndsOnePastTheLastCharacterWalked)
{
    Running on;
    struct Case {
        Way Direction;
        const char *Delimiter;
        int32_t Start, End;
        const char *Text;
        std::vector<int32_t> During;
        int32_t After;
    } cases[] = {
        {Left, "", 1, -1, "abc", {1, 2, 3}, 4},
        {Right, "", 1, -1, "abc", {1, 2, 3}, 4},
        {Right, "", 1, -1, "", {}, 1},
        {Left, "", 2, 3, "abcd", {2, 3}, 3},
        {Left, ",", 1, -1, "a,b", {1, 2}, 3},
        {Left, ",", 2, -1, "a,b,c", {2, 3}, 4},
        {Right, ",", 3, -1, "a,b", {3}, 4},
    };
    for (const Case &c : cases) {
        EnumBench bench(c.Delimiter, c.Start, c.End);
        std::vector<int32_t> during;
        bench.OnEnum->Then = [&](TData &) { during.push_back(Read(bench.Enum, &TQorStr_Enum::Number).IntValue); };
        bench.Run(c.Direction, c.Text);
        EXPECT_EQ(during, c.During) << "numbers while walking \"" << c.Text << "\"";
        TData after = Read(bench.Enum, &TQorStr_Enum::Number);
        EXPECT_EQ(Describe(after), "int " + std::to_string(c.After)) << "number after walking \"" << c.Text << "\"";
    }
}

TEST(TQorStr_Enum, StopFromTheFirstPartGivesExactlyOnePartThenBreakWhenBreakEventIsSet)
{
    Running on;
    struct Case {
        Way Direction;
        const char *Delimiter;
        uint8_t BreakEvent;
        Journal Expected;
    } cases[] = {
        {Left, ",", 1, {"onEnum str a", "onBreak str a"}},
        {Right, ",", 1, {"onEnum str c", "onBreak str c"}},
        {Left, "", 1, {"onEnum str a", "onBreak str a"}},
        {Right, "", 1, {"onEnum str c", "onBreak str c"}},
        {Left, ",", 0, {"onEnum str a", "onEndEnum null"}},
        {Right, "", 0, {"onEnum str c", "onEndEnum null"}},
    };
    for (const Case &c : cases) {
        EnumBench bench(c.Delimiter, 1, -1);
        bench.Enum->BreakEvent = c.BreakEvent;
        bench.OnEnum->Then = [&](TData &) { Fire(bench.Enum, &TQorStr_Enum::doStop); };
        const char *text = *c.Delimiter ? "a,b,c" : "abc";
        EXPECT_EQ(bench.Run(c.Direction, text), c.Expected)
            << (c.Direction == Left ? "doEnum" : "doEnumBack") << " with delimiter \"" << c.Delimiter
            << "\", BreakEvent " << int(c.BreakEvent);
        EXPECT_EQ(bench.Enum->FNumber, 1) << "the walk stops at the part that was current";
    }
}

TEST(TQorStr_Enum, EveryWalkClearsTheStopOfTheLastOne)
{
    Running on;
    EnumBench bench("", 1, -1);
    bench.Enum->BreakEvent = 1;
    bench.OnEnum->Then = [&](TData &) { Fire(bench.Enum, &TQorStr_Enum::doStop); };
    bench.Run(Left, "ab");
    bench.OnEnum->Then = nullptr;
    EXPECT_EQ(bench.Run(Left, "ab"), (Journal{"onEnum str a", "onEnum str b", "onEndEnum null"}));
}

TEST(TQorStr_Enum, AWiredStrInputBeatsTheIncomingValue)
{
    Running on;
    EnumBench bench(",", 1, -1);
    Source *text = bench.SourceFor(bench.Enum->Str, StrData("x,y"));
    EXPECT_EQ(bench.Run(Left, "a,b"), (Journal{"onEnum str x", "onEnum str y", "onEndEnum null"}));
    EXPECT_EQ(text->Reads, 1);
}

TEST(TQorStr_Enum, TheEndEventIsForwardedWithTheCallersRecord)
{
    Running on;
    EnumBench bench("", 1, -1);
    bench.Enum->BreakEvent = 1;
    bench.OnEnum->Then = [&](TData &) { Fire(bench.Enum, &TQorStr_Enum::doStop); };
    TPointLink call;
    LinkEvent(call, bench.Enum, &TQorStr_Enum::doEnum, 0);
    TData record = StrData("xyz");
    CallEvent(call, record);
    EXPECT_EQ(Describe(record), "str x") << "onBreak rides on the record that came in";
    EXPECT_EQ(record.DataType & dtForward, 0) << "the dispatcher clears the forward flag";
}
