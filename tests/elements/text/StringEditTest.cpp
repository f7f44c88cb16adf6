// TQorCopy, TQorTrim, TQorReplace and TQorStrCat.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "TextTestKit.h"
#include "elements/text/TQorCopy.h"
#include "elements/text/TQorReplace.h"
#include "elements/text/TQorStrCat.h"
#include "elements/text/TQorTrim.h"

using namespace textkit;

namespace {

const std::string CRLF = "\r\n";

// Runs one method with an incoming value and gives what reached its output
// event ("none" when nothing did).
template <class T, class C>
std::string Outcome(Bench &B, T *Element, TPointLink &Event, void (C::*Method)(TData &, uint16_t), TData In)
{
    B.Log.clear();
    TPointLink saved = Event;
    B.ProbeFor(Event, "out");
    Fire(Element, Method, In);
    Event = saved;
    return B.Log.empty() ? "none" : B.Log.back().substr(4);
}

} // namespace

TEST(TQorCopy, CopiesFromEitherEndWithThePositionArithmeticOfTheRightEnd)
{
    Running on;
    struct Case {
        const char *Text;
        int32_t Position, Count;
        uint8_t Direction;
        const char *Expected;
    } cases[] = {
        // From the left.
        {"abcdef", 2, 3, 0, "str bcd"},
        {"abcdef", 1, 16, 0, "str abcdef"},
        {"abcdef", 6, 5, 0, "str f"},
        {"abcdef", 7, 2, 0, "str "},
        {"abcdef", 2, 0, 0, "str "},
        {"abcdef", 2, -1, 0, "str "},
        // from <= 0: the count shrinks by what lies before position 1.
        {"abcdef", 0, 3, 0, "str ab"},
        {"abcdef", -1, 3, 0, "str a"},
        {"abcdef", -2, 3, 0, "str "},
        // From the right: Position 1 with Count c is the last c characters.
        {"0123456789", 1, 16, 1, "str 0123456789"},
        {"abcdefghijklmnop", 1, 16, 1, "str abcdefghijklmnop"},
        {"abcdefghijklmnopqrst", 1, 16, 1, "str efghijklmnopqrst"},
        {"abcdef", 1, 1, 1, "str f"},
        {"abcdef", 2, 1, 1, "str e"},
        {"abcdef", 2, 3, 1, "str cde"},
        {"abcdef", 6, 1, 1, "str a"},
        {"abcdef", 7, 1, 1, "str "},
        {"abcdef", 0, 1, 1, "str "},
        {"abcdef", 1, INT_MAX, 1, "str abcdef"},
        {"abcdef", INT_MIN, INT_MAX, 0, "str "},
        // Nothing to copy from: no event at all.
        {"", 1, 16, 1, "none"},
    };
    for (const Case &c : cases) {
        Bench b;
        TQorCopy *copy = b.Make<TQorCopy>();
        copy->FPosition = c.Position;
        copy->FCount = c.Count;
        copy->Direction = c.Direction;
        EXPECT_EQ(Outcome(b, copy, copy->onCopy, &TQorCopy::doCopy, StrData(c.Text)), c.Expected)
            << "\"" << c.Text << "\" Position " << c.Position << " Count " << c.Count << " Direction "
            << int(c.Direction);
    }
}

TEST(TQorCopy, AWiredPositionOfZeroBeatsThePropertyAndTheIncomingValue)
{
    Running on;
    // The Kp value: the character just after the space that is N-th from the
    // right end of the tail is copied with Position N - 1, Count 1, Direction 1.
    struct Case {
        const char *Tail;
        int32_t WiredPosition;
        const char *Expected;
    } cases[] = {
        {" 1 2 3 4", 1, "str 4"},
        {" 1 2 3 -", 1, "str -"},
        {" 1 2 3 4", 3, "str 3"},
        {"12 ", 0, "str "},
        {"7 ", 0, "str "},
    };
    for (const Case &c : cases) {
        Bench b;
        TQorCopy *copy = b.Make<TQorCopy>();
        copy->FPosition = 0;
        copy->FCount = 1;
        copy->Direction = 1;
        b.SourceFor(copy->Str, StrData(c.Tail));
        b.SourceFor(copy->Position, IntData(c.WiredPosition));
        EXPECT_EQ(Outcome(b, copy, copy->onCopy, &TQorCopy::doCopy, IntData(5)), c.Expected)
            << "tail \"" << c.Tail << "\" position " << c.WiredPosition;
    }
}

TEST(TQorCopy, AWiredCountTakesTheFirstCharacters)
{
    Running on;
    for (int32_t count : {0, 3, 8}) {
        Bench b;
        TQorCopy *copy = b.Make<TQorCopy>();
        copy->FPosition = 1;
        copy->FCount = 16;
        b.SourceFor(copy->Str, StrData("32541"));
        b.SourceFor(copy->Count, IntData(count));
        std::string expected = "str " + std::string("32541").substr(0, static_cast<size_t>(count));
        EXPECT_EQ(Outcome(b, copy, copy->onCopy, &TQorCopy::doCopy, TData()), expected) << "count " << count;
    }
}

