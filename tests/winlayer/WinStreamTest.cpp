#include <gtest/gtest.h>

#include <cstring>
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
        {"", 0, "abc", "abc"},
        {"", 4, "ab", std::string(4, '\0') + "ab"},
        {"xyz", 3, "ab", "xyzab"},
        {"xyz", 6, "a", std::string("xyz\0\0\0a", 7)},
        {"xyzw", 1, "ab", "xabw"},   // inside: overwrites, no growth
        {"xyzw", 3, "ab", "xyzab"},  // across the end: grows by what sticks out
        {"xyz", 1, "", "xyz"},
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

TEST(WinMemoryStream, SeekCountsFromEachOriginAndGrowsPastTheEnd)
{
    struct Case { int64_t offset; int origin; int64_t position; int64_t size; } cases[] = {
        {2, 0, 2, 10},  {3, 1, 7, 10},   {-2, 1, 2, 10}, {0, 2, 10, 10}, {-10, 2, 0, 10},
        {12, 0, 12, 12}, {5, 2, 15, 15}, {7, 1, 11, 11},
        {-1, 0, -1, 10}, {-11, 2, -1, 10}, {-5, 1, -1, 10}, // before the start: refused
        {0, 3, -1, 10},                                    // no such origin
    };
    for (const Case &c : cases) {
        auto stream = Make<TWinMemoryStream>();
        WriteText(*stream, "0123456789");
        stream->SetPosition(4);
        EXPECT_EQ(stream->Seek(c.offset, c.origin), c.position) << "Seek(" << c.offset << ", " << c.origin << ")";
        EXPECT_EQ(stream->Size(), c.size) << "Seek(" << c.offset << ", " << c.origin << ")";
        if (c.position < 0) {
            EXPECT_EQ(stream->Position(), 4) << "a refused seek keeps the position";
        }
        if (c.size > 10) {
            EXPECT_EQ(Contents(*stream), std::string("0123456789") + std::string(static_cast<size_t>(c.size - 10), '\0'));
        }
    }
}

TEST(WinMemoryStream, SetSizeMovesThePositionBackOnlyWhenBeyondTheEnd)
{
    struct Case { int64_t position; int64_t size; int64_t newPosition; std::string contents; } cases[] = {
        {8, 5, 5, "01234"},
        {3, 5, 3, "01234"},
        {5, 5, 5, "01234"},
        {10, 0, 0, ""},
        {4, 12, 4, std::string("0123456789\0\0", 12)},
        {4, -1, 4, "0123456789"}, // a negative size is refused
    };
    for (const Case &c : cases) {
        auto stream = Make<TWinMemoryStream>();
        WriteText(*stream, "0123456789");
        stream->SetPosition(c.position);
        stream->SetSize(c.size);
        EXPECT_EQ(stream->Position(), c.newPosition) << "SetSize(" << c.size << ") at " << c.position;
        EXPECT_EQ(Contents(*stream), c.contents) << "SetSize(" << c.size << ") at " << c.position;
    }
}

TEST(WinMemoryStream, ReadCopiesAtMostWhatLiesAfterThePosition)
{
    struct Case { int64_t position; size_t count; std::string read; } cases[] = {
        {0, 4, "0123"}, {6, 10, "6789"}, {10, 3, ""}, {9, 1, "9"}, {0, 0, ""},
    };
    for (const Case &c : cases) {
        auto stream = Make<TWinMemoryStream>();
        WriteText(*stream, "0123456789");
        stream->SetPosition(c.position);
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        size_t n = stream->Read(buffer, c.count);
        EXPECT_EQ(std::string(buffer, n), c.read) << "Read(" << c.count << ") at " << c.position;
        EXPECT_EQ(buffer[n], '#') << "nothing written past what was read";
        EXPECT_EQ(stream->Position(), c.position + static_cast<int64_t>(n));
    }
}

TEST(WinMemoryStream, CloseFreesTheBlockAndLeavesAnEmptyStream)
{
    auto stream = Make<TWinMemoryStream>();
    WriteText(*stream, "some bytes");
    stream->Close();
    EXPECT_EQ(stream->Size(), 0);
    EXPECT_EQ(stream->Position(), 0);
    WriteText(*stream, "again");
    EXPECT_EQ(Contents(*stream), "again");
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
    EXPECT_EQ(WriteText(*stream, "tail"), 4u);
    EXPECT_EQ(stream->Position(), 4100);
    stream.reset();
    EXPECT_EQ(testfiles::ReadBytes(path), chunk + "tail");
}

