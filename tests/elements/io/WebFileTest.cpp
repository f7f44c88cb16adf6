// The web reader against the HTTP server ftp_servers.py runs on loopback: it
// serves TERVIK_FTP_ROOT, and misbehaves when the path starts with /cut/,
// /missing/ or /silent/ (see WebHandler there).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "elements/io/TQorWebFile.h"
#include "elements/io/WinInetApi.h"
#include "runtime/RuntimeTestKit.h"
#include "winlayer/TestFiles.h"

using testfiles::ReadBytes;
using testfiles::WriteBytes;
using Journal = std::vector<std::string>;

namespace {

std::string Env(const char *Name)
{
    const char *value = std::getenv(Name);
    return value ? value : "";
}

std::string Served(const std::string &Name)
{
    return Env("TERVIK_FTP_ROOT") + "\\pub\\latest\\" + Name;
}

std::string Url(const char *PortVariable, const std::string &Path)
{
    return "http://127.0.0.1:" + Env(PortVariable) + Path;
}

// Bytes that a text-mode transfer would mangle: CR, LF, CR LF, zeros, 0x1A.
std::string Pattern(size_t Size)
{
    std::string bytes;
    for (size_t i = 0; i < Size; ++i)
        bytes += static_cast<char>(i * 7 + i / 251);
    return bytes;
}

// The reader with every event journalled ("error: int 5", "read: null", ...).
struct WebReader : testing::Test, TScheme {
    testkit::Running On;
    testfiles::TempFolder Folder;
    std::string Local = Folder.Path("DGD.txt");
    TQorWebFile *Web = Make<TQorWebFile>();
    Journal Log;

    void SetUp() override
    {
        ASSERT_FALSE(Env("TERVIK_HTTP_TEST_PORT").empty()) << "run through ftp_servers.py, as ctest does";
        const std::pair<TPointLink *, const char *> events[] = {
            {&Web->onError, "error"}, {&Web->onProgress, "progress"}, {&Web->onRead, "read"}};
        for (const auto &[event, name] : events) {
            testkit::Sink *sink = Make<testkit::Sink>();
            sink->Log = &Log;
            sink->Name = name;
            LinkEvent(*event, sink, &testkit::Sink::doTake, 0);
        }
    }
    void TearDown() override { WinInet = RealWinInet(); }

    // One doRead of Address into Target, the local path coming with the call.
    Journal Fetch(const std::string &Address, const std::string &Target)
    {
        Log.clear();
        Web->URL = Address;
        testkit::Call(Web, &TQorWebFile::doRead, StrData(Target));
        return Log;
    }
};

} // namespace

// WinINet hands out what the connection has, not always whole chunks, so only
// the end of the journal is fixed: the final size, then onRead.
TEST_F(WebReader, TheLocalFileBecomesTheServedFileByteForByteEndingWithItsSizeAndRead)
{
    struct Case {
        size_t Size;
        std::string Old; // the local file before, if any
    } cases[] = {{0, "old content"}, {4096, ""}, {10000, std::string(20000, 'x')}};
    for (const Case &c : cases) {
        const std::string name = std::to_string(c.Size) + ".bin";
        WriteBytes(Served(name), Pattern(c.Size));
        std::filesystem::remove(Local);
        if (!c.Old.empty())
            WriteBytes(Local, c.Old);
        const Journal events = Fetch(Url("TERVIK_HTTP_TEST_PORT", "/pub/latest/" + name), Local);
        const Journal end = {"progress: int " + std::to_string(c.Size), "read: null"};
        ASSERT_GE(events.size(), 2u) << name;
        EXPECT_EQ(Journal(events.end() - 2, events.end()), end) << name;
        EXPECT_EQ(ReadBytes(Local), Pattern(c.Size)) << name << " over a local file of " << c.Old.size();
        EXPECT_FALSE(std::filesystem::exists(Local + ".part")) << name;
    }
}

namespace {
std::vector<HINTERNET> gClosed;
}

