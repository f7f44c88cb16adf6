// The FTP reader against the servers ftp_servers.py runs on loopback: a real
// pyftpdlib server serving TERVIK_FTP_ROOT, and our scripted server, whose
// misbehaviour is chosen by the login name (see scripted_ftp.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "elements/io/TQorWinFTP.h"
#include "elements/io/WinInetApi.h"
#include "runtime/RuntimeTestKit.h"
#include "winlayer/TestFiles.h"
#include "winlayer/WinMemoryStream.h"

using testfiles::ReadBytes;
using testfiles::WriteBytes;
using Journal = std::vector<std::string>;

namespace {

std::string Env(const char *Name)
{
    const char *value = std::getenv(Name);
    return value ? value : "";
}

// A file in pub/latest of both servers.
std::string Served(const std::string &Name)
{
    return Env("TERVIK_FTP_ROOT") + "\\pub\\latest\\" + Name;
}

// Bytes that a text-mode transfer would mangle: CR, LF, CR LF, zeros, 0x1A.
std::string Pattern(size_t Size)
{
    std::string bytes(Size, '\0');
    for (size_t i = 0; i < Size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

Journal Progress(const std::vector<size_t> &Positions, const char *Last)
{
    Journal events{"open: null"};
    for (size_t p : Positions)
        events.push_back("progress: int " + std::to_string(p));
    events.push_back(Last);
    return events;
}

// The reader with every event journalled ("open: null", "error: int 2", ...).
struct FtpReader : testing::Test, TScheme {
    testkit::Running On;
    testfiles::TempFolder Folder;
    std::string Local = Folder.Path("DGD.txt");
    TQorWinFTP *Ftp = Make<TQorWinFTP>();
    Journal Log;

    void SetUp() override
    {
        ASSERT_FALSE(Env("TERVIK_FTP_ROOT").empty()) << "run through ftp_servers.py, as ctest does";
        Ftp->FHost = Env("TERVIK_FTP_TEST_HOST");
        Ftp->Port = std::atoi(Env("TERVIK_FTP_TEST_PORT").c_str());
        Ftp->Directory = "pub/latest";
        const std::pair<TPointLink *, const char *> events[] = {
            {&Ftp->onOpen, "open"}, {&Ftp->onError, "error"}, {&Ftp->onProgress, "progress"}, {&Ftp->onRead, "read"}};
        for (const auto &[event, name] : events) {
            testkit::Sink *sink = Make<testkit::Sink>();
            sink->Log = &Log;
            sink->Name = name;
            LinkEvent(*event, sink, &testkit::Sink::doTake, 0);
        }
    }
    // One download as the main scheme's hub runs it: open, read into Target, close.
    Journal Cycle(const std::string &Remote, const TData &Target)
    {
        Log.clear();
        Ftp->FFileName = Remote;
        for (auto method : {&TQorWinFTP::doOpen, &TQorWinFTP::doRead, &TQorWinFTP::doClose}) {
            TPointLink link;
            LinkEvent(link, Ftp, method, 0);
            TData data = method == &TQorWinFTP::doRead ? Target : TData();
            CallEvent(link, data);
        }
        return Log;
    }
};

} // namespace

TEST_F(FtpReader, TheLocalFileBecomesTheRemoteFileByteForByteWithProgressAfterEveryChunk)
{
    const std::string dgd = ReadBytes(Served("DGD.txt"));
    struct Case {
        std::string Name, Bytes;
        std::string Old; // the local file before, if any
        std::vector<size_t> Positions;
    } cases[] = {
        {"DGD.txt", dgd, "", {dgd.size(), dgd.size()}}, // one chunk
        {"empty.bin", "", "old content", {0}},
        {"4096.bin", Pattern(4096), "", {4096, 4096}},
        {"10000.bin", Pattern(10000), std::string(20000, 'x'), {4096, 8192, 10000, 10000}},
    };
    for (const Case &c : cases) {
        WriteBytes(Served(c.Name), c.Bytes);
        std::filesystem::remove(Local);
        if (!c.Old.empty())
            WriteBytes(Local, c.Old);
        EXPECT_EQ(Cycle("/pub/latest/" + c.Name, StrData(Local)), Progress(c.Positions, "read: null")) << c.Name;
        EXPECT_EQ(ReadBytes(Local), c.Bytes) << c.Name << " over a local file of " << c.Old.size();
        EXPECT_FALSE(std::filesystem::exists(Local + ".part")) << c.Name;
    }
}

namespace {
std::vector<HINTERNET> gClosed;
}

// The reader's own bounds on a connect and on the data are shortened here to
// keep the test quick; Wine waits 30 s for a control reply whatever it is told.
TEST_F(FtpReader, AFaultEndsInItsCodeWithoutAHangAndLeavesTheLastGoodFileAndNoHandleOpen)
{
    const std::string served = ReadBytes(Served("DGD.txt"));
    WinInet.TimeoutMs = 3000;
    WinInet.InternetCloseHandle = [](HINTERNET Handle) {
        gClosed.push_back(Handle);
        return RealWinInet().InternetCloseHandle(Handle);
    };
    struct Case {
        const char *Port;
        const char *Mode; // the scripted server's misbehaviour
        const char *Remote;
        Journal Expected; // progress left out
        bool Fetched;
    } cases[] = {
        {"TERVIK_FTP_CLOSED_PORT", "", "DGD.txt", {"error: int 2", "error: int 5"}, false},
        {"TERVIK_FTP_STALLED_PORT", "", "DGD.txt", {"error: int 2", "error: int 5"}, false},
        {"TERVIK_FTP_SCRIPTED_PORT", "refusecwd", "/pub/latest/DGD.txt", {"error: int 3", "read: null"}, true},
        {"TERVIK_FTP_SCRIPTED_PORT", "silent", "DGD.txt", {"error: int 3", "error: int 5"}, false},
        {"TERVIK_FTP_TEST_PORT", "", "nothing-here.txt", {"open: null", "error: int 5"}, false},
        // A cut that only the final reply tells, one that only the size tells, a stall.
        {"TERVIK_FTP_SCRIPTED_PORT", "cutnosize", "DGD.txt", {"open: null", "error: int 4"}, false},
        {"TERVIK_FTP_SCRIPTED_PORT", "cutquit", "DGD.txt", {"open: null", "error: int 4"}, false},
        {"TERVIK_FTP_SCRIPTED_PORT", "stall", "DGD.txt", {"open: null", "error: int 4"}, false},
    };
    for (const Case &c : cases) {
        Ftp->Port = std::atoi(Env(c.Port).c_str());
        Ftp->FUserName = c.Mode;
        WriteBytes(Local, "last good");
        gClosed.clear();
        const auto start = std::chrono::steady_clock::now();
        Journal events = Cycle(c.Remote, StrData(Local));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        events.erase(std::remove_if(events.begin(), events.end(),
                                    [](const std::string &e) { return e.rfind("progress", 0) == 0; }),
                     events.end());
        EXPECT_EQ(events, c.Expected) << c.Port << " " << c.Mode;
        EXPECT_EQ(ReadBytes(Local), c.Fetched ? served : "last good") << c.Port << " " << c.Mode;
        EXPECT_FALSE(std::filesystem::exists(Local + ".part")) << c.Port << " " << c.Mode;
        EXPECT_LT(took.count(), 45.0) << c.Port << " " << c.Mode << ": no hang";
        EXPECT_EQ(Ftp->RootHandle, nullptr) << c.Port << " " << c.Mode;
        gClosed.erase(std::remove(gClosed.begin(), gClosed.end(), nullptr), gClosed.end());
        std::sort(gClosed.begin(), gClosed.end());
        EXPECT_EQ(std::adjacent_find(gClosed.begin(), gClosed.end()), gClosed.end())
            << c.Port << " " << c.Mode << ": a handle let go twice";
    }
    WinInet = RealWinInet();
}

TEST_F(FtpReader, ADirectoryAsTargetGivesCode4)
{
    std::filesystem::create_directory(Local);
    EXPECT_EQ(Cycle("/pub/latest/DGD.txt", StrData(Local)).back(), "error: int 4");
    EXPECT_TRUE(std::filesystem::is_directory(Local));
}

TEST_F(FtpReader, AStreamTargetGetsTheBytesAtItsPositionAndStaysOpen)
{
    WriteBytes(Served("stream.bin"), Pattern(5000));
    testfiles::Owned<winlayer::TWinMemoryStream> stream = testfiles::Make<winlayer::TWinMemoryStream>();
    stream->Write("HEAD", 4);
    stream->SetPosition(2);
    TData value;
    value.dtStream(stream.get());
    EXPECT_EQ(Cycle("stream.bin", value), Progress({4098, 5002, 5002}, "read: null"));
    ASSERT_EQ(stream->Size(), 5002);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(stream->Memory()), 5002), "HE" + Pattern(5000));
}
