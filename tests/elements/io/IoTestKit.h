#pragma once
// What the FTP and web reader tests share: the servers ftp_servers.py runs
// beside them (ports and folder come in the environment), patterned files, a
// journal of the reader's events, and the checks every failed download must pass.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

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

// A file the program can take as DGD.txt (it passes IsDgdFile) of Size bytes,
// Size at least 16, full of the bytes a text-mode transfer would mangle: CR,
// LF, CR LF and 0x1A; never NUL.
inline std::string DgdPattern(size_t Size)
{
    std::string bytes = "2026 12 06  2 1\n";
    for (size_t i = bytes.size(); i < Size; ++i)
        bytes += static_cast<char>(1 + (i * 7 + i / 251) % 255);
    return bytes;
}

// A reader's scheme with its events journalled ("open: null", "error: int 2", ...).
struct ReaderTest : testing::Test, TScheme {
    testkit::Running On;
    testfiles::TempFolder Folder;
    std::string Local = Folder.Path("DGD.txt");
    Journal Log;
    // The WinINet handles let go that were not open (let go before, unless
    // WinINet handed the value out again, and then somebody else's is gone),
    // counted at the seam, on workers too.
    static inline std::atomic<int> BadCloses{0};

    void Record(std::initializer_list<std::pair<TPointLink *, const char *>> Events)
    {
        ASSERT_FALSE(Env("TERVIK_FTP_ROOT").empty()) << "run through ftp_servers.py, as ctest does";
        RoomForAWorker();
        for (const auto &[event, name] : Events) {
            testkit::Sink *sink = Make<testkit::Sink>();
            sink->Log = &Log;
            sink->Name = name;
            LinkEvent(*event, sink, &testkit::Sink::doTake, 0);
        }
    }
    void TearDown() override { WinInet = RealWinInet(); }

    // Waits until the workers an earlier download left alone (a connect nobody
    // accepts goes on for two minutes under Wine) leave one free.
    static void RoomForAWorker()
    {
        for (int i = 0; i < 3000 && LiveWorkers() >= MaxWorkers; ++i)
            Sleep(100);
    }

    // For the fault tests: every handle let go checked.
    static void RecordCloses()
    {
        WinInet.InternetCloseHandle = [](HINTERNET Handle) {
            const BOOL closed = RealWinInet().InternetCloseHandle(Handle);
            if (Handle && !closed)
                ++BadCloses;
            return closed;
        };
    }
    // Runs a download that fails (or, for Kept other than the last good file,
    // one that recovers) and checks what it leaves: Kept in the local file, no
    // part file, no wait much past the deadline, no handle let go twice. Gives
    // the events.
    Journal Faulty(const std::string &What, const std::function<Journal()> &Download, const std::string &Kept = "")
    {
        const std::string lastGood = DgdPattern(100);
        WriteBytes(Local, lastGood);
        RoomForAWorker();
        BadCloses = 0;
        const auto start = std::chrono::steady_clock::now();
        const Journal events = Download();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(ReadBytes(Local), Kept.empty() ? lastGood : Kept) << What;
        EXPECT_FALSE(std::filesystem::exists(Local + ".part")) << What;
        EXPECT_LT(took.count(), Deadline / 1000.0 + 20) << What << ": no wait beyond the deadline";
        EXPECT_EQ(BadCloses.load(), 0) << What << ": a handle let go that was not open";
        return events;
    }

    // The readers' deadline in the fault tests: short, to keep them quick.
    static constexpr uint32_t Deadline = 3000;
};

} // namespace iotest
