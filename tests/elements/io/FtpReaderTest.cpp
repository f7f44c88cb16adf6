// The FTP reader against the servers ftp_servers.py runs on loopback: a real
// pyftpdlib server, and our scripted server, whose misbehaviour is chosen by
// the login name (see scripted_ftp.py).
#include "IoTestKit.h"
#include "elements/io/TQorWinFTP.h"
#include "elements/text/DgdFileCheck.h"
#include "winlayer/WinMemoryStream.h"

using namespace iotest;

namespace {

struct FtpReader : ReaderTest {
    TQorWinFTP *Ftp = Make<TQorWinFTP>();

    void SetUp() override
    {
        Record({{&Ftp->onOpen, "open"}, {&Ftp->onError, "error"}, {&Ftp->onProgress, "progress"}, {&Ftp->onRead, "read"}});
        Ftp->FHost = Env("TERVIK_FTP_TEST_HOST");
        Ftp->Port = std::atoi(Env("TERVIK_FTP_TEST_PORT").c_str());
        Ftp->Directory = "pub/latest";
    }
    // One download as the main scheme's hub runs it: open, read into Target, close.
    Journal Cycle(const std::string &Remote, const TData &Target)
    {
        Log.clear();
        Ftp->FFileName = Remote;
        testkit::Call(Ftp, &TQorWinFTP::doOpen, TData());
        testkit::Call(Ftp, &TQorWinFTP::doRead, Target);
        testkit::Call(Ftp, &TQorWinFTP::doClose, TData());
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
        {4096, "", {"open: null", "progress: int 4096", "progress: int 4096", "read: null"}},
        {10000, std::string(20000, 'x'),
         {"open: null", "progress: int 4096", "progress: int 8192", "progress: int 10000", "progress: int 10000",
          "read: null"}},
    };
    for (const Case &c : cases) {
        const std::string name = std::to_string(c.Size) + ".txt";
        WriteBytes(Served(name), DgdPattern(c.Size));
        std::filesystem::remove(Local);
        if (!c.Old.empty())
            WriteBytes(Local, c.Old);
        EXPECT_EQ(Cycle("/pub/latest/" + name, StrData(Local)), c.Expected) << name;
        EXPECT_EQ(ReadBytes(Local), DgdPattern(c.Size)) << name << " over a local file of " << c.Old.size();
    }
}

// Wine waits 30 s for a control reply whatever it is told, and a TCP connect
// or a passive data connection that nobody accepts for minutes: the deadline
// (shortened here) ends them all. Bytes that are not the file (empty, binary,
// far too long) are code 6; a transfer that cannot be shown complete is 4.
TEST_F(FtpReader, AFaultEndsInItsCodeByTheDeadlineKeepingTheLastGoodFileAndClosingEachHandleOnce)
{
    RecordCloses();
    Ftp->Deadline = Deadline;
    Ftp->onProgress = TPointLink(); // how far a cut transfer got does not matter here
    WriteBytes(Served("empty.txt"), "");
    WriteBytes(Served("junk.txt"), Pattern(3000));
    std::string huge;
    while (huge.size() <= 4 * DgdFileMaxBytes)
        huge += DgdPattern(4000);
    WriteBytes(Served("huge.txt"), huge);
    struct Case {
        const char *Port;
        const char *Mode; // the scripted server's misbehaviour
        const char *Remote;
        Journal Expected;
    } cases[] = {
        {"TERVIK_FTP_CLOSED_PORT", "", "DGD.txt", {"error: int 2", "error: int 5"}},
        {"TERVIK_FTP_SCRIPTED_PORT", "refusecwd", "/pub/latest/DGD.txt", {"error: int 3", "read: null"}},
        {"TERVIK_FTP_SCRIPTED_PORT", "silent", "DGD.txt", {"error: int 3", "error: int 5"}},
        {"TERVIK_FTP_TEST_PORT", "", "nothing-here.txt", {"open: null", "error: int 5"}},
        {"TERVIK_FTP_TEST_PORT", "", "empty.txt", {"open: null", "error: int 6"}},
        {"TERVIK_FTP_TEST_PORT", "", "junk.txt", {"open: null", "error: int 6"}},
        {"TERVIK_FTP_TEST_PORT", "", "huge.txt", {"open: null", "error: int 6"}},
        // A cut that only the final reply tells, one that only the size tells,
        // one that neither tells, a stall, a trickle.
        {"TERVIK_FTP_SCRIPTED_PORT", "cutnosize", "DGD.txt", {"open: null", "error: int 4"}},
        {"TERVIK_FTP_SCRIPTED_PORT", "cutquit", "DGD.txt", {"open: null", "error: int 4"}},
        {"TERVIK_FTP_SCRIPTED_PORT", "nosizequit", "DGD.txt", {"open: null", "error: int 4"}},
        {"TERVIK_FTP_SCRIPTED_PORT", "stall", "DGD.txt", {"open: null", "error: int 4"}},
        {"TERVIK_FTP_SCRIPTED_PORT", "trickle", "DGD.txt", {"open: null", "error: int 4"}},
        {"TERVIK_FTP_SCRIPTED_PORT", "blockpasv", "DGD.txt", {"open: null", "error: int 5"}},
        {"TERVIK_FTP_STALLED_PORT", "", "DGD.txt", {"error: int 2", "error: int 5"}},
    };
    for (const Case &c : cases) {
        Ftp->Port = std::atoi(Env(c.Port).c_str());
        Ftp->FUserName = c.Mode;
        const bool fetched = c.Expected.back() == "read: null";
        const std::string what = std::string(c.Port) + " " + c.Mode + " " + c.Remote;
        EXPECT_EQ(Faulty(what, [&] { return Cycle(c.Remote, StrData(Local)); },
                         fetched ? ReadBytes(Served("DGD.txt")) : ""),
                  c.Expected)
            << what;
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
    WriteBytes(Served("stream.bin"), Pattern(5000)); // not a DGD.txt: only a file target is checked
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