TEST(TQorTrim, TrimStripsOneCharacterFromBothEnds)
{
    Running on;
    struct Case {
        const char *Char;
        std::string Text;
        std::string Expected;
    } cases[] = {
        {" ", "  a b  ", "a b"},
        {" ", "    ", ""},
        {" ", "", ""},
        {" ", "a", "a"},
        {"", "  a  ", "a"},
        {"x-", "xxaxx", "a"},
        {"x-", "-a-", "-a-"},
        {" ", "\t a \t", "\t a \t"},
        {" ", " 1 2 3 4 5 6 7 8\r\n", "1 2 3 4 5 6 7 8\r\n"},
    };
    for (const Case &c : cases) {
        Bench b;
        TQorTrim *trim = b.Make<TQorTrim>();
        trim->Char = c.Char;
        EXPECT_EQ(Outcome(b, trim, trim->onTrim, &TQorTrim::doTrim, StrData(c.Text)), "str " + c.Expected)
            << "\"" << c.Text << "\" trimmed of \"" << c.Char << "\"";
        EXPECT_EQ(trim->FText, c.Expected);
    }
}

TEST(TQorTrim, TrimEndCutsEveryRepeatOfTheWholeStringFromTheEnd)
{
    Running on;
    struct Case {
        std::string Char;
        std::string Text;
        std::string Expected;
    } cases[] = {
        {CRLF, "ab" + CRLF + CRLF, "ab"},
        {CRLF, "ab" + CRLF + "\r", "ab" + CRLF + "\r"},
        {CRLF, "ab\n" + CRLF, "ab\n"},
        {CRLF, "a" + CRLF + "b", "a" + CRLF + "b"},
        {CRLF, CRLF, ""},
        {CRLF, "\n", "\n"},
        {CRLF, "", ""},
        {"", "ab  ", "ab  "},
        {"AB", "xab", "xab"},
        {"ab", "abab", ""},
    };
    for (const Case &c : cases) {
        Bench b;
        TQorTrim *trim = b.Make<TQorTrim>();
        trim->Char = c.Char;
        trim->Mode = 5;
        EXPECT_EQ(Outcome(b, trim, trim->onTrim, &TQorTrim::doTrimEnd, StrData(c.Text)), "str " + c.Expected)
            << "a text of " << c.Text.size() << " bytes, Char of " << c.Char.size();
    }
}

TEST(TQorReplace, ReplacesEveryOccurrenceWithoutLookingInsideWhatItInserted)
{
    Running on;
    struct Case {
        std::string Text, Sub, Dest, Expected;
    } cases[] = {
        {"a\nb\n", "\n", CRLF, "a\r\nb\r\n"},
        {"a\r\nb\r\n", "\n", CRLF, "a\r\r\nb\r\r\n"},
        {"", "\n", CRLF, ""},
        {"aaa", "a", "aa", "aaaaaa"},
        {"abab", "ab", "", ""},
        {"aaaa", "aa", "b", "bb"},
        {"aaa", "aa", "b", "ba"},
        {"xyz", "", "q", "xyz"},
        {"xyz", "w", "q", "xyz"},
        {"Abc", "a", "x", "Abc"},
    };
    for (const Case &c : cases) {
        Bench b;
        TQorReplace *replace = b.Make<TQorReplace>();
        replace->FSubStr = c.Sub;
        replace->FDest = c.Dest;
        EXPECT_EQ(Outcome(b, replace, replace->onReplace, &TQorReplace::doReplace, StrData(c.Text)),
                  "str " + c.Expected)
            << "replacing in a text of " << c.Text.size() << " bytes";
    }
}

TEST(TQorReplace, WiredInputsBeatTheProperties)
{
    Running on;
    Bench b;
    TQorReplace *replace = b.Make<TQorReplace>();
    replace->FSubStr = "a";
    replace->FDest = "b";
    b.SourceFor(replace->Str, StrData("a-c-a"));
    b.SourceFor(replace->SubStr, StrData("-"));
    b.SourceFor(replace->Dest, StrData("+"));
    EXPECT_EQ(Outcome(b, replace, replace->onReplace, &TQorReplace::doReplace, StrData("zzz")), "str a+c+a");
}

namespace {

// Answers the Skip question: skip the occurrences at the listed positions.
struct SkipOracle : TElement {
    TQorReplace *Replace = nullptr;
    std::set<int32_t> SkipAt;
    std::vector<int32_t> Asked;
    void Skip(TData &Data, uint16_t)
    {
        Asked.push_back(Replace->Position);
        Data.dtInteger(SkipAt.count(Replace->Position) ? 1 : 0);
    }
};

} // namespace

