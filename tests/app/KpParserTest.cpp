// The Kp extraction: the value after the last space of the last data line's
// last 16 characters, its level, and what happens around odd files.
#include <gtest/gtest.h>

#include <cstdio>

#include "DgdText.h"
#include "app/TKpExtraction.h"
#include "runtime/TQorMultiElementEx.h"

using namespace dgd;

using KpParser = Pipeline;

TEST_F(KpParser, AnnouncesTheLastValueOfTheLastDayAsAStringWithItsLevelIconAndTooltip)
{
    auto last = [](const std::string &Value) { return "2026 12 06  2 2 " + Value; };
    struct Case {
        std::string Line;
        std::string Value;
        int Level;
    } cases[] = {
        // Values not yet known are written "-1" without a blank, so the value is
        // the last known one; at a day's start only the first is known, and its
        // blank is the 16th character from the right.
        {Row(3, "2334----"), "4", 2}, {Row(3, "7-------"), "7", 3},
        // A value not yet known after a blank is shown as "-" at level 1.
        {Row(7, "2222222") + " -1", "-", 1}, {last("-"), "-", 1},
        {last("0"), "0", 1}, {last("3"), "3", 1}, {last("/"), "/", 1}, {last("4"), "4", 2}, {last("5"), "5", 3},
        {last("9"), "9", 3}, {last(":"), ":", 3}, {last("\xC0"), "\xC0", 3}, // bytes are unsigned
    };
    const char *icons[] = {"ICON3", "ICON2", "ICON1"};
    for (const Case &c : cases) {
        Forget();
        ParseFile(Lf(Join(File({"11111111", "22222222"}), {c.Line})));
        EXPECT_EQ(Got().Values, Texts{c.Value}) << c.Line;
        EXPECT_EQ(Got().Levels, std::vector<int>{c.Level}) << c.Line;
        EXPECT_EQ(Got().Icons, Texts{icons[c.Level - 1]}) << c.Line;
        EXPECT_EQ(Got().Hints, Texts{"Kp:" + c.Value}) << c.Line;
    }
}

TEST_F(KpParser, TakesTheCharacterAfterTheLastBlankOfTheLastLineWithABlankInItsLast16)
{
    std::string file = Lf(File({"22222226"}));
    file.pop_back(); // no break after the data line
    struct Case {
        const char *What;
        std::string After;
        std::string Value;
    } cases[] = {
        {"empty lines after the data line", "\n\n\n\n", "6"},
        {"lines of spaces", "\n   \n \n                                        \n", "6"},
        {"trailing spaces on the data line", "    \n\n", "6"},
        {"no final break", "", "6"},
        {"a last line shorter than 16", "\n1 2 3\n", "3"},
        {"the character right after the blank, not the rest", "\n12 45\n", "4"},
        {"the blank 16th from the right, the tail's first", "\nab 123456789012345\n", "1"},
        {"the blank 17th from the right, just outside the tail: the line before", "\nab 1234567890123456\n", "6"},
        {"no blank: the line before", "\n20261207111111111111\n\n  \n", "6"},
        {"tabs are no blanks", "\n\t1\t2\t3\n", "6"},
        {"leading spaces are no blanks", "\n   123\n", "6"},
    };
    for (const Case &c : cases) {
        Forget();
        ParseFile(file + c.After);
        EXPECT_EQ(Got().Values, Texts{c.Value}) << c.What;
    }
}

TEST_F(KpParser, AMissingFileParsesThePreviousContentAgain)
{
    P.Parse(Folder.Path("none.txt"));
    EXPECT_TRUE(Got().Journal.empty()) << "the first parse of a run has nothing to parse";
    EXPECT_EQ(P.Recent(), "");

    const std::string path = Folder.Path("DGD.txt");
    ParseFile(Lf(File({"11111111", "22222224"})));
    const TKpPipeline::TOutcome first = Got();
    ASSERT_EQ(first.Values, Texts{"4"});

    std::remove(path.c_str());
    Forget();
    P.Parse(path);
    EXPECT_EQ(Got().Journal, first.Journal) << "the content loaded last time, announced again";

    Forget();
    P.Parse(Folder.Path()); // a folder is no file either
    EXPECT_EQ(Got().Values, Texts{"4"});
}

TEST_F(KpParser, AFileWithoutAValueChangesNothing)
{
    ParseFile(Lf(File({"11111111", "22222223"})));
    const Texts graph = Got().Graph;
    const std::string recent = P.Recent();
    for (const std::string &bytes : {std::string(), std::string("\n\n  \n"), std::string("nospace\n")}) {
        Forget();
        P.Outcome().Graph = graph;
        ParseFile(bytes);
        EXPECT_TRUE(Got().Journal.empty()) << bytes.size() << " bytes";
        EXPECT_EQ(Got().Graph, graph) << "the graph keeps its values";
        EXPECT_EQ(P.Recent(), recent);
    }
}

TEST_F(KpParser, AFileWithCrLfOrCrLineEndsReadsExactlyLikeTheSameFileWithLf)
{
    // Without the mend a CR LF file doubled every line, and the 30-day feed took
    // the tails of header lines for data.
    const Texts contents[] = {
        File(ThirtyDays()),
        Join(File({"11111111", "22222225"}), {"", "   ", ""}),
        Join(File({"12345678", "2334----"}), {"2026 12 06  2 2 -"}),
        Join(File({"22222224"}), {"no blank in its tail"}),
        {"a", "b 1"},
    };
    auto ended = [](const Texts &Lines, const std::string &Break, bool Last) {
        std::string out;
        for (size_t i = 0; i < Lines.size(); ++i)
            out += Lines[i] + (i + 1 < Lines.size() || Last ? Break : "");
        return out;
    };
    for (const Texts &lines : contents) {
        TKpPipeline lf;
        lf.ParseText(Lf(lines));
        ASSERT_FALSE(lf.Outcome().Values.empty());
        for (const auto &[breaks, last] : {std::pair<std::string, bool>{"\r\n", true}, {"\r\n", false}, {"\r", true}}) {
            const std::string what = (breaks == "\r" ? "CR" : "CR LF") + std::string(last ? "" : ", no final break") +
                                     ", last line " + lines.back();
            testfiles::WriteBytes(Folder.Path("DGD.txt"), ended(lines, breaks, last));
            TKpPipeline other;
            other.Parse(Folder.Path("DGD.txt"));
            EXPECT_EQ(other.Outcome().Journal, lf.Outcome().Journal) << what;
            EXPECT_EQ(other.Recent(), lf.Recent()) << what;
        }
    }
}
