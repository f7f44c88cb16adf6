#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "winlayer/Files.h"

using testfiles::TempFolder;
using namespace winlayer;

TEST(Files, DataFolderIsThePreferredOneWhereTheFileCanBeCreatedAndReplacedElseTheFallbackMadeForIt)
{
    TempFolder folder;
    const std::string sep(1, static_cast<char>(std::filesystem::path::preferred_separator));
    std::filesystem::create_directory(folder.Path("writable"));
    testfiles::WriteBytes(folder.Path("writable") + sep + "DGD.txt", "previous");
    std::filesystem::create_directories(folder.Path("taken") + sep + "DGD.txt");
    std::filesystem::create_directory(folder.Path("local"));
    const std::string fallback = folder.Path("local") + sep + "Tervik" + sep;
    struct Case {
        std::string preferred;
        std::string fallback;
        bool fallbackChosen;
    } cases[] = {
        {folder.Path("writable") + sep, fallback, false},
        {folder.Path("taken") + sep, "", false}, // nowhere else to go
        {folder.Path("missing") + sep, fallback, true},
        {folder.Path("taken") + sep, fallback, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.preferred + " or " + c.fallback);
        EXPECT_EQ(DataFolder(c.preferred, "DGD.txt", c.fallback), c.fallbackChosen ? c.fallback : c.preferred);
        EXPECT_EQ(std::filesystem::is_directory(fallback), c.fallbackChosen) << "made only when chosen";
        EXPECT_FALSE(std::filesystem::exists(c.preferred + "DGD.txt.part")) << "the trial leaves nothing";
    }
    std::string content;
    EXPECT_TRUE(ReadWholeFile(folder.Path("writable") + sep + "DGD.txt", content) && content == "previous");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path("taken") + sep + "DGD.txt"));
}
