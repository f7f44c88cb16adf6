// The FTP reader against the servers ftp_servers.py runs on loopback: a real
// pyftpdlib server serving TERVIK_FTP_ROOT, and our scripted server, whose
// misbehaviour is chosen by the login name (see scripted_ftp.py).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

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
    std::string bytes;
    for (size_t i = 0; i < Size; ++i)
        bytes += static_cast<char>(i * 7 + i / 251);
    return bytes;
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
    struct Case {
        size_t Size;
        std::string Old; // the local file before, if any
        Journal Expected;
    } cases[] = {
        {0, "old content", {"open: null", "progress: int 0", "read: null"}},
        {4096, "", {"open: null", "progress: int 4096", "progress: int 4096", "read: null"}},
        {10000, std::string(20000, 'x'),
         {"open: null", "progress: int 4096", "progress: int 8192", "progress: int 10000", "progress: int 10000",
          "read: null"}},
    };
    for (const Case &c : cases) {
        const std::string name = std::to_string(c.Size) + ".bin";
        WriteBytes(Served(name), Pattern(c.Size));
        std::filesystem::remove(Local);
        if (!c.Old.empty())
            WriteBytes(Local, c.Old);
        EXPECT_EQ(Cycle("/pub/latest/" + name, StrData(Local)), c.Expected) << name;
        EXPECT_EQ(ReadBytes(Local), Pattern(c.Size)) << name << " over a local file of " << c.Old.size();
    }
}

namespace {
std::vector<HINTERNET> gClosed;
}

// The reader's own bounds on a connect and on the data are shortened here to
// keep the test quick; Wine waits 30 s for a control reply whatever it is told.
TEST_F(FtpReader, AFaultEndsInItsCodeWithoutAHangKeepingTheLastGoodFileAndClosingEachHandleOnce)
{
    const std::string served = ReadBytes(Served("DGD.txt"));
    WinInet.TimeoutMs = 3000;
    WinInet.InternetCloseHandle = [](HINTERNET Handle) {
        if (Handle)
            gClosed.push_back(Handle);
        return RealWinInet().InternetCloseHandle(Handle);
    };
    Ftp->onProgress = TPointLink(); // how far a cut transfer got does not matter here
    struct Case {
        const char *Port;
        const char *Mode; // the scripted server's misbehaviour
        const char *Remote;
        Journal Expected;
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
        EXPECT_EQ(events, c.Expected) << c.Port << " " << c.Mode;
        EXPECT_EQ(ReadBytes(Local), c.Fetched ? served : "last good") << c.Port << " " << c.Mode;
        EXPECT_FALSE(std::filesystem::exists(Local + ".part")) << c.Port << " " << c.Mode;
        EXPECT_LT(took.count(), 45.0) << c.Port << " " << c.Mode << ": no hang";
        EXPECT_EQ(std::set<HINTERNET>(gClosed.begin(), gClosed.end()).size(), gClosed.size())
            << c.Port << " " << c.Mode << ": a handle let go twice";
    }
    WinInet = RealWinInet();
}

// The program's download chain calls doOpen with the hour number the schedule
// passed along; with the login properties empty that number would become the
// password of an anonymous login, which WinINet refuses.
TEST_F(FtpReader, AnAnonymousLoginOpensWhateverValueTheCallCarries)
{
    TPointLink open, close;
    LinkEvent(open, Ftp, &TQorWinFTP::doOpen, 0);
    LinkEvent(close, Ftp, &TQorWinFTP::doClose, 0);
    for (const TData &carried : {IntData(0), IntData(-3), StrData("21")}) {
        Log.clear();
        TData data = carried;
        CallEvent(open, data);
        EXPECT_EQ(Log, Journal{"open: null"}) << "call carrying " << ToString(carried);
        TData none;
        CallEvent(close, none);
    }
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
    EXPECT_EQ(Cycle("stream.bin", value),
              (Journal{"open: null", "progress: int 4098", "progress: int 5002", "progress: int 5002", "read: null"}));
    ASSERT_EQ(stream->Size(), 5002);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(stream->Memory()), 5002), "HE" + Pattern(5000));
}