// The bound on every wait is shortened here to keep the test quick.
TEST_F(WebReader, AFaultEndsInItsCodeWithoutAHangKeepingTheLastGoodFileAndClosingEachHandleOnce)
{
    WinInet.TimeoutMs = 3000;
    WinInet.InternetCloseHandle = [](HINTERNET Handle) {
        if (Handle)
            gClosed.push_back(Handle);
        return RealWinInet().InternetCloseHandle(Handle);
    };
    Web->onProgress = TPointLink(); // how far a cut transfer got does not matter here
    struct Case {
        const char *Port;
        const char *Path;
        bool TargetIsFolder;
        Journal Expected;
        size_t Closed; // handles let go: the root, and the answer when there was one
    } cases[] = {
        {"TERVIK_HTTP_TEST_PORT", "/missing/pub/latest/DGD.txt", false, {"error: int 5"}, 2},
        {"TERVIK_HTTP_TEST_PORT", "/cut/pub/latest/DGD.txt", false, {"error: int 4"}, 2},
        {"TERVIK_HTTP_TEST_PORT", "/silent/pub/latest/DGD.txt", false, {"error: int 5"}, 1},
        {"TERVIK_FTP_CLOSED_PORT", "/pub/latest/DGD.txt", false, {"error: int 5"}, 1},
        {"TERVIK_FTP_STALLED_PORT", "/pub/latest/DGD.txt", false, {"error: int 5"}, 1},
        {"TERVIK_HTTP_TEST_PORT", "/pub/latest/DGD.txt", true, {"error: int 4"}, 2},
    };
    for (const Case &c : cases) {
        const std::string what = std::string(c.Port) + " " + c.Path + (c.TargetIsFolder ? " into a folder" : "");
        std::filesystem::remove_all(Local);
        if (c.TargetIsFolder)
            std::filesystem::create_directory(Local);
        else
            WriteBytes(Local, "last good");
        gClosed.clear();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(Fetch(Url(c.Port, c.Path), Local), c.Expected) << what;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (c.TargetIsFolder)
            EXPECT_TRUE(std::filesystem::is_directory(Local)) << what;
        else
            EXPECT_EQ(ReadBytes(Local), "last good") << what;
        EXPECT_FALSE(std::filesystem::exists(Local + ".part")) << what;
        EXPECT_LT(took.count(), 20.0) << what << ": no hang";
        EXPECT_EQ(gClosed.size(), c.Closed) << what;
        EXPECT_EQ(std::set<HINTERNET>(gClosed.begin(), gClosed.end()).size(), gClosed.size())
            << what << ": a handle let go twice";
    }
}

namespace {
std::vector<std::pair<std::string, DWORD>> gOpened;
}

// Never from the cache, into no cache, and secure exactly for https; other
// schemes (which WinINet would open too) are not fetched at all.
TEST_F(WebReader, OpensOnlyHttpAndHttpsUrlsPastTheCacheAndHttpsSecure)
{
    WinInet.InternetOpenUrlA = [](HINTERNET, LPCSTR Address, LPCSTR, DWORD, DWORD Flags, DWORD_PTR) -> HINTERNET {
        gOpened.push_back({Address, Flags});
        return nullptr;
    };
    const DWORD uncached = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    struct Case {
        const char *Address;
        bool Opened;
        DWORD Flags;
    } cases[] = {
        {"http://example.invalid/DGD.txt", true, uncached},
        {"HTTPS://example.invalid/DGD.txt", true, uncached | INTERNET_FLAG_SECURE},
        {"ftp://example.invalid/DGD.txt", false, 0},
        {"", false, 0},
    };
    for (const Case &c : cases) {
        gOpened.clear();
        EXPECT_EQ(Fetch(c.Address, Local), Journal{"error: int 5"}) << c.Address;
        ASSERT_EQ(gOpened.size(), c.Opened ? 1u : 0u) << c.Address;
        if (c.Opened) {
            EXPECT_EQ(gOpened[0].first, c.Address);
            EXPECT_EQ(gOpened[0].second, c.Flags) << c.Address;
        }
    }
}
