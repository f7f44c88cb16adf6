#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "winlayer/WinFileStream.h"

using testfiles::Make;
using testfiles::Owned;
using testfiles::TempFolder;
using winlayer::TWinFileStream;
using winlayer::TWinStream;

namespace {

size_t WriteText(TWinStream &stream, const std::string &text)
{
    return stream.Write(text.data(), text.size());
}

} // namespace

TEST(WinFileStream, WritingAnExistingLongerFileLeavesExactlyWhatWasWritten)
{
    TempFolder folder;
    std::string path = folder.Path("DGD.txt");
    testfiles::WriteBytes(path, std::string(10000, 'o'));
    Owned<TWinFileStream> stream(TWinFileStream::Create(path));
    ASSERT_TRUE(stream) << "could not open " << path;
    EXPECT_EQ(stream->Size(), 10000) << "opening must not empty the file";
    EXPECT_EQ(stream->Position(), 0) << "writing starts at the beginning";
    std::string chunk(4096, 'n');
    EXPECT_EQ(WriteText(*stream, chunk), 4096u);
    EXPECT_EQ(stream->Size(), 4096) << "each write cuts the file off where it ended";
    EXPECT_EQ(stream->Seek(-96, 1), 4000);
    EXPECT_EQ(WriteText(*stream, "tail"), 4u);
    EXPECT_EQ(stream->Size(), 4004);
    stream->Close();
    EXPECT_EQ(WriteText(*stream, "lost"), 0u) << "after Close nothing reaches the file";
    stream.reset();
    EXPECT_EQ(testfiles::ReadBytes(path), chunk.substr(0, 4000) + "tail");
}

TEST(WinFileStream, APathThatCannotBeWrittenFailsCleanly)
{
    TempFolder folder;
    for (const std::string &path : {folder.Path(), folder.Path("no-such-folder/DGD.txt")}) {
        EXPECT_EQ(TWinFileStream::Create(path), nullptr) << "for \"" << path << "\"";
        auto stream = Make<TWinFileStream>(path);
        EXPECT_EQ(stream->Size(), 0) << "for \"" << path << "\"";
        EXPECT_EQ(WriteText(*stream, "x"), 0u) << "for \"" << path << "\"";
    }
}