TEST(TQorReplace, TheSkipInputIsAskedAtEveryOccurrenceWithItsPositionInTheWorkingText)
{
    Running on;
    struct Case {
        std::string Text, Sub, Dest;
        std::set<int32_t> SkipAt;
        std::vector<int32_t> Asked;
        std::string Expected;
    } cases[] = {
        {"a-b-c-d", "-", "+", {4}, {2, 4, 6}, "a+b-c+d"},
        {"a-b-c", "-", "<>", {}, {2, 5}, "a<>b<>c"},
        {"aaa", "aa", "b", {1}, {1, 2}, "ab"},
        {"a-b", "-", "+", {2}, {2}, "a-b"},
    };
    for (const Case &c : cases) {
        Bench b;
        TQorReplace *replace = b.Make<TQorReplace>();
        replace->FSubStr = c.Sub;
        replace->FDest = c.Dest;
        SkipOracle *oracle = b.Make<SkipOracle>();
        oracle->Replace = replace;
        oracle->SkipAt = c.SkipAt;
        LinkData(replace->Skip, oracle, &SkipOracle::Skip, 0);
        EXPECT_EQ(Outcome(b, replace, replace->onReplace, &TQorReplace::doReplace, StrData(c.Text)),
                  "str " + c.Expected)
            << c.Text;
        EXPECT_EQ(oracle->Asked, c.Asked) << c.Text;
    }
}

TEST(TQorStrCat, JoinsFirstAndSecondReadInThatOrder)
{
    Running on;
    {
        Bench b;
        TQorStrCat *cat = b.Make<TQorStrCat>();
        cat->FStr1 = "Kp:";
        EXPECT_EQ(Outcome(b, cat, cat->onStrCat, &TQorStrCat::doStrCat, StrData("4")), "str Kp:4");
        EXPECT_EQ(Describe(Read(cat, &TQorStrCat::Result)), "str Kp:4");
    }
    {
        Bench b;
        TQorStrCat *cat = b.Make<TQorStrCat>();
        cat->FStr2 = "DGD.txt";
        b.SourceFor(cat->Str1, StrData("C:\\Tervik\\"));
        EXPECT_EQ(Outcome(b, cat, cat->onStrCat, &TQorStrCat::doStrCat, TData()), "str C:\\Tervik\\DGD.txt");
    }
    {
        // Both properties empty: the incoming value and its chain give the two halves.
        Bench b;
        TQorStrCat *cat = b.Make<TQorStrCat>();
        TData second = StrData("2");
        TData in = StrData("1");
        in.NextData = &second;
        EXPECT_EQ(Outcome(b, cat, cat->onStrCat, &TQorStrCat::doStrCat, in), "str 12");
    }
}

TEST(TQorStrCat, ReadingItsOwnResultPutsEachNewValueInFront)
{
    Running on;
    Bench b;
    TQorStrCat *recent = b.Make<TQorStrCat>();
    LinkData(recent->Str2, recent, &TQorStrCat::Result, 0);
    for (const char *c : {"1", "2", "3"})
        Fire(recent, &TQorStrCat::doStrCat, StrData(c));
    EXPECT_EQ(Describe(Read(recent, &TQorStrCat::Result)), "str 321");
}

TEST(TQorStrCat, MaxLengthKeepsTheBeginningOfTheJoinedTextAndZeroMeansNoLimit)
{
    Running on;
    struct Case {
        int32_t MaxLength;
        std::string Expected; // after joining 1, 2, 3, 4, 5 each in front
    } cases[] = {
        {0, "54321"},
        {-1, "54321"},
        {3, "543"},
        {5, "54321"},
        {9, "54321"},
        {1, "5"},
    };
    for (const Case &c : cases) {
        Bench b;
        TQorStrCat *recent = b.Make<TQorStrCat>();
        recent->MaxLength = c.MaxLength;
        LinkData(recent->Str2, recent, &TQorStrCat::Result, 0);
        std::string last;
        for (const char *v : {"1", "2", "3", "4", "5"})
            last = Outcome(b, recent, recent->onStrCat, &TQorStrCat::doStrCat, StrData(v));
        EXPECT_EQ(Describe(Read(recent, &TQorStrCat::Result)), "str " + c.Expected)
            << "MaxLength " << c.MaxLength;
        EXPECT_EQ(last, "str " + c.Expected) << "the event carries the cut text, MaxLength " << c.MaxLength;
    }
    {
        // The cut applies to the whole join, the second string's end goes first.
        Bench b;
        TQorStrCat *cat = b.Make<TQorStrCat>();
        cat->FStr1 = "Kp:";
        cat->MaxLength = 4;
        EXPECT_EQ(Outcome(b, cat, cat->onStrCat, &TQorStrCat::doStrCat, StrData("45")), "str Kp:4");
        cat->MaxLength = 2;
        EXPECT_EQ(Outcome(b, cat, cat->onStrCat, &TQorStrCat::doStrCat, StrData("45")), "str Kp");
    }
}
