#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "winlayer/WinStrList.h"

using testfiles::Make;
using testfiles::TempFolder;
using winlayer::TWinStrList;

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TWinStrList &list)
{
    Lines lines;
    for (int32_t i = 0; i < list.Count(); ++i)
        lines.push_back(list.Items(i));
    return lines;
}

// Shows control characters so a failing case can be read.
std::string Visible(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "<CR>";
        else if (c == '\n')
            out += "<LF>";
        else if (c == '\0')
            out += "<NUL>";
        else
            out += c;
    }
    return out;
}

} // namespace

TEST(WinStrList, SetTextEndsLinesAtCrTakingOneLfWithIt)
{
    struct Case { std::string text; Lines lines; } cases[] = {
        {"a\rb", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb", {"a\nb"}},                 // a lone LF is an ordinary character
        {"a\r\nb\r\n", {"a", "b"}},         // a final break makes no empty last line
        {"a\r", {"a"}},
        {"", {}},                           // an empty text makes no lines
        {"a\r\r\nb", {"a", "", "b"}},       // CR, then CR LF: an empty line between
        {"abc", {"abc"}},                   // no break: one line
        {"\r\n", {""}},
        {"\r", {""}},
        {"\n", {"\n"}},
        {"\r\n\r\n", {"", ""}},
        {"a\r\n\nb", {"a", "\nb"}},         // only the first LF belongs to the break
        {"a\n\rb", {"a\n", "b"}},           // LF CR is not a break pair
        {"a\r\rb", {"a", "", "b"}},
        {std::string("a\0b\rc", 5), {std::string("a\0b", 3), "c"}},
    };
    for (const Case &c : cases) {
        auto list = Make<TWinStrList>();
        list->Add("old");
        list->SetText(c.text, false);
        EXPECT_EQ(LinesOf(*list), c.lines) << "for \"" << Visible(c.text) << "\"";
    }
}

TEST(WinStrList, SetTextAppendingKeepsTheLinesBefore)
{
    auto list = Make<TWinStrList>();
    list->SetText("a\r\nb", false);
    list->SetText("c\rd\r\n", true);
    EXPECT_EQ(LinesOf(*list), (Lines{"a", "b", "c", "d"}));
    list->SetText("", true);
    EXPECT_EQ(list->Count(), 4);
    list->SetText("", false);
    EXPECT_EQ(list->Count(), 0);
}

TEST(WinStrList, TextEndsEveryLineWithCrLfAndRoundTrips)
{
    struct Case { std::string text; std::string joined; } cases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\nb", "a\nb\r\n"},
        {"", ""},
        {"\r\n", "\r\n"},
        {"x\r\r\n", "x\r\n\r\n"},
    };
    for (const Case &c : cases) {
        auto list = Make<TWinStrList>();
        list->SetText(c.text, false);
        EXPECT_EQ(Visible(list->Text()), Visible(c.joined)) << "for \"" << Visible(c.text) << "\"";
        auto again = Make<TWinStrList>();
        again->SetText(list->Text(), false);
        EXPECT_EQ(LinesOf(*again), LinesOf(*list)) << "round trip of \"" << Visible(c.text) << "\"";
    }
}

TEST(WinStrList, AddInsertDeleteAndSetItemsEditTheLines)
{
    auto list = Make<TWinStrList>();
    EXPECT_EQ(list->Add("b"), 0);
    EXPECT_EQ(list->Add("d"), 1);
    list->Insert(0, "a");
    list->Insert(2, "c");
    list->Insert(4, "e");
    EXPECT_EQ(LinesOf(*list), (Lines{"a", "b", "c", "d", "e"}));
    list->Delete(1);
    list->SetItems(0, "A");
    EXPECT_EQ(LinesOf(*list), (Lines{"A", "c", "d", "e"}));
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Text(), "");
}

TEST(WinStrList, BadIndexesChangeNothingAndReadAsEmpty)
{
    auto list = Make<TWinStrList>();
    list->SetText("a\r\nb", false);
    const Lines before = LinesOf(*list);
    const int32_t bad[] = {-1, 2, 3, -2147483647 - 1, 2147483647};
    for (int32_t index : bad) {
        EXPECT_EQ(list->Items(index), "") << "Items(" << index << ")";
        list->Delete(index);
        list->SetItems(index, "x");
        if (index != 2) // Count itself is a valid place to insert
            list->Insert(index, "x");
        EXPECT_EQ(LinesOf(*list), before) << "after edits at " << index;
    }
}

