// The download's file stream where its target cannot be written. (It always
// writes a fresh, emptied part file, so no test of writing over a longer one.)
#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "winlayer/WinFileStream.h"

using testfiles::Make;
using testfiles::TempFolder;
using winlayer::TWinFileStream;

TEST(WinFileStream, APathThatCannotBeWrittenFailsCleanly)
{
    TempFolder folder;
    for (const std::string &path : {folder.Path(), folder.Path("no-such-folder/DGD.txt")}) {
        EXPECT_EQ(TWinFileStream::Create(path), nullptr) << "for \"" << path << "\"";
        auto stream = Make<TWinFileStream>(path);
        EXPECT_EQ(stream->Size(), 0) << "for \"" << path << "\"";
        EXPECT_EQ(stream->Write("x", 1), 0u) << "for \"" << path << "\"";
    }
}
