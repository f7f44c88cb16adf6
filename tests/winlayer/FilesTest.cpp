#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "winlayer/Files.h"
#include "winlayer/ParamStr.h"

using testfiles::TempFolder;
using namespace winlayer;

TEST(Files, FileExistsOnlyForFilesNotFolders)
{
    TempFolder folder;
    testfiles::WriteBytes(folder.Path("empty.txt"), "");
    std::filesystem::create_directory(folder.Path("sub"));
    struct Case { std::string path; bool exists; } cases[] = {
        {folder.Path("empty.txt"), true},
        {folder.Path("sub"), false},
        {folder.Path("missing.txt"), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FileExists(c.path), c.exists) << "for \"" << c.path << "\"";
}

TEST(Files, ReadWholeFileGivesEveryByteOrLeavesTheTextAlone)
{
    TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>(i * 7 % 256);
    testfiles::WriteBytes(folder.Path("bytes.bin"), bytes);
    std::filesystem::create_directory(folder.Path("sub"));

    std::string content = "untouched";
    ASSERT_TRUE(ReadWholeFile(folder.Path("bytes.bin"), content));
    EXPECT_TRUE(content == bytes) << "read " << content.size() << " bytes of " << bytes.size();

    std::vector<std::string> unreadable = {folder.Path("missing.bin"), folder.Path("sub")};
#ifndef _WIN32
    // Opens, then fails on the first read: a read error, not an open error.
    unreadable.push_back("/proc/self/mem");
#endif
    for (const std::string &path : unreadable) {
        content = "untouched";
        EXPECT_FALSE(ReadWholeFile(path, content)) << "for \"" << path << "\"";
        EXPECT_EQ(content, "untouched") << "for \"" << path << "\"";
    }
}

TEST(Files, ModulePathIsTheRunningProgramsFolder)
{
    std::string program = ParamStr(0);
    std::string path = ModulePath();
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(path.back() == '\\' || path.back() == '/') << "no trailing separator in \"" << path << "\"";
    ASSERT_EQ(program.compare(0, path.size(), path), 0) << "\"" << path << "\" does not start \"" << program << "\"";
    EXPECT_EQ(program.find_first_of("\\/", path.size()), std::string::npos) << "not up to the last separator";
}

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
