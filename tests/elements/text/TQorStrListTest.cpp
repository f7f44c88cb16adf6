#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorStrList.h"
#include "winlayer/TestFiles.h"
#include "winlayer/WinStrList.h"

using namespace textkit;

namespace {

struct ListBench : Bench {
    TQorStrList *List = Make<TQorStrList>();
    ListBench() { ProbeFor(List->onChange, "onChange"); }

    Journal Run(void (TQorStrList::*Method)(TData &, uint16_t), TData In)
    {
        Log.clear();
        Fire(List, Method, In);
        return Log;
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (int32_t i = 0; i < List->Lines->Count(); ++i)
            lines.push_back(List->Lines->Items(i));
        return lines;
    }
    std::string Text() { return Read(List, &TQorStrList::Text).StrValue; }
    TArrayRec *Array() { return AsArray(Read(List, &TQorStrList::Array)); }
};

using Lines = std::vector<std::string>;

} // namespace

TEST(TQorStrList, TextReplacesTheLinesSplitAtCarriageReturnsAndAnnouncesTheChange)
{
    Running on;
    struct Case {
        std::string Text;
        Lines Expected;
        std::string Joined;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n"},
        {"a\nb", {"a\nb"}, "a\nb\r\n"},
        {"a\rb", {"a", "b"}, "a\r\nb\r\n"},
        {"a\r\n\r\nb", {"a", "", "b"}, "a\r\n\r\nb\r\n"},
        {"a\r\r\nb\r\r\n", {"a", "", "b", ""}, "a\r\n\r\nb\r\n\r\n"},
        {"", {}, ""},
    };
    for (const Case &c : cases) {
        ListBench bench;
        bench.List->SetStrings("old\r\nlines");
        EXPECT_EQ(bench.Run(&TQorStrList::doText, StrData(c.Text)), Journal{"onChange null"})
            << "even an empty text announces the change";
        EXPECT_EQ(bench.Lines(), c.Expected) << "a text of " << c.Text.size() << " bytes";
        EXPECT_EQ(bench.Text(), c.Joined);
    }
}

TEST(TQorStrList, AWiredStrInputBeatsTheIncomingText)
{
    Running on;
    ListBench bench;
    bench.SourceFor(bench.List->Str, StrData("x\r\ny"));
    bench.Run(&TQorStrList::doText, StrData("ignored"));
    EXPECT_EQ(bench.Lines(), (Lines{"x", "y"}));
}

TEST(TQorStrList, TheArrayReadsAndWritesLinesByIndexValue)
{
    Running on;
    ListBench bench;
    bench.List->SetStrings("zero\r\none\r\ntwo\r\n");
    TArrayRec *arr = bench.Array();
    ASSERT_NE(arr, nullptr);
    EXPECT_EQ(arr->ArrayCountProc.Code(arr->ArrayCountProc.Self), 3);

    struct Get {
        TData Index;
        bool Found;
        const char *Item;
    } gets[] = {
        {IntData(0), true, "str zero"},   {StrData("1"), true, "str one"}, {StrData("x"), false, "str untouched"},
        {StrData(""), false, "str untouched"}, {StrData("-0"), false, "str untouched"},
        {StrData("0"), true, "str zero"}, {IntData(-1), false, "str untouched"},
        {IntData(3), false, "str untouched"}, {RealData(1.5), true, "str two"}, {TData(), false, "str untouched"},
    };
    for (const Get &g : gets) {
        TData item = StrData("untouched");
        EXPECT_EQ(arr->ArrayGetProc.Code(arr->ArrayGetProc.Self, g.Index, item), g.Found)
            << "index " << Describe(g.Index);
        EXPECT_EQ(Describe(item), g.Item) << "index " << Describe(g.Index);
    }

    arr->ArraySetProc.Code(arr->ArraySetProc.Self, StrData("1"), IntData(5));
    arr->ArraySetProc.Code(arr->ArraySetProc.Self, StrData("x"), StrData("not set"));
    arr->ArraySetProc.Code(arr->ArraySetProc.Self, IntData(3), StrData("not set"));
    arr->ArrayAddProc.Code(arr->ArrayAddProc.Self, RealData(2.5));
    arr->ArrayAddProc.Code(arr->ArrayAddProc.Self, TData());
    EXPECT_EQ(bench.Lines(), (Lines{"zero", "5", "two", "2.5", ""}));
    EXPECT_EQ(arr->ArrayCountProc.Code(arr->ArrayCountProc.Self), 5);
}