TEST(WinStrList, SetTextFromOneOfItsOwnLines)
{
    auto list = Make<TWinStrList>();
    list->Add("short\rtext");
    list->Add(std::string(100, 'x') + "\r" + std::string(100, 'y'));
    list->SetText(list->Items(1), true);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Items(3), std::string(100, 'y'));
    list->SetText(list->Items(0), false);
    EXPECT_EQ(LinesOf(*list), (Lines{"short", "text"}));
}

TEST(WinStrList, LoadFromFileReadsTheWholeFile)
{
    TempFolder folder;
    std::string path = folder.Path("lines.txt");
    testfiles::WriteBytes(path, "first\r\nsecond\nstill second\r\nthird\r\n");
    auto list = Make<TWinStrList>();
    list->Add("old");
    ASSERT_TRUE(list->LoadFromFile(path));
    EXPECT_EQ(LinesOf(*list), (Lines{"first", "second\nstill second", "third"}));

    testfiles::WriteBytes(path, "");
    ASSERT_TRUE(list->LoadFromFile(path));
    EXPECT_EQ(list->Count(), 0) << "an empty file makes no lines";
}

TEST(WinStrList, LoadFromFileThatCannotBeOpenedKeepsTheList)
{
    TempFolder folder;
    const std::string paths[] = {folder.Path("missing.txt"), folder.Path("no-folder/x.txt"), folder.Path(), ""};
    for (const std::string &path : paths) {
        auto list = Make<TWinStrList>();
        list->SetText("kept\r\nlines", false);
        EXPECT_FALSE(list->LoadFromFile(path)) << "for \"" << path << "\"";
        EXPECT_EQ(LinesOf(*list), (Lines{"kept", "lines"})) << "for \"" << path << "\"";
    }
}

TEST(WinStrList, LoadsTenMegabytesOfLongLinesWithNulBytes)
{
    TempFolder folder;
    std::string path = folder.Path("big.txt");
    const size_t lineCount = 100, lineLength = 100000;
    std::string content;
    content.reserve(lineCount * (lineLength + 2));
    for (size_t i = 0; i < lineCount; ++i) {
        std::string line(lineLength, static_cast<char>('a' + i % 26));
        for (size_t j = i; j < lineLength; j += 997)
            line[j] = '\0';
        line[lineLength / 2] = '\n';
        content += line;
        content += "\r\n";
    }
    testfiles::WriteBytes(path, content);

    auto list = Make<TWinStrList>();
    ASSERT_TRUE(list->LoadFromFile(path));
    ASSERT_EQ(list->Count(), static_cast<int32_t>(lineCount));
    for (int32_t i = 0; i < list->Count(); ++i) {
        ASSERT_EQ(list->Items(i).size(), lineLength) << "line " << i;
        EXPECT_EQ(list->Items(i)[static_cast<size_t>(i)], '\0') << "line " << i;
        EXPECT_EQ(list->Items(i).back(), static_cast<char>('a' + i % 26)) << "line " << i;
    }
    EXPECT_TRUE(list->Text() == content) << "the text differs from the file";
}

TEST(WinStrList, LoadsTenMegabytesOfShortLines)
{
    TempFolder folder;
    std::string path = folder.Path("short.txt");
    const size_t lineCount = 1000000;
    std::string content;
    content.reserve(lineCount * 10);
    for (size_t i = 0; i < lineCount; ++i) {
        std::string number = std::to_string(10000000 + i);
        content += number;
        content += (i % 2) ? "\r\n" : "\r";
    }
    testfiles::WriteBytes(path, content);

    auto list = Make<TWinStrList>();
    ASSERT_TRUE(list->LoadFromFile(path));
    ASSERT_EQ(list->Count(), static_cast<int32_t>(lineCount));
    EXPECT_EQ(list->Items(0), "10000000");
    EXPECT_EQ(list->Items(999999), "10999999");
    EXPECT_EQ(list->Text().size(), lineCount * 10);
}
