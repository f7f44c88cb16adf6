#include "TQorWinFTP.h"

#include <atomic>
#include <memory>

#include "WinInetApi.h"
#include "elements/text/DgdFileCheck.h"
#include "winlayer/WinStream.h"

using winlayer::TWinStream;

namespace {

HINTERNET AsInternet(void *Handle)
{
    return static_cast<HINTERNET>(Handle);
}

// The text of the server's last reply on this thread, or empty.
std::string LastReply(const TWinInetApi &Api)
{
    char text[1024];
    DWORD error = 0;
    DWORD length = sizeof text;
    if (!Api.InternetGetLastResponseInfoA(&error, text, &length) || length >= sizeof text)
        return std::string();
    return std::string(text, length);
}

// The three-digit code a reply starts with, or 0.
int ReplyCode(const std::string &Reply)
{
    if (Reply.size() < 3)
        return 0;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        if (Reply[i] < '0' || Reply[i] > '9')
            return 0;
        code = code * 10 + (Reply[i] - '0');
    }
    return code;
}

bool TimedOut()
{
    return GetLastError() == ERROR_INTERNET_TIMEOUT;
}

// The size the server gives for Name (SIZE, in binary mode, as the transfer
// will be), or -1 when it does not say. A transfer that ends with another count
// broke off even when the data connection closed as if it had finished.
int64_t RemoteSize(const TWinInetApi &Api, HINTERNET Connection, const std::string &Name, bool &Stalled)
{
    if (Name.find_first_of("\r\n") != std::string::npos)
        return -1;
    for (std::string command : {std::string("TYPE I"), "SIZE " + Name}) {
        if (!Api.FtpCommandA(Connection, FALSE, FTP_TRANSFER_TYPE_BINARY, command.c_str(), 0, nullptr)) {
            Stalled = TimedOut();
            return -1;
        }
    }
    const std::string reply = LastReply(Api);
    if (ReplyCode(reply) != 213 || reply.size() < 5 || reply[3] != ' ')
        return -1;
    int64_t size = 0;
    size_t i = 4;
    for (; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i) {
        if (size > (INT64_MAX - 9) / 10)
            return -1;
        size = size * 10 + (reply[i] - '0');
    }
    return i > 4 ? size : -1;
}

// What the workers of doOpen and doRead share with the window thread. The
// window thread reads the plain fields only after the worker returned in time.
struct TOpenJob {
    HINTERNET Root = nullptr;
    std::string Host, UserName, Password, Directory;
    INTERNET_PORT Port = 0;
    HINTERNET Connection = nullptr;
    bool InDirectory = false;
    bool Stalled = false;
    std::atomic<bool> Connected{false};
};

struct TReadJob {
    HINTERNET Root = nullptr;
    HINTERNET Connection = nullptr;
    std::string Name;
    int64_t Expected = -1;
    bool Stalled = false;
    int Reply = 0; // the final reply's code, which comes with closing the file
    TReceived Got;
    std::atomic<bool> Opened{false};
    std::atomic<bool> Gone{false};
};

} // namespace

void TQorWinFTP::HandOver()
{
    RootHandle = nullptr;
    ConnectionHandle = nullptr;
    Stalled = true;
}

