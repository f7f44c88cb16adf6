#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "winlayer/WinIniFile.h"

using testfiles::Make;
using testfiles::TempFolder;
using winlayer::TWinIniFile;

TEST(WinIniFile, ReadModeAnswersTheKeysIntegerOrTheGivenValue)
{
    TempFolder folder;
    std::string path = folder.Path("tervik.ini");
    testfiles::WriteBytes(path, "[Main]\r\nCount=42\r\nLead=12abc\r\n[Other]\r\nCount=7\r\n");
    struct Case { std::string file, section, key; int32_t value, result; } cases[] = {
        {path, "Other", "Count", 1, 7},
        {path, "Main", "Lead", 1, 12},
        {path, "Main", "Missing", -3, -3},
        {folder.Path("missing.ini"), "Main", "Count", 11, 11},
    };
    for (const Case &c : cases) {
        auto ini = Make<TWinIniFile>(c.file);
        ini->SetSection(c.section);
        EXPECT_EQ(ini->ValueInteger(c.key, c.value), c.result) << "[" << c.section << "] " << c.key;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("missing.ini"))) << "reading created a file";
}