TEST(WinFileStream, EveryWriteCutsTheFileWhereItEnded)
{
    TempFolder folder;
    std::string path = folder.Path("f.bin");
    Owned<TWinFileStream> stream(TWinFileStream::Create(path));
    ASSERT_TRUE(stream);
    WriteText(*stream, "0123456789");
    EXPECT_EQ(stream->Seek(3, 0), 3);
    WriteText(*stream, "ab");
    EXPECT_EQ(stream->Size(), 5);
    EXPECT_EQ(stream->Seek(0, 2), 5);
    EXPECT_EQ(stream->Seek(-1, 1), 4);
    stream.reset();
    EXPECT_EQ(testfiles::ReadBytes(path), "012ab");
}

TEST(WinFileStream, OpeningWithoutWritingCreatesOrKeepsTheFile)
{
    TempFolder folder;
    std::string existing = folder.Path("old.txt"), missing = folder.Path("new.txt");
    testfiles::WriteBytes(existing, "old content");
    Owned<TWinFileStream> a(TWinFileStream::Create(existing));
    Owned<TWinFileStream> b(TWinFileStream::Create(missing));
    ASSERT_TRUE(a && b);
    a.reset();
    b.reset();
    EXPECT_EQ(testfiles::ReadBytes(existing), "old content");
    EXPECT_TRUE(std::filesystem::exists(missing));
    EXPECT_EQ(std::filesystem::file_size(missing), 0u);
}

TEST(WinFileStream, SetSizeCutsOrExtendsAndKeepsAnEarlierPosition)
{
    struct Case { int64_t position; int64_t size; int64_t newPosition; int64_t fileSize; } cases[] = {
        {2, 6, 2, 6},    // old position before the new end: back to it
        {8, 6, 6, 6},    // beyond the new end: stays at the end
        {6, 6, 6, 6},
        {3, 20, 3, 20},  // growing
        {4, -3, 4, 10},  // refused: the file is not touched
    };
    TempFolder folder;
    for (const Case &c : cases) {
        std::string path = folder.Path("size.bin");
        testfiles::WriteBytes(path, "");
        Owned<TWinFileStream> stream(TWinFileStream::Create(path));
        ASSERT_TRUE(stream);
        WriteText(*stream, "0123456789");
        stream->SetPosition(c.position);
        stream->SetSize(c.size);
        EXPECT_EQ(stream->Position(), c.newPosition) << "SetSize(" << c.size << ") at " << c.position;
        EXPECT_EQ(stream->Size(), c.fileSize) << "SetSize(" << c.size << ") at " << c.position;
        stream.reset();
        std::string bytes = testfiles::ReadBytes(path);
        EXPECT_EQ(static_cast<int64_t>(bytes.size()), c.fileSize);
        EXPECT_EQ(bytes.substr(0, 6), "012345");
    }
}

TEST(WinFileStream, ReadReadsNothing)
{
    TempFolder folder;
    std::string path = folder.Path("r.txt");
    testfiles::WriteBytes(path, "readable");
    Owned<TWinFileStream> stream(TWinFileStream::Create(path));
    ASSERT_TRUE(stream);
    char buffer[8] = {};
    EXPECT_EQ(stream->Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(stream->Position(), 0);
}

TEST(WinFileStream, APathThatCannotBeWrittenFailsCleanly)
{
    TempFolder folder;
    const std::string paths[] = {folder.Path(), folder.Path("no-such-folder/DGD.txt"), ""};
    for (const std::string &path : paths) {
        EXPECT_EQ(TWinFileStream::Create(path), nullptr) << "for \"" << path << "\"";
        auto stream = Make<TWinFileStream>(path);
        EXPECT_FALSE(stream->IsOpen()) << "for \"" << path << "\"";
        EXPECT_EQ(stream->Size(), 0);
        EXPECT_EQ(stream->Seek(0, 1), -1);
        EXPECT_EQ(WriteText(*stream, "x"), 0u);
        stream->SetSize(5);
        stream->Close();
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path()));
}

TEST(WinFileStream, AfterCloseNothingReachesTheFile)
{
    TempFolder folder;
    std::string path = folder.Path("c.txt");
    Owned<TWinFileStream> stream(TWinFileStream::Create(path));
    ASSERT_TRUE(stream);
    WriteText(*stream, "kept");
    stream->Close();
    EXPECT_FALSE(stream->IsOpen());
    EXPECT_EQ(stream->Size(), 0) << "the size of a closed stream cannot be read";
    EXPECT_EQ(WriteText(*stream, "lost"), 0u);
    stream->Close(); // a second close is harmless
    stream.reset();
    EXPECT_EQ(testfiles::ReadBytes(path), "kept");
}
