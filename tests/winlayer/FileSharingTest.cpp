#include <gtest/gtest.h>

#include <string>

#include "TestFiles.h"
#include "winlayer/Files.h"
#include "winlayer/WinFileStream.h"

using testfiles::Owned;
using testfiles::TempFolder;
using winlayer::TWinFileStream;

TEST(FileSharing, AFileBeingWrittenCanBeReadButNotWrittenByAnother)
{
    TempFolder folder;
    std::string path = folder.Path("DGD.txt");
    Owned<TWinFileStream> writer(TWinFileStream::Create(path));
    ASSERT_TRUE(writer);
    writer->Write("a\r\nb\r\n", 6);

    std::string content;
    EXPECT_TRUE(winlayer::ReadWholeFile(path, content)) << "readers are let in";
    EXPECT_EQ(content, "a\r\nb\r\n");
    EXPECT_EQ(TWinFileStream::Create(path), nullptr) << "a second writer is kept out";
    writer.reset();
    Owned<TWinFileStream> second(TWinFileStream::Create(path));
    EXPECT_TRUE(second) << "the file is free again once closed";
}
