#include <gtest/gtest.h>

#include "winlayer/ParamStr.h"

using winlayer::ParamFromCommandLine;

TEST(ParamStr, QuotedProgramNameThenTwoBlanksThenArgument)
{
    const char *line = "\"C:\\Program Files\\Tervik\\tervik.exe\"  /ih";
    EXPECT_EQ(ParamFromCommandLine(line, 0), "C:\\Program Files\\Tervik\\tervik.exe");
    EXPECT_EQ(ParamFromCommandLine(line, 1), "/ih");
    EXPECT_EQ(ParamFromCommandLine(line, 2), "");
}
