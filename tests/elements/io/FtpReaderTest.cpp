#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "elements/io/TQorWinFTP.h"
#include "elements/io/WinInetApi.h"
#include "runtime/TScheme.h"
#include "winlayer/TestFiles.h"
#include "winlayer/WinMemoryStream.h"

// These tests talk to the servers ftp_servers.py runs on loopback: a real
// pyftpdlib server serving TERVIK_FTP_ROOT, and our scripted server, whose
// misbehaviour is chosen by the login name (see scripted_ftp.py).

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;
using winlayer::TWinMemoryStream;

namespace {

struct Running {
    Running() { StartHooks(); }
    ~Running() { StopHooks(); }
};

std::string Env(const char *Name)
{
    const char *value = std::getenv(Name);
    return value ? value : "";
}

int32_t EnvPort(const char *Name)
{
    return static_cast<int32_t>(std::atoi(Env(Name).c_str()));
}

// The served folder; files a test puts in pub/latest are on both servers at once.
std::string Served(const std::string &Name)
{
    return (std::filesystem::path(Env("TERVIK_FTP_ROOT")) / "pub" / "latest" / Name).string();
}

// Bytes that a text-mode transfer would mangle: CR, LF, CR LF, zeros, 0x1A.
std::string Pattern(size_t Size)
{
    std::string bytes(Size, '\0');
    for (size_t i = 0; i < Size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// Records the reader's events in order, with their values.
struct Recorder : TElement {
    std::vector<std::string> Events;
    void doRecord(TData &Data, uint16_t Index)
    {
        switch (Index) {
        case 0:
            Events.push_back(DataKind(Data) == dtNull ? "open" : "open <" + ToString(Data) + ">");
            break;
        case 1:
            Events.push_back("error " + std::to_string(ToInteger(Data)));
            break;
        case 2:
            Events.push_back("progress " + std::to_string(ToInteger(Data)));
            break;
        case 3:
            Events.push_back(DataKind(Data) == dtNull ? "read" : "read <" + ToString(Data) + ">");
            break;
        }
    }
};

// Answers a fixed value: the local path or a stream.
struct Source : TElement {
    TData Answer;
    void Value(TData &Data, uint16_t) { Data = Answer; }
};

std::vector<std::string> Progress(std::vector<int> Positions)
{
    std::vector<std::string> events;
    for (int p : Positions)
        events.push_back("progress " + std::to_string(p));
    return events;
}

std::vector<std::string> Concat(std::vector<std::string> A, const std::vector<std::string> &B)
{
    A.insert(A.end(), B.begin(), B.end());
    return A;
}

std::string Show(const std::vector<std::string> &Events)
{
    std::string text;
    for (const std::string &e : Events)
        text += (text.empty() ? "" : ", ") + e;
    return "[" + text + "]";
}

// The reader wired the way the main scheme wires it: Target from a path
// source, every event to the recorder; the steps are fired through event links
// so that forwarded events reach the recorder as they do in the program.
class FtpReader : public testing::Test, protected TScheme {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Env("TERVIK_FTP_ROOT").empty())
            << "run through tests/elements/io/ftp_servers.py (ctest does), which starts the servers";
        Ftp = Make<TQorWinFTP>();
        Ftp->FHost = Env("TERVIK_FTP_TEST_HOST");
        Ftp->Port = EnvPort("TERVIK_FTP_TEST_PORT");
        Ftp->Directory = "pub/latest";
        Ftp->FFileName = "DGD.txt";
        Ftp->DateFormat = "D[W]-M-Y (h:m:s)";
        Rec = Make<Recorder>();
        Path = Make<Source>();
        LinkEvent(Ftp->onOpen, Rec, &Recorder::doRecord, 0);
        LinkEvent(Ftp->onError, Rec, &Recorder::doRecord, 1);
        LinkEvent(Ftp->onProgress, Rec, &Recorder::doRecord, 2);
        LinkEvent(Ftp->onRead, Rec, &Recorder::doRecord, 3);
        LinkEvent(OpenLink, Ftp, &TQorWinFTP::doOpen, 0);
        LinkEvent(ReadLink, Ftp, &TQorWinFTP::doRead, 2);
        LinkEvent(CloseLink, Ftp, &TQorWinFTP::doClose, 1);
        Local = Folder.Path("DGD.txt");
    }

    void WireTarget(const TData &Value)
    {
        Path->Answer = Value;
        LinkData(Ftp->Target, Path, &Source::Value, 0);
    }

    void UseScripted(const std::string &Mode)
    {
        Ftp->Port = EnvPort("TERVIK_FTP_SCRIPTED_PORT");
        Ftp->FUserName = Mode;
    }

    void Open() { CallEventNull(OpenLink); }
    void Read() { CallEventNull(ReadLink); }
    void Close() { CallEventNull(CloseLink); }

    // One download the way the main scheme's hub runs it.
    std::vector<std::string> Cycle(const std::string &RemoteName)
    {
        Rec->Events.clear();
        WireTarget(StrData(Local));
        Ftp->FFileName = RemoteName;
        Open();
        Read();
        Close();
        return Rec->Events;
    }

    bool PartLeft() const { return std::filesystem::exists(Local + ".part"); }

    Running On;
    TempFolder Folder;
    std::string Local;
    TQorWinFTP *Ftp = nullptr;
    Recorder *Rec = nullptr;
    Source *Path = nullptr;
    TPointLink OpenLink, ReadLink, CloseLink;
};

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point Start)
{
    return std::chrono::duration<double>(Clock::now() - Start).count();
}

} // namespace

