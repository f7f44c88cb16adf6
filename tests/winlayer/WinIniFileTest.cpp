#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "winlayer/WinIniFile.h"

using testfiles::Make;
using testfiles::TempFolder;
using winlayer::TIniFileMode;
using winlayer::TWinIniFile;

TEST(WinIniFile, ReadModeAnswersTheKeysIntegerOrTheGivenValue)
{
    TempFolder folder;
    std::string path = folder.Path("tervik.ini");
    testfiles::WriteBytes(path, "[Main]\r\nCount=42\r\nLead=12abc\r\nWord=abc\r\n[Other]\r\nCount=7\r\n");
    struct Case { std::string file, section, key; int32_t value, result; } cases[] = {
        {path, "Main", "Count", 1, 42},
        {path, "Other", "Count", 1, 7},
        {path, "Main", "Lead", 1, 12},
        {path, "Main", "Word", 1, 0},
        {path, "Main", "Missing", 5, 5},
        {path, "Main", "Missing", -3, -3},
        {path, "NoSection", "Count", 9, 9},
        {folder.Path("missing.ini"), "Main", "Count", 11, 11},
    };
    for (const Case &c : cases) {
        auto ini = Make<TWinIniFile>(c.file);
        ini->SetSection(c.section);
        EXPECT_EQ(ini->Mode(), TIniFileMode::ifmRead) << "read is the mode a new object starts in";
        EXPECT_EQ(ini->ValueInteger(c.key, c.value), c.result) << "[" << c.section << "] " << c.key;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing.ini"))) << "reading created a file";
}

TEST(WinIniFile, WriteModeStoresDecimalTextAndAnswersTheValue)
{
    TempFolder folder;
    std::string path = folder.Path("written.ini");
    auto writer = Make<TWinIniFile>(path);
    writer->SetSection("Main");
    writer->SetMode(TIniFileMode::ifmWrite);
    const int32_t values[] = {0, 42, 2147483647, -7};
    for (int32_t value : values) {
        std::string key = "Key" + std::to_string(value);
        EXPECT_EQ(writer->ValueInteger(key, value), value);
    }
    std::string text = testfiles::ReadBytes(path);
    EXPECT_NE(text.find("[Main]"), std::string::npos) << text;
    EXPECT_NE(text.find("Key42=42"), std::string::npos) << text;
    EXPECT_NE(text.find("Key-7=-7"), std::string::npos) << text;

    auto reader = Make<TWinIniFile>(path);
    reader->SetSection("Main");
    for (int32_t value : values)
        EXPECT_EQ(reader->ValueInteger("Key" + std::to_string(value), 99), value) << "reading back " << value;
}
