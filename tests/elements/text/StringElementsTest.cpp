// The string list, the part enumerator, copy, trim, replace and join.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "TextTestKit.h"
#include "elements/text/TQorCopy.h"
#include "elements/text/TQorReplace.h"
#include "elements/text/TQorStrCat.h"
#include "elements/text/TQorStrList.h"
#include "elements/text/TQorStr_Enum.h"
#include "elements/text/TQorTrim.h"
#include "winlayer/TestFiles.h"
#include "winlayer/WinStrList.h"

using namespace textkit;

namespace {

const std::string CRLF = "\r\n";

// A list holding the line "old" after one call of Method: the events, its lines and its text.
Journal ListAfter(void (TQorStrList::*Method)(TData &, uint16_t), const std::string &In)
{
    Bench bench;
    TQorStrList *list = bench.Make<TQorStrList>();
    list->SetStrings("old");
    bench.ProbeFor(list->onChange, "onChange");
    Journal log = bench.Run(list, Method, StrData(In));
    for (int32_t i = 0; i < list->Lines->Count(); ++i)
        log.push_back("line " + list->Lines->Items(i));
    log.push_back("text " + Read(list, &TQorStrList::Text).StrValue);
    return log;
}

enum Way { Left, Right };

// The events of a part enumerator's walk over Text, then its Number. With
// StopOnce the first onEnum calls doStop, and a second walk follows.
Journal Walk(Way Direction, const char *Delimiter, int32_t Start, int32_t End, const std::string &Text,
             uint8_t BreakEvent = 0, bool StopOnce = false)
{
    Bench bench;
    TQorStr_Enum *walk = bench.Make<TQorStr_Enum>();
    walk->Delimiter = Delimiter;
    walk->Start = Start;
    walk->End = End;
    walk->BreakEvent = BreakEvent;
    bench.ProbeFor(walk->onEnum, "onEnum")->Then = [&](TData &) {
        if (StopOnce)
            Fire(walk, &TQorStr_Enum::doStop);
        StopOnce = false;
    };
    bench.ProbeFor(walk->onEndEnum, "onEndEnum");
    bench.ProbeFor(walk->onBreak, "onBreak");
    for (int walks = StopOnce ? 2 : 1; walks > 0; --walks) {
        Fire(walk, Direction == Left ? &TQorStr_Enum::doEnum : &TQorStr_Enum::doEnumBack, StrData(Text));
        bench.Log.push_back("Number " + Show(Read(walk, &TQorStr_Enum::Number)));
    }
    return bench.Log;
}

// The value of the last event, without its name; "none" without any event.
std::string Last(const Journal &Log)
{
    return Log.empty() ? "none" : Log.back().substr(Log.back().find(' ') + 1);
}

// Answers the Skip question: skip the occurrences at the listed positions.
struct SkipOracle : TElement {
    TQorReplace *Replace = nullptr;
    std::set<int32_t> SkipAt;
    void Skip(TData &Data, uint16_t) { Data.dtInteger(SkipAt.count(Replace->Position) ? 1 : 0); }
};

} // namespace

TEST(TQorStrList, TextReplacesTheLinesSplitAtCarriageReturnsAndAnnouncesTheChange)
{
    Running on;
    EXPECT_EQ(ListAfter(&TQorStrList::doText, "a\r\nb\r\n"),
              (Journal{"onChange null", "line a", "line b", "text a\r\nb\r\n"}));
    EXPECT_EQ(ListAfter(&TQorStrList::doText, ""), (Journal{"onChange null", "text "}));
}

TEST(TQorStrList, LoadReplacesTheLinesOnlyByAnExistingFileAndAnnouncesOnlyThat)
{
    Running on;
    testfiles::TempFolder folder;
    testfiles::WriteBytes(folder.Path("crlf.txt"), "x\r\ny\r\n");
    EXPECT_EQ(ListAfter(&TQorStrList::doLoad, folder.Path("crlf.txt")),
              (Journal{"onChange null", "line x", "line y", "text x\r\ny\r\n"}));
    EXPECT_EQ(ListAfter(&TQorStrList::doLoad, folder.Path("missing.txt")), (Journal{"line old", "text old\r\n"}));
    EXPECT_EQ(ListAfter(&TQorStrList::doLoad, folder.Path()), (Journal{"line old", "text old\r\n"})) << "a folder";
}

TEST(TQorStr_Enum, WalksPartsOrCharactersFromStartToEndAndLeavesNumberAfterTheLast)
{
    Running on;
    auto check = [](Way Direction, const char *Delimiter, int32_t Start, int32_t End, const char *Text,
                    const Journal &Parts, int32_t Number) {
        Journal expected;
        for (const std::string &part : Parts)
            expected.push_back("onEnum str " + part);
        expected.push_back("onEndEnum null");
        expected.push_back("Number int " + std::to_string(Number));
        EXPECT_EQ(Walk(Direction, Delimiter, Start, End, Text), expected)
            << (Direction == Left ? "doEnum" : "doEnumBack") << " of \"" << Text << "\" from " << Start;
    };
    // Part mode: empty parts between and before delimiters, none after the last one.
    check(Left, ",", 1, -1, "a,,b", {"a", "", "b"}, 4);
    check(Left, ",", 1, -1, ",a,", {"", "a"}, 3);
    check(Left, ";,", 1, -1, "a;b,c", {"a", "b,c"}, 3);
    check(Right, ",", 1, -1, "a,b,", {"", "b", "a"}, 4);
    // From the right, skipping past the first part still yields one empty part.
    check(Right, ",", 3, -1, "a,b", {""}, 4);
    check(Right, ",", INT32_MAX, -1, "a", {""}, INT32_MIN);
    // Character mode.
    check(Left, "", 2, -1, "abc", {"b", "c"}, 4);
}