TEST_F(FtpReader, OpenReadCloseCopiesTheRemoteFileByteForByte)
{
    std::string served = ReadBytes(Served("DGD.txt"));
    ASSERT_GT(served.size(), 0u);
    int size = static_cast<int>(served.size());

    std::vector<std::string> events = Cycle("/pub/latest/DGD.txt");

    EXPECT_EQ(Show(events), Show(Concat(Concat({"open"}, Progress({size, size})), {"read"})));
    EXPECT_EQ(ReadBytes(Local), served) << "the local file is the remote file, byte for byte";
    EXPECT_FALSE(PartLeft()) << "the temporary file is gone once the target is replaced";
}

TEST_F(FtpReader, ProgressReportsThePositionAfterEveryChunkAndOnceMoreAtTheEnd)
{
    struct Case {
        size_t Size;
        std::vector<int> Positions;
    } cases[] = {
        {0, {0}},
        {4096, {4096, 4096}},
        {10000, {4096, 8192, 10000, 10000}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("remote file of " + std::to_string(c.Size) + " bytes");
        std::string name = "pattern" + std::to_string(c.Size) + ".bin";
        WriteBytes(Served(name), Pattern(c.Size));
        std::filesystem::remove(Local);

        std::vector<std::string> events = Cycle(name);

        EXPECT_EQ(Show(events), Show(Concat(Concat({"open"}, Progress(c.Positions)), {"read"})));
        EXPECT_TRUE(std::filesystem::exists(Local)) << "the download creates the local file";
        EXPECT_EQ(ReadBytes(Local), Pattern(c.Size)) << "binary transfer: every byte as served";
    }
}

TEST_F(FtpReader, ALongerLocalFileEndsExactlyAsLongAsTheDownload)
{
    WriteBytes(Served("short.bin"), Pattern(100));
    WriteBytes(Local, std::string(5000, 'x'));

    std::vector<std::string> events = Cycle("short.bin");

    EXPECT_EQ(Show(events), Show({"open", "progress 100", "progress 100", "read"}));
    EXPECT_EQ(ReadBytes(Local), Pattern(100));
}

// A completed download of an empty remote file leaves an empty local file: the
// local file always mirrors what the last completed download brought.
TEST_F(FtpReader, AnEmptyDownloadReplacesAnExistingLocalFile)
{
    WriteBytes(Served("empty.bin"), "");
    WriteBytes(Local, "old content");

    std::vector<std::string> events = Cycle("empty.bin");

    EXPECT_EQ(Show(events), Show({"open", "progress 0", "read"}));
    EXPECT_TRUE(std::filesystem::exists(Local));
    EXPECT_EQ(ReadBytes(Local), "");
}

TEST_F(FtpReader, TheTargetComesFromTheIncomingValueWhenTargetIsUnwired)
{
    WriteBytes(Served("small.bin"), Pattern(300));
    Ftp->FFileName = "small.bin";
    Open();
    TData path = StrData(Local);
    CallEvent(ReadLink, path);
    Close();

    EXPECT_EQ(Show(Rec->Events), Show({"open", "progress 300", "progress 300", "read"}));
    EXPECT_EQ(ReadBytes(Local), Pattern(300));
}

TEST_F(FtpReader, AStreamTargetGetsTheBytesAtItsPositionAndStaysOpen)
{
    WriteBytes(Served("stream.bin"), Pattern(5000));
    testfiles::Owned<TWinMemoryStream> stream = testfiles::Make<TWinMemoryStream>();
    stream->Write("HEAD", 4);
    stream->SetPosition(2); // the download overwrites from here on
    TData value;
    value.dtStream(stream.get());

    Ftp->FFileName = "stream.bin";
    Open();
    int32_t live = winlayer::TWinObject::LiveObjects();
    CallEvent(ReadLink, value); // Target unwired: the incoming stream is the target
    Close();

    EXPECT_EQ(Show(Rec->Events), Show({"open", "progress 4098", "progress 5002", "progress 5002", "read"}));
    ASSERT_EQ(stream->Size(), 5002);
    std::string bytes(reinterpret_cast<const char *>(stream->Memory()), 5002);
    EXPECT_EQ(bytes, "HE" + Pattern(5000));
    EXPECT_EQ(winlayer::TWinObject::LiveObjects(), live) << "a stream that came with the call is not freed";
    EXPECT_FALSE(std::filesystem::exists(Folder.Path(".part"))) << "no temporary file for a stream";
}

TEST_F(FtpReader, ARefusedConnectionGivesCode2AndNoOnOpen)
{
    WriteBytes(Local, "last good");
    Ftp->Port = EnvPort("TERVIK_FTP_CLOSED_PORT");

    std::vector<std::string> events = Cycle("/pub/latest/DGD.txt");

    EXPECT_EQ(Show(events), Show({"error 2", "error 5"})) << "the read that follows finds no connection";
    EXPECT_EQ(Ftp->RootHandle, nullptr) << "the root handle is closed with the failed connection";
    EXPECT_EQ(ReadBytes(Local), "last good");
}

TEST_F(FtpReader, ARefusedDirectoryGivesCode3AndLeavesTheConnectionUsable)
{
    UseScripted("refusecwd");
    std::string served = ReadBytes(Served("DGD.txt"));
    int size = static_cast<int>(served.size());

    std::vector<std::string> events = Cycle("/pub/latest/DGD.txt");

    // The absolute remote name still works from the start directory.
    EXPECT_EQ(Show(events), Show(Concat(Concat({"error 3"}, Progress({size, size})), {"read"})));
    EXPECT_EQ(ReadBytes(Local), served);
}

TEST_F(FtpReader, AMissingRemoteFileGivesCode5AndTouchesNoLocalFile)
{
    struct Case {
        const char *Server;
        bool LocalExists;
    } cases[] = {{"pyftpdlib", true}, {"pyftpdlib", false}, {"missing", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.Server) + (c.LocalExists ? ", local file present" : ", no local file"));
        if (std::string(c.Server) == "missing")
            UseScripted("missing");
        std::filesystem::remove(Local);
        if (c.LocalExists)
            WriteBytes(Local, "last good");

        std::vector<std::string> events = Cycle("/pub/latest/nothing-here.txt");

        EXPECT_EQ(Show(events), Show({"open", "error 5"}));
        EXPECT_EQ(std::filesystem::exists(Local), c.LocalExists);
        if (c.LocalExists) {
            EXPECT_EQ(ReadBytes(Local), "last good");
        }
        EXPECT_FALSE(PartLeft());
    }
}