void TQorWinFTP::doOpen(TData &Data, uint16_t)
{
    // 1
    Started = GetTickCount();
    Stalled = false;
    RootHandle = WinInet.InternetOpenA("Qor WinFTP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    // 2
    if (!RootHandle) {
        ForwardInt(Data, onError, ErrInternet);
        return;
    }
    SetInternetTimeouts(AsInternet(RootHandle), Deadline);
    // 3
    auto job = std::make_shared<TOpenJob>();
    job->Root = AsInternet(RootHandle);
    job->Password = ReadString(Data, Password, FPassword);
    job->UserName = ReadString(Data, UserName, FUserName);
    job->Host = ReadString(Data, Host, FHost);
    // An anonymous login (no user name) goes without a password: WinINet
    // refuses a password without a user name, and with the login properties
    // empty the password read falls back to whatever value the call carried
    // (in the program, the hour number the schedule passes along).
    if (job->UserName.empty())
        job->Password.clear();
    job->Port = static_cast<INTERNET_PORT>(Port & 0xFFFF);
    job->Directory = Directory;
    // 4, and 6 on the same worker
    const TWinInetApi api = WinInet;
    const TCallEnd end = RunBounded(
        TimeLeft(Started, Deadline),
        [api, job] {
            TOpenJob &j = *job;
            j.Connection = api.InternetConnectA(j.Root, j.Host.c_str(), j.Port, j.UserName.c_str(),
                                                j.Password.c_str(), INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
            if (!j.Connection)
                return;
            j.Connected = true;
            j.InDirectory = api.FtpSetCurrentDirectoryA(j.Connection, j.Directory.c_str()) != FALSE;
            j.Stalled = !j.InDirectory && TimedOut();
        },
        [api, job] {
            if (job->Connection)
                api.InternetCloseHandle(job->Connection);
            api.InternetCloseHandle(job->Root);
        });
    if (end == TCallEnd::NoWorker) {
        WinInet.InternetCloseHandle(AsInternet(RootHandle));
        RootHandle = nullptr;
        ForwardInt(Data, onError, ErrConnect);
        return;
    }
    if (end != TCallEnd::Done) {
        const bool connected = job->Connected;
        HandOver();
        if (connected)
            CallEventInt(onError, ErrDirectory);
        else
            ForwardInt(Data, onError, ErrConnect);
        return;
    }
    ConnectionHandle = job->Connection;
    // 5
    if (!ConnectionHandle) {
        WinInet.InternetCloseHandle(AsInternet(RootHandle));
        RootHandle = nullptr;
        ForwardInt(Data, onError, ErrConnect);
        return;
    }
    // 6
    if (job->InDirectory) {
        ForwardNull(Data, onOpen);
        return;
    }
    Stalled = job->Stalled;
    CallEventInt(onError, ErrDirectory);
}

void TQorWinFTP::doRead(TData &Data, uint16_t)
{
    // 1
    TData target;
    ReadDataFirst(Data, Target, nullptr, target);
    Data = target;
    // 2
    auto job = std::make_shared<TReadJob>();
    job->Name = ReadString(Data, FileName, FFileName);
    // 3, 5 and 6 on one worker: the final reply can only be read on the thread
    // that closed the file.
    TCallEnd end = TCallEnd::NoWorker;
    if (ConnectionHandle && !Stalled) {
        job->Root = AsInternet(RootHandle);
        job->Connection = AsInternet(ConnectionHandle);
        const TWinInetApi api = WinInet;
        end = RunBounded(
            TimeLeft(Started, Deadline),
            [api, job] {
                TReadJob &j = *job;
                j.Expected = RemoteSize(api, j.Connection, j.Name, j.Stalled);
                if (j.Stalled)
                    return;
                HINTERNET file =
                    api.FtpOpenFileA(j.Connection, j.Name.c_str(), GENERIC_READ, FTP_TRANSFER_TYPE_BINARY, 0);
                if (!file)
                    return;
                j.Opened = true;
                ReceiveAll(api, file, j.Got, j.Gone);
                api.InternetCloseHandle(file);
                j.Reply = ReplyCode(LastReply(api));
            },
            [api, job] {
                api.InternetCloseHandle(job->Connection);
                api.InternetCloseHandle(job->Root);
            },
            &job->Gone);
    }
    if (end == TCallEnd::Late || end == TCallEnd::Closing) {
        const bool opened = job->Opened;
        HandOver();
        ForwardInt(Data, onError, opened ? ErrTransfer : ErrRemoteFile);
        return;
    }
    if (end == TCallEnd::Done && job->Stalled)
        Stalled = true;
    if (end != TCallEnd::Done || !job->Opened) {
        ForwardInt(Data, onError, ErrRemoteFile);
        return;
    }
    // Complete: read to the end, and either the size the server gave or, when
    // it gave none, the final reply that says all was sent (226 or 250). 426 or
    // 451 says it broke off; no reply at all (a control connection that
    // dropped) says nothing, so without a size it is no proof.
    const TReceived &got = job->Got;
    const int64_t received = static_cast<int64_t>(got.Bytes.size());
    int32_t error = 0;
    if (!got.Complete)
        error = got.TooLong ? ErrContent : ErrTransfer;
    else if (job->Reply >= 400)
        error = ErrTransfer;
    else if (job->Expected >= 0 ? received != job->Expected : job->Reply != 226 && job->Reply != 250)
        error = ErrTransfer;
    // 4, the writes of 5, 7
    if (DataKind(target) == dtStream) {
        TWinStream *stream = AsStream(target);
        size_t at = 0;
        for (uint32_t count : got.Chunks) {
            if (stream && count > 0 && stream->Write(got.Bytes.data() + at, count) != count)
                error = error ? error : ErrTransfer;
            at += count;
            CallEventInt(onProgress, static_cast<int32_t>(stream ? stream->Position() : 0));
        }
        if (!stream && !error)
            error = ErrTransfer;
    } else {
        int64_t stored = 0;
        for (uint32_t count : got.Chunks) {
            stored += count;
            CallEventInt(onProgress, static_cast<int32_t>(stored));
        }
        if (!error && !IsDgdFile(got.Bytes))
            error = ErrContent;
        if (!error && !ReplaceFile(ToString(target), got.Bytes))
            error = ErrTransfer;
    }
    // 8
    if (error)
        ForwardInt(Data, onError, error);
    else
        ForwardNull(Data, onRead);
}

void TQorWinFTP::doClose(TData &, uint16_t)
{
    // Closing says goodbye to the server and waits for its answer: bounded too.
    // A close that is late finishes alone. Handles are cleared once let go:
    // WinINet hands the same values out again.
    HINTERNET connection = AsInternet(ConnectionHandle);
    HINTERNET root = AsInternet(RootHandle);
    ConnectionHandle = nullptr;
    RootHandle = nullptr;
    if (!connection && !root)
        return;
    const TWinInetApi api = WinInet;
    RunBounded(
        TimeLeft(Started, Deadline),
        [api, connection, root] {
            if (connection)
                api.InternetCloseHandle(connection);
            if (root)
                api.InternetCloseHandle(root);
        },
        nullptr);
}
