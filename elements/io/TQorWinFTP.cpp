#include "TQorWinFTP.h"

#include <memory>

#include "WinInetApi.h"
#include "winlayer/WinFileStream.h"

using winlayer::TWinFileStream;
using winlayer::TWinStream;

namespace {

HINTERNET AsInternet(void *Handle)
{
    return static_cast<HINTERNET>(Handle);
}

// The text of the server's last reply on this thread, or empty.
std::string LastReply()
{
    char text[1024];
    DWORD error = 0;
    DWORD length = sizeof text;
    if (!WinInet.InternetGetLastResponseInfoA(&error, text, &length) || length >= sizeof text)
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

// InternetConnectA with the connect step bounded: Wine leaves a TCP connect to
// a host that does not answer to the system (two minutes and more).
HINTERNET Connect(HINTERNET Root, const std::string &Host, INTERNET_PORT Port, const std::string &UserName,
                  const std::string &Password)
{
    const TWinInetApi api = WinInet;
    auto result = std::make_shared<HINTERNET>(nullptr);
    bool inTime = RunWithin(
        api.TimeoutMs,
        [=] {
            *result = api.InternetConnectA(Root, Host.c_str(), Port, UserName.c_str(), Password.c_str(),
                                           INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
        },
        [=] {
            if (*result)
                api.InternetCloseHandle(*result);
        });
    return inTime ? *result : nullptr;
}

} // namespace

void TQorWinFTP::doOpen(TData &Data, uint16_t)
{
    // 1
    RootHandle = WinInet.InternetOpenA("Qor WinFTP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    // 2
    if (!RootHandle) {
        ForwardInt(Data, onError, ErrInternet);
        return;
    }
    // Every wait of the connection is bounded.
    SetInternetTimeouts(AsInternet(RootHandle));
    // 3
    std::string password = ReadString(Data, Password, FPassword);
    std::string userName = ReadString(Data, UserName, FUserName);
    std::string host = ReadString(Data, Host, FHost);
    // An anonymous login (no user name) goes without a password: WinINet
    // refuses a password without a user name, and with the login properties
    // empty the password read falls back to whatever value the call carried
    // (in the program, the hour number the schedule passes along).
    if (userName.empty())
        password.clear();
    // 4
    Stalled = false;
    ConnectionHandle = Connect(AsInternet(RootHandle), host, static_cast<INTERNET_PORT>(Port & 0xFFFF), userName,
                               password);
    // 5
    if (!ConnectionHandle) {
        WinInet.InternetCloseHandle(AsInternet(RootHandle));
        RootHandle = nullptr;
        ForwardInt(Data, onError, ErrConnect);
        return;
    }
    // 6
    if (WinInet.FtpSetCurrentDirectoryA(AsInternet(ConnectionHandle), Directory.c_str())) {
        ForwardNull(Data, onOpen);
        return;
    }
    if (TimedOut())
        Stalled = true;
    CallEventInt(onError, ErrDirectory);
}

void TQorWinFTP::doRead(TData &Data, uint16_t)
{
    // 1
    TData target;
    ReadDataFirst(Data, Target, nullptr, target);
    Data = target;
    // 2
    std::string name = ReadString(Data, FileName, FFileName);
    // 3
    int64_t expected = RemoteSize(name);
    HINTERNET file = nullptr;
    if (!Stalled)
        file = WinInet.FtpOpenFileA(AsInternet(ConnectionHandle), name.c_str(), GENERIC_READ,
                                    FTP_TRANSFER_TYPE_BINARY, 0);
    if (!file) {
        ForwardInt(Data, onError, ErrRemoteFile);
        return;
    }
    // 4
    TWinStream *stream = nullptr;
    TWinFileStream *ownFile = nullptr;
    std::string path;
    if (DataKind(target) == dtStream) {
        stream = AsStream(target);
    } else {
        path = ToString(target);
        ownFile = OpenPartFile(path);
        stream = ownFile;
    }
    if (!stream) {
        WinInet.InternetCloseHandle(file);
        ForwardInt(Data, onError, ErrTransfer);
        return;
    }
    // 5
    int64_t received = 0;
    bool late = false;
    bool complete = ReceiveInto(
        file, *stream, [&] { CallEventInt(onProgress, static_cast<int32_t>(stream->Position())); }, received,
        late);
    // 6
    WinInet.InternetCloseHandle(file);
    if (late) {
        Stalled = true;
    } else if (complete) {
        // The final reply comes with the close: 226 (or 250) when the server
        // sent everything, 426 or 451 when it broke off. A reply still of the
        // 1xx kind means it could not be read; the size check then decides.
        if (ReplyCode(LastReply()) >= 400)
            complete = false;
        if (expected >= 0 && received != expected)
            complete = false;
    }
    // 7, 8
    if (ownFile)
        complete = FinishPartFile(ownFile, path, complete);
    if (complete)
        ForwardNull(Data, onRead);
    else
        ForwardInt(Data, onError, ErrTransfer);
}

void TQorWinFTP::doClose(TData &, uint16_t)
{
    // Handles are cleared once let go: WinINet hands the same values out again.
    WinInet.InternetCloseHandle(AsInternet(ConnectionHandle));
    ConnectionHandle = nullptr;
    WinInet.InternetCloseHandle(AsInternet(RootHandle));
    RootHandle = nullptr;
}

// The size the server gives for Name (SIZE, in binary mode, as the transfer
// will be), or -1 when it does not say. A transfer that ends with another
// count broke off even when the data connection closed as if it had finished.
int64_t TQorWinFTP::RemoteSize(const std::string &Name)
{
    if (!ConnectionHandle || Stalled || Name.find_first_of("\r\n") != std::string::npos)
        return -1;
    HINTERNET connection = AsInternet(ConnectionHandle);
    for (std::string command : {std::string("TYPE I"), "SIZE " + Name}) {
        if (!WinInet.FtpCommandA(connection, FALSE, FTP_TRANSFER_TYPE_BINARY, command.c_str(), 0, nullptr)) {
            if (TimedOut())
                Stalled = true;
            return -1;
        }
    }
    std::string reply = LastReply();
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