TEST_F(FtpReader, ATransferBrokenOffGivesCode4AndKeepsTheLastGoodFile)
{
    int half = static_cast<int>(ReadBytes(Served("DGD.txt")).size() / 2);
    struct Case {
        const char *Mode;
        const char *How;
        bool ExactProgress;
    } cases[] = {
        {"cut426", "clean close after half the bytes, reply 426, SIZE answered", true},
        {"cutnosize", "clean close after half the bytes, reply 426, SIZE refused", true},
        {"cutquit", "clean close after half the bytes, control line dropped without a reply", true},
        {"cutreset", "reset after half the bytes, reply 426", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.Mode) + ": " + c.How);
        UseScripted(c.Mode);
        WriteBytes(Local, "last good");

        std::vector<std::string> events = Cycle("/pub/latest/DGD.txt");

        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.front(), "open");
        EXPECT_EQ(events.back(), "error 4") << Show(events);
        for (const std::string &e : events)
            EXPECT_NE(e, "read") << "a broken transfer is not reported as done: " << Show(events);
        if (c.ExactProgress) {
            EXPECT_EQ(Show(events), Show(Concat(Concat({"open"}, Progress({half, half})), {"error 4"})));
        }
        EXPECT_EQ(ReadBytes(Local), "last good") << "the old file stays as it was";
        EXPECT_FALSE(PartLeft()) << "the partial download is removed";
    }
}

