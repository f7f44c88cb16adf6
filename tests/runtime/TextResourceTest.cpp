#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "runtime/TPointLink.h"

// The description text as the program's resources carry it: cp1251 bytes, LF CR
// after lines 2, 6 and 7, CR LF after the others, a last line of one space and a
// terminating zero.
TEST(TextResource, DescriptionTextKeepsItsBytesAndLineEnds)
{
    const char *text = LoadTextResource("Str1");
    ASSERT_NE(text, nullptr);
    std::string s(text);
    EXPECT_EQ(s.substr(0, 14), "Автоматический");
    const char *ends[] = {"\r\n", "\n\r", "\r\n", "\r\n", "\r\n", "\n\r", "\n\r", "\r\n"};
    size_t pos = 0;
    for (int line = 0; line < 8; ++line) {
        size_t end = s.find_first_of("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "line " << line + 1;
        EXPECT_EQ(s.substr(end, 2), ends[line]) << "line " << line + 1;
        pos = end + 2;
    }
    EXPECT_EQ(s.substr(pos), " ");
    EXPECT_NE(s.find("Красный - опасный уровень (больше 4 Kp)."), std::string::npos);
    EXPECT_EQ(LoadTextResource("NoSuchText"), nullptr);
}