TEST(TQorStrList, TheArrayRecordIsMadeOnFirstUseAndKept)
{
    Running on;
    ListBench bench;
    EXPECT_EQ(bench.List->ArrayRec, nullptr) << "nothing is made before the array is asked for";
    TArrayRec *first = bench.Array();
    EXPECT_EQ(bench.Array(), first);
    bench.Run(&TQorStrList::doText, StrData("a"));
    EXPECT_EQ(bench.Array(), first) << "a new text keeps the same array value";
    EXPECT_EQ(first->ArrayCountProc.Code(first->ArrayCountProc.Self), 1);
    // The destructor frees it; the sanitizer build reports it otherwise.
}

TEST(TQorStrList, LoadReplacesTheLinesByAnExistingFilesContent)
{
    Running on;
    testfiles::TempFolder folder;
    testfiles::WriteBytes(folder.Path("crlf.txt"), "x\r\ny\r\n");
    testfiles::WriteBytes(folder.Path("lf.txt"), "a\nb\n");
    testfiles::WriteBytes(folder.Path("empty.txt"), "");

    struct Case {
        std::string File;
        Lines Expected;
    } cases[] = {
        {"crlf.txt", {"x", "y"}},
        {"lf.txt", {"a\nb\n"}},
        {"empty.txt", {}},
    };
    for (const Case &c : cases) {
        ListBench bench;
        bench.List->SetStrings("old");
        EXPECT_EQ(bench.Run(&TQorStrList::doLoad, StrData(folder.Path(c.File))), Journal{"onChange null"}) << c.File;
        EXPECT_EQ(bench.Lines(), c.Expected) << c.File;
    }
}

TEST(TQorStrList, LoadTakesTheNameFromTheInputThenThePropertyThenTheEvent)
{
    Running on;
    testfiles::TempFolder folder;
    testfiles::WriteBytes(folder.Path("wired.txt"), "wired");
    testfiles::WriteBytes(folder.Path("property.txt"), "property");
    testfiles::WriteBytes(folder.Path("event.txt"), "event");
    {
        ListBench bench;
        bench.List->FFileName = folder.Path("property.txt");
        bench.SourceFor(bench.List->FileName, StrData(folder.Path("wired.txt")));
        bench.Run(&TQorStrList::doLoad, StrData(folder.Path("event.txt")));
        EXPECT_EQ(bench.Lines(), Lines{"wired"});
    }
    {
        ListBench bench;
        bench.List->FFileName = folder.Path("property.txt");
        bench.Run(&TQorStrList::doLoad, StrData(folder.Path("event.txt")));
        EXPECT_EQ(bench.Lines(), Lines{"property"});
    }
    {
        ListBench bench;
        bench.Run(&TQorStrList::doLoad, StrData(folder.Path("event.txt")));
        EXPECT_EQ(bench.Lines(), Lines{"event"});
    }
}

TEST(TQorStrList, LoadOfAMissingFileOrAFolderKeepsTheListAndRaisesNothing)
{
    Running on;
    testfiles::TempFolder folder;
    for (const std::string &name : {folder.Path("missing.txt"), folder.Path(), std::string()}) {
        ListBench bench;
        bench.List->SetStrings("kept\r\nlines");
        EXPECT_EQ(bench.Run(&TQorStrList::doLoad, StrData(name)), Journal{}) << "\"" << name << "\"";
        EXPECT_EQ(bench.Lines(), (Lines{"kept", "lines"})) << "\"" << name << "\"";
    }
}