TEST_F(FtpReader, AServerThatRefusesSizeStillDownloads)
{
    UseScripted("nosize");
    std::string served = ReadBytes(Served("DGD.txt"));
    int size = static_cast<int>(served.size());

    std::vector<std::string> events = Cycle("/pub/latest/DGD.txt");

    EXPECT_EQ(Show(events), Show(Concat(Concat({"open"}, Progress({size, size})), {"read"})));
    EXPECT_EQ(ReadBytes(Local), served);
}

TEST_F(FtpReader, ATargetThatCannotBeWrittenGivesCode4)
{
    WriteBytes(Served("small.bin"), Pattern(300));
    std::filesystem::create_directory(Folder.Path("adir"));
    struct Case {
        std::string Target;
        const char *What;
    } cases[] = {
        {Folder.Path("adir"), "a directory"},
        {Folder.Path("no-such-folder\\DGD.txt"), "a file in a missing folder"},
        {"", "an empty path"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.What);
        Local = c.Target;
        std::vector<std::string> events = Cycle("small.bin");

        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), "error 4") << Show(events);
        for (const std::string &e : events)
            EXPECT_NE(e, "read") << Show(events);
    }
    EXPECT_TRUE(std::filesystem::is_directory(Folder.Path("adir")));
    EXPECT_FALSE(std::filesystem::exists(Folder.Path("adir.part")));
    EXPECT_FALSE(std::filesystem::exists(Folder.Path("no-such-folder")));
}

// The stalled steps end in an error well within the 60 seconds a user may wait
// for the window to answer again (Wine gives up on a reply after 30 s; the
// reader bounds what Wine would wait for without end).
TEST_F(FtpReader, AServerThatStopsAnsweringAfterLoginEndsInErrors)
{
    UseScripted("silent");
    WriteBytes(Local, "last good");
    WireTarget(StrData(Local));
    Ftp->FFileName = "/pub/latest/DGD.txt";

    Clock::time_point start = Clock::now();
    Open();
    double openSeconds = SecondsSince(start);
    start = Clock::now();
    Read();
    double readSeconds = SecondsSince(start);
    Close();

    EXPECT_EQ(Show(Rec->Events), Show({"error 3", "error 5"}));
    EXPECT_LT(openSeconds, 60.0);
    EXPECT_LT(readSeconds, 60.0);
    EXPECT_EQ(ReadBytes(Local), "last good");
    RecordProperty("open_seconds", std::to_string(openSeconds));
    RecordProperty("read_seconds", std::to_string(readSeconds));
    std::printf("silent server: doOpen %.1f s, doRead %.1f s\n", openSeconds, readSeconds);
}