TEST(TQorStr_Enum, StopInTheFirstPartEndsTheWalkThereAndTheNextWalkStartsAfresh)
{
    Running on;
    EXPECT_EQ(Walk(Left, ",", 1, -1, "a,b", 1, true),
              (Journal{"onEnum str a", "onBreak str a", "Number int 1", "onEnum str a", "onEnum str b",
                       "onEndEnum null", "Number int 3"}));
    EXPECT_EQ(Walk(Right, "", 1, -1, "ab", 0, true),
              (Journal{"onEnum str b", "onEndEnum null", "Number int 1", "onEnum str b", "onEnum str a",
                       "onEndEnum null", "Number int 3"}));
}

TEST(TQorCopy, CopiesFromEitherEndWithThePositionArithmeticOfTheRightEnd)
{
    Running on;
    Bench b;
    TQorCopy *copy = b.Make<TQorCopy>();
    b.ProbeFor(copy->onCopy, "onCopy");
    auto check = [&](const char *Text, int32_t Position, int32_t Count, uint8_t Direction, const char *Expected) {
        copy->FPosition = Position;
        copy->FCount = Count;
        copy->Direction = Direction;
        EXPECT_EQ(Last(b.Run(copy, &TQorCopy::doCopy, StrData(Text))), Expected)
            << Text << " from " << Position << ", " << Count << " long, Direction " << int(Direction);
    };
    check("abcdef", 0, 3, 0, "str ab"); // from 0 or less the count shrinks by what lies before 1
    // From the right: Position 1 with Count c is the last c characters.
    check("0123456789", 1, 16, 1, "str 0123456789");
    check("abcdefghijklmnopqrst", 1, 16, 1, "str efghijklmnopqrst");
    check("abcdef", 2, 3, 1, "str cde");
    check("abcdef", 1, INT_MAX, 1, "str abcdef"); // no overflow in the sums
    check("abcdef", INT_MIN, INT_MAX, 0, "str ");
    check("", 1, 16, 1, "none");
}

TEST(TQorTrim, TrimStripsOneCharacterFromBothEndsAndTrimEndEveryRepeatOfAStringFromTheEnd)
{
    Running on;
    Bench b;
    TQorTrim *trim = b.Make<TQorTrim>();
    b.ProbeFor(trim->onTrim, "onTrim");
    auto check = [&](bool End, const std::string &Char, const std::string &Text, const std::string &Expected) {
        trim->Char = Char;
        EXPECT_EQ(Last(b.Run(trim, End ? &TQorTrim::doTrimEnd : &TQorTrim::doTrim, StrData(Text))), "str " + Expected)
            << (End ? "doTrimEnd" : "doTrim") << " of " << Text.size() << " bytes by " << Char.size();
    };
    check(false, " ", "  a b  ", "a b");
    check(false, " ", "    ", "");
    check(false, "", "\t a ", "\t a");
    check(false, "x-", "xxaxx", "a");
    check(true, CRLF, "ab" + CRLF + CRLF, "ab");
    check(true, CRLF, "ab\n" + CRLF + "\r", "ab\n" + CRLF + "\r");
}

TEST(TQorReplace, ReplacesEveryOccurrenceNotSkippedWithoutLookingInsideWhatItInserted)
{
    Running on;
    Bench b;
    TQorReplace *replace = b.Make<TQorReplace>();
    b.ProbeFor(replace->onReplace, "onReplace");
    SkipOracle *oracle = b.Make<SkipOracle>();
    oracle->Replace = replace;
    LinkData(replace->Skip, oracle, &SkipOracle::Skip, 0);
    auto check = [&](const std::string &Text, const std::string &Sub, const std::string &Dest,
                     std::set<int32_t> SkipAt, const std::string &Expected) {
        replace->FSubStr = Sub;
        replace->FDest = Dest;
        oracle->SkipAt = SkipAt;
        EXPECT_EQ(Last(b.Run(replace, &TQorReplace::doReplace, StrData(Text))), "str " + Expected)
            << "replacing in \"" << Text << "\"";
    };
    check("a\nb\r\n", "\n", CRLF, {}, "a\r\nb\r\r\n");
    check("aaa", "a", "aa", {}, "aaaaaa");
    check("aaa", "aa", "b", {}, "ba");
    check("xyz", "", "q", {}, "xyz");
    // Skip is asked with the position in the text as replaced so far.
    check("a-b-c-d", "-", "<>", {5}, "a<>b-c<>d");
}

TEST(TQorStrCat, JoinsFirstAndSecondAndKeepsOnlyTheFirstMaxLengthCharacters)
{
    Running on;
    Bench b;
    TQorStrCat *recent = b.Make<TQorStrCat>();
    b.ProbeFor(recent->onStrCat, "onStrCat");
    // Each new value goes in front of the last result, as the 30-day feed joins them.
    LinkData(recent->Str2, recent, &TQorStrCat::Result, 0);
    for (const char *v : {"1", "2", "3"})
        b.Run(recent, &TQorStrCat::doStrCat, StrData(v));
    EXPECT_EQ(Show(Read(recent, &TQorStrCat::Result)), "str 321") << "no limit";
    recent->MaxLength = 4;
    EXPECT_EQ(b.Run(recent, &TQorStrCat::doStrCat, StrData("45")), Journal{"onStrCat str 4532"});
    EXPECT_EQ(Show(Read(recent, &TQorStrCat::Result)), "str 4532") << "the first four characters";
}
