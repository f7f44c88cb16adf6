// The web reader against the HTTP server ftp_servers.py runs on loopback: it
// serves the same folder as the FTP servers, and misbehaves when the path
// starts with /cut/, /missing/ or /silent/.
#include "IoTestKit.h"
#include "elements/io/TQorWebFile.h"

using namespace iotest;

namespace {

std::string Url(const char *PortVariable, const std::string &Path)
{
    return "http://127.0.0.1:" + Env(PortVariable) + Path;
}

struct WebReader : ReaderTest {
    TQorWebFile *Web = Make<TQorWebFile>();

    void SetUp() override { Record({{&Web->onError, "error"}, {&Web->onProgress, "progress"}, {&Web->onRead, "read"}}); }

    // One doRead of Address, the local path coming with the call.
    Journal Fetch(const std::string &Address)
    {
        Log.clear();
        Web->URL = Address;
        testkit::Call(Web, &TQorWebFile::doRead, StrData(Local));
        return Log;
    }
};

} // namespace

// WinINet hands out what the connection has, not always whole chunks, so only
// the end of the journal is fixed: the final size, then onRead.
TEST_F(WebReader, TheLocalFileBecomesTheServedFileByteForByteEndingWithItsSizeAndRead)
{
    WriteBytes(Served("10000.bin"), Pattern(10000));
    WriteBytes(Local, std::string(20000, 'x'));
    const Journal events = Fetch(Url("TERVIK_HTTP_TEST_PORT", "/pub/latest/10000.bin"));
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(Journal(events.end() - 2, events.end()), (Journal{"progress: int 10000", "read: null"}));
    EXPECT_EQ(ReadBytes(Local), Pattern(10000)) << "over a longer local file";
}

TEST_F(WebReader, AFaultEndsInItsCodeWithoutAHangKeepingTheLastGoodFileAndClosingEachHandleOnce)
{
    WatchHandles();
    Web->onProgress = TPointLink(); // how far a cut transfer got does not matter here
    struct Case {
        const char *Port;
        const char *Path;
        Journal Expected;
        size_t Closed; // handles let go: the root, and the answer when there was one
    } cases[] = {
        {"TERVIK_HTTP_TEST_PORT", "/missing/pub/latest/DGD.txt", {"error: int 5"}, 2},
        {"TERVIK_HTTP_TEST_PORT", "/cut/pub/latest/DGD.txt", {"error: int 4"}, 2},
        {"TERVIK_HTTP_TEST_PORT", "/silent/pub/latest/DGD.txt", {"error: int 5"}, 1},
        {"TERVIK_FTP_CLOSED_PORT", "/pub/latest/DGD.txt", {"error: int 5"}, 1},
        {"TERVIK_FTP_STALLED_PORT", "/pub/latest/DGD.txt", {"error: int 5"}, 1},
    };
    for (const Case &c : cases) {
        const std::string what = std::string(c.Port) + " " + c.Path;
        EXPECT_EQ(Faulty(what, [&] { return Fetch(Url(c.Port, c.Path)); }), c.Expected) << what;
        EXPECT_EQ(Closed().size(), c.Closed) << what;
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
    };
    for (const Case &c : cases) {
        gOpened.clear();
        EXPECT_EQ(Fetch(c.Address), Journal{"error: int 5"}) << c.Address;
        ASSERT_EQ(gOpened.size(), c.Opened ? 1u : 0u) << c.Address;
        if (c.Opened) {
            EXPECT_EQ(gOpened[0].first, c.Address);
            EXPECT_EQ(gOpened[0].second, c.Flags) << c.Address;
        }
    }
}