TEST_F(FtpReader, ADataConnectionThatStallsEndsInCode4)
{
    UseScripted("stall");
    WriteBytes(Local, "last good");
    WireTarget(StrData(Local));
    Ftp->FFileName = "/pub/latest/DGD.txt";

    Open();
    Clock::time_point start = Clock::now();
    Read();
    double readSeconds = SecondsSince(start);
    Close();

    ASSERT_FALSE(Rec->Events.empty());
    EXPECT_EQ(Rec->Events.front(), "open");
    EXPECT_EQ(Rec->Events.back(), "error 4") << Show(Rec->Events);
    EXPECT_LT(readSeconds, 60.0);
    EXPECT_EQ(ReadBytes(Local), "last good");
    EXPECT_FALSE(PartLeft());
    RecordProperty("read_seconds", std::to_string(readSeconds));
    std::printf("stalled data connection: doRead %.1f s\n", readSeconds);
}

TEST_F(FtpReader, AConnectThatHangsEndsInCode2)
{
    Ftp->Port = EnvPort("TERVIK_FTP_STALLED_PORT");
    Clock::time_point start = Clock::now();
    Open();
    double openSeconds = SecondsSince(start);
    Close();

    EXPECT_EQ(Show(Rec->Events), Show({"error 2"}));
    EXPECT_LT(openSeconds, 60.0);
    RecordProperty("open_seconds", std::to_string(openSeconds));
    std::printf("connect that hangs: doOpen %.1f s\n", openSeconds);
}

// ---- What the reader asks of WinINet -----------------------------------------

namespace {

// Wraps the real calls and notes their arguments.
struct Asked {
    std::string Agent;
    DWORD AccessType = 99;
    bool NoProxy = false;
    DWORD OpenFlags = 99;
    std::vector<std::pair<DWORD, DWORD>> Options;
    std::string Host;
    INTERNET_PORT Port = 0;
    const char *UserName = nullptr;
    const char *Password = nullptr;
    std::string UserNameText, PasswordText;
    DWORD Service = 0;
    DWORD ConnectFlags = 0;
    std::vector<HINTERNET> Closed;
    bool FailOpen = false;
};
Asked asked;

HINTERNET WINAPI RecordOpen(LPCSTR Agent, DWORD AccessType, LPCSTR Proxy, LPCSTR Bypass, DWORD Flags)
{
    asked.Agent = Agent ? Agent : "(null)";
    asked.AccessType = AccessType;
    asked.NoProxy = Proxy == nullptr && Bypass == nullptr;
    asked.OpenFlags = Flags;
    if (asked.FailOpen)
        return nullptr;
    return RealWinInet().InternetOpenA(Agent, AccessType, Proxy, Bypass, Flags);
}

BOOL WINAPI RecordOption(HINTERNET Handle, DWORD Option, LPVOID Buffer, DWORD Length)
{
    asked.Options.push_back({Option, Length == sizeof(DWORD) ? *static_cast<DWORD *>(Buffer) : 0});
    return RealWinInet().InternetSetOptionA(Handle, Option, Buffer, Length);
}

HINTERNET WINAPI RecordConnect(HINTERNET Root, LPCSTR Host, INTERNET_PORT Port, LPCSTR UserName, LPCSTR Password,
                               DWORD Service, DWORD Flags, DWORD_PTR Context)
{
    asked.Host = Host;
    asked.Port = Port;
    asked.UserName = UserName;
    asked.Password = Password;
    asked.UserNameText = UserName ? UserName : "";
    asked.PasswordText = Password ? Password : "";
    asked.Service = Service;
    asked.ConnectFlags = Flags;
    return RealWinInet().InternetConnectA(Root, Host, Port, UserName, Password, Service, Flags, Context);
}

BOOL WINAPI RecordClose(HINTERNET Handle)
{
    asked.Closed.push_back(Handle);
    return RealWinInet().InternetCloseHandle(Handle);
}

// Puts the recording calls in place for one test.
struct Recording {
    Recording()
    {
        asked = Asked();
        WinInet.InternetOpenA = RecordOpen;
        WinInet.InternetSetOptionA = RecordOption;
        WinInet.InternetConnectA = RecordConnect;
        WinInet.InternetCloseHandle = RecordClose;
    }
    ~Recording() { WinInet = RealWinInet(); }
};

} // namespace

