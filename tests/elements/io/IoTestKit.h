#pragma once
// What the FTP and web reader tests share: the servers ftp_servers.py runs
// beside them (ports and folder come in the environment), patterned files, a
// journal of the reader's events, and the checks every failed download must pass.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>

#include "elements/io/WinInetApi.h"
#include "runtime/RuntimeTestKit.h"
#include "winlayer/TestFiles.h"

namespace iotest {

using testfiles::ReadBytes;
using testfiles::WriteBytes;
using Journal = std::vector<std::string>;

inline std::string Env(const char *Name)
{
    const char *value = std::getenv(Name);
    return value ? value : "";
}

// A file in pub/latest of every server.
inline std::string Served(const std::string &Name)
{
    return Env("TERVIK_FTP_ROOT") + "\\pub\\latest\\" + Name;
}

// Bytes that a text-mode transfer would mangle: CR, LF, CR LF, zeros, 0x1A.
inline std::string Pattern(size_t Size)
{
    std::string bytes;
    for (size_t i = 0; i < Size; ++i)
        bytes += static_cast<char>(i * 7 + i / 251);
    return bytes;
}

// The WinINet handles let go, recorded at the seam: WinINet hands the same
// values out again, so a handle let go twice may close somebody else's.
inline std::vector<HINTERNET> &Closed()
{
    static std::vector<HINTERNET> closed;
    return closed;
}

// A reader's scheme with its events journalled ("open: null", "error: int 2", ...).
struct ReaderTest : testing::Test, TScheme {
    testkit::Running On;
    testfiles::TempFolder Folder;
    std::string Local = Folder.Path("DGD.txt");
    Journal Log;

    void Record(std::initializer_list<std::pair<TPointLink *, const char *>> Events)
    {
        ASSERT_FALSE(Env("TERVIK_FTP_ROOT").empty()) << "run through ftp_servers.py, as ctest does";
        for (const auto &[event, name] : Events) {
            testkit::Sink *sink = Make<testkit::Sink>();
            sink->Log = &Log;
            sink->Name = name;
            LinkEvent(*event, sink, &testkit::Sink::doTake, 0);
        }
    }
    void TearDown() override { WinInet = RealWinInet(); }

    // For the fault tests: the reader's own waits shortened to keep them quick,
    // and every handle let go recorded.
    static void ShortWaits()
    {
        WinInet.TimeoutMs = 3000;
        WinInet.InternetCloseHandle = [](HINTERNET Handle) {
            if (Handle)
                Closed().push_back(Handle);
            return RealWinInet().InternetCloseHandle(Handle);
        };
    }
    // Runs a download that fails (or, for Kept other than "last good", one that
    // recovers) and checks what it leaves: Kept in the local file, no part file,
    // no hang, no handle let go twice. Gives the events.
    Journal Faulty(const std::string &What, const std::function<Journal()> &Download,
                   const std::string &Kept = "last good")
    {
        WriteBytes(Local, "last good");
        Closed().clear();
        const auto start = std::chrono::steady_clock::now();
        const Journal events = Download();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(ReadBytes(Local), Kept) << What;
        EXPECT_FALSE(std::filesystem::exists(Local + ".part")) << What;
        EXPECT_LT(took.count(), 45.0) << What << ": no hang";
        EXPECT_EQ(std::set<HINTERNET>(Closed().begin(), Closed().end()).size(), Closed().size())
            << What << ": a handle let go twice";
        return events;
    }
};

} // namespace iotest
