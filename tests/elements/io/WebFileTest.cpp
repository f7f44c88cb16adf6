// The web reader against the HTTP server ftp_servers.py runs on loopback: it
// serves the same folder as the FTP servers, and misbehaves as the path's
// first part says (/cut/, /html/, /huge/ and the others in ftp_servers.py).
#include "IoTestKit.h"
#include "elements/io/TQorWebFile.h"

using namespace iotest;

namespace {

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

// A page in place of the file, an empty body and a body without end are code 6
// (binary junk takes the page's way, and fails the end-to-end tests if let
// through); a body cut short or trickling past the deadline 4.
TEST_F(WebReader, AFaultEndsInItsCodeByTheDeadlineKeepingTheLastGoodFile)
{
    RecordCloses();
    Web->Deadline = Deadline;
    Web->onProgress = TPointLink(); // how far a cut transfer got does not matter here
    struct Case {
        const char *Port;
        const char *Path;
        Journal Expected;
    } cases[] = {
        {"TERVIK_HTTP_TEST_PORT", "/missing/pub/latest/DGD.txt", {"error: int 5"}},
        {"TERVIK_HTTP_TEST_PORT", "/html/pub/latest/DGD.txt", {"error: int 6"}},
        {"TERVIK_HTTP_TEST_PORT", "/empty/pub/latest/DGD.txt", {"error: int 6"}},
        {"TERVIK_HTTP_TEST_PORT", "/huge/pub/latest/DGD.txt", {"error: int 6"}},
        {"TERVIK_HTTP_TEST_PORT", "/cut/pub/latest/DGD.txt", {"error: int 4"}},
        {"TERVIK_HTTP_TEST_PORT", "/trickle/pub/latest/DGD.txt", {"error: int 4"}},
        {"TERVIK_HTTP_TEST_PORT", "/silent/pub/latest/DGD.txt", {"error: int 5"}},
        {"TERVIK_FTP_CLOSED_PORT", "/pub/latest/DGD.txt", {"error: int 5"}},
    };
    for (const Case &c : cases) {
        const std::string what = std::string(c.Port) + " " + c.Path;
        EXPECT_EQ(Faulty(what, [&] { return Fetch("http://127.0.0.1:" + Env(c.Port) + c.Path); }), c.Expected) << what;
    }
    // And a good one after them all.
    EXPECT_EQ(Faulty("good", [&] { return Fetch("http://127.0.0.1:" + Env("TERVIK_HTTP_TEST_PORT") + "/pub/latest/DGD.txt"); },
                     ReadBytes(Served("DGD.txt"))).back(),
              "read: null");
}

// The program's fallback address is https: opened secure and past the cache.
TEST_F(WebReader, OpensHttpsSecureNeverFromTheCacheAndIntoNone)
{
    static DWORD flags;
    WinInet.InternetOpenUrlA = [](HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD Flags, DWORD_PTR) -> HINTERNET {
        flags = Flags;
        return nullptr;
    };
    EXPECT_EQ(Fetch("HTTPS://example.invalid/DGD.txt"), Journal{"error: int 5"});
    EXPECT_EQ(flags, static_cast<DWORD>(INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                        INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_SECURE));
}