TEST_F(FtpReader, ConnectsAsQorWinFtpInPassiveModeWithEmptyLoginStrings)
{
    Recording recording;
    int32_t port = EnvPort("TERVIK_FTP_TEST_PORT");
    Ftp->Port = 0x7FFF0000 | port; // only the low 16 bits count

    Open();

    EXPECT_EQ(Show(Rec->Events), Show({"open"}));
    EXPECT_EQ(asked.Agent, "Qor WinFTP");
    EXPECT_EQ(asked.AccessType, 0u) << "INTERNET_OPEN_TYPE_PRECONFIG";
    EXPECT_TRUE(asked.NoProxy);
    EXPECT_EQ(asked.OpenFlags, 0u);
    EXPECT_EQ(asked.Port, port);
    EXPECT_EQ(asked.Service, 1u) << "INTERNET_SERVICE_FTP";
    EXPECT_EQ(asked.ConnectFlags, 0x08000000u) << "INTERNET_FLAG_PASSIVE";
    EXPECT_NE(asked.UserName, nullptr) << "an empty user name goes as an empty string";
    EXPECT_NE(asked.Password, nullptr) << "an empty password goes as an empty string";
    EXPECT_EQ(asked.UserNameText, "");
    EXPECT_EQ(asked.PasswordText, "");
    std::vector<std::pair<DWORD, DWORD>> timeouts = {
        {INTERNET_OPTION_CONNECT_TIMEOUT, 30000},   {INTERNET_OPTION_SEND_TIMEOUT, 30000},
        {INTERNET_OPTION_RECEIVE_TIMEOUT, 30000},   {INTERNET_OPTION_DATA_SEND_TIMEOUT, 30000},
        {INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 30000},
    };
    EXPECT_EQ(asked.Options, timeouts);
    Close();
}

TEST_F(FtpReader, LoginValuesAreReadPasswordFirstThenUserNameThenHost)
{
    Recording recording;
    Ftp->FHost.clear();
    Ftp->Port = EnvPort("TERVIK_FTP_SCRIPTED_PORT");
    // Properties empty and points unwired: each value comes off the incoming chain.
    TData host = StrData(Env("TERVIK_FTP_TEST_HOST"));
    TData user = StrData("plain");
    user.NextData = &host;
    TData chain = StrData("secret");
    chain.NextData = &user;

    CallEvent(OpenLink, chain);

    EXPECT_EQ(Show(Rec->Events), Show({"open"}));
    EXPECT_EQ(asked.PasswordText, "secret");
    EXPECT_EQ(asked.UserNameText, "plain");
    EXPECT_EQ(asked.Host, Env("TERVIK_FTP_TEST_HOST"));
    Close();
}

TEST_F(FtpReader, NoInternetHandleGivesCode1)
{
    Recording recording;
    asked.FailOpen = true;

    std::vector<std::string> events = Cycle("/pub/latest/DGD.txt");

    EXPECT_EQ(Show(events), Show({"error 1", "error 5"}));
    for (HINTERNET h : asked.Closed)
        EXPECT_EQ(h, nullptr) << "nothing was opened, so nothing real is closed";
}

TEST_F(FtpReader, CloseLetsEachHandleGoOnce)
{
    Recording recording;
    Open();
    HINTERNET root = Ftp->RootHandle;
    HINTERNET connection = Ftp->ConnectionHandle;
    ASSERT_NE(root, nullptr);
    ASSERT_NE(connection, nullptr);

    Close();
    Close();

    std::vector<HINTERNET> expected = {connection, root, nullptr, nullptr};
    EXPECT_EQ(asked.Closed, expected) << "a second doClose must not close handle values WinINet may reuse";
}

TEST_F(FtpReader, AfterCode2CloseDoesNotCloseTheRootAgain)
{
    Recording recording;
    Ftp->Port = EnvPort("TERVIK_FTP_CLOSED_PORT");
    Open();
    ASSERT_EQ(asked.Closed.size(), 1u);
    HINTERNET root = asked.Closed[0];
    ASSERT_NE(root, nullptr);

    Close();

    EXPECT_EQ(Show(Rec->Events), Show({"error 2"}));
    for (size_t i = 1; i < asked.Closed.size(); ++i)
        EXPECT_NE(asked.Closed[i], root) << "the root handle was closed already";
}
