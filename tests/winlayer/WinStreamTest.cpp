#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "winlayer/WinFileStream.h"
#include "winlayer/WinMemoryStream.h"

using testfiles::Make;
using testfiles::Owned;
using testfiles::TempFolder;
using winlayer::TWinFileStream;
using winlayer::TWinMemoryStream;
using winlayer::TWinStream;

namespace {

std::string Contents(TWinMemoryStream &stream)
{
    return std::string(reinterpret_cast<const char *>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

size_t WriteText(TWinStream &stream, const std::string &text)
{
    return stream.Write(text.data(), text.size());
}

} // namespace

TEST(WinMemoryStream, WriteBeyondTheEndGrowsToPositionPlusCount)
{
    struct Case { std::string initial; int64_t at; std::string written; std::string result; } cases[] = {
        {"", 4, "ab", std::string(4, '\0') + "ab"},
        {"xyzw", 1, "ab", "xabw"},   // inside: overwrites, no growth
        {"xyzw", 3, "ab", "xyzab"},  // across the end: grows by what sticks out
    };
    for (const Case &c : cases) {
        auto stream = Make<TWinMemoryStream>();
        WriteText(*stream, c.initial);
        EXPECT_EQ(stream->Seek(c.at, 0), c.at);
        EXPECT_EQ(WriteText(*stream, c.written), c.written.size());
        EXPECT_EQ(Contents(*stream), c.result) << "writing \"" << c.written << "\" at " << c.at << " into \"" << c.initial << "\"";
        EXPECT_EQ(stream->Position(), c.at + static_cast<int64_t>(c.written.size()));
    }
}

TEST(WinMemoryStream, SeekCountsFromEachOriginGrowsPastTheEndAndRefusesBeforeTheStart)
{
    struct Case { int64_t offset; int origin; int64_t position; int64_t size; } cases[] = {
        {-2, 1, 2, 10}, {-10, 2, 0, 10}, {5, 2, 15, 15},
        {-5, 1, -1, 10}, {0, 3, -1, 10}, // refused: the position stays
    };
    for (const Case &c : cases) {
        auto stream = Make<TWinMemoryStream>();
        WriteText(*stream, "0123456789");
        stream->SetPosition(4);
        EXPECT_EQ(stream->Seek(c.offset, c.origin), c.position) << "Seek(" << c.offset << ", " << c.origin << ")";
        EXPECT_EQ(stream->Size(), c.size) << "Seek(" << c.offset << ", " << c.origin << ")";
        EXPECT_EQ(stream->Position(), c.position < 0 ? 4 : c.position);
    }
}

TEST(WinMemoryStream, SetSizeAndReadNeverGoPastTheEnd)
{
    auto stream = Make<TWinMemoryStream>();
    WriteText(*stream, "0123456789");
    stream->SetPosition(8);
    stream->SetSize(6);
    EXPECT_EQ(stream->Position(), 6);
    stream->SetPosition(3);
    stream->SetSize(5);
    EXPECT_EQ(stream->Position(), 3);
    EXPECT_EQ(Contents(*stream), "01234");

    char buffer[8] = "#######";
    EXPECT_EQ(stream->Read(buffer, 7), 2u);
    EXPECT_EQ(std::string(buffer), "34#####") << "nothing written past what was read";
}

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
