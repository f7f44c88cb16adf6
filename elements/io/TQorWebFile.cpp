#include "TQorWebFile.h"

#include <cstdint>
#include <memory>

#include "WinInetApi.h"
#include "winlayer/WinFileStream.h"

using winlayer::TWinFileStream;

namespace {

bool StartsWithNoCase(const std::string &Text, const char *Prefix)
{
    size_t i = 0;
    for (; Prefix[i]; ++i) {
        if (i >= Text.size())
            return false;
        char c = Text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != Prefix[i])
            return false;
    }
    return true;
}

// InternetOpenUrlA with the whole wait (connect, request, the answer's header)
// bounded: Wine leaves a connect to a host that does not answer to the system,
// and a server that takes the request and says nothing would hold us for ever.
HINTERNET OpenUrl(HINTERNET Root, const std::string &Url, DWORD Flags)
{
    const TWinInetApi api = WinInet;
    auto result = std::make_shared<HINTERNET>(nullptr);
    bool inTime = RunWithin(
        api.TimeoutMs, [=] { *result = api.InternetOpenUrlA(Root, Url.c_str(), nullptr, 0, Flags, 0); },
        [=] {
            if (*result)
                api.InternetCloseHandle(*result);
        });
    return inTime ? *result : nullptr;
}

// The HTTP status of the answer, or 0 when it cannot be read.
DWORD Status(HINTERNET File)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinInet.HttpQueryInfoA(File, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return 0;
    return status;
}

// The Content-Length of the answer, or -1 when the server did not send one (or
// sent something that is no length).
int64_t ContentLength(HINTERNET File)
{
    char text[32];
    DWORD size = sizeof text;
    if (!WinInet.HttpQueryInfoA(File, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr) || size >= sizeof text)
        return -1;
    int64_t length = 0;
    DWORD i = 0;
    for (; i < size && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (length > (INT64_MAX - 9) / 10)
            return -1;
        length = length * 10 + (text[i] - '0');
    }
    return i > 0 && i == size ? length : -1;
}

} // namespace

void TQorWebFile::doRead(TData &Data, uint16_t)
{
    // 1
    const std::string path = ReadString(Data, Target, "");
    // 2
    HINTERNET root = WinInet.InternetOpenA("Qor WinFTP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!root) {
        ForwardInt(Data, onError, ErrInternet);
        return;
    }
    SetInternetTimeouts(root);
    // 3
    const bool secure = StartsWithNoCase(URL, "https://");
    HINTERNET file = nullptr;
    if (secure || StartsWithNoCase(URL, "http://")) {
        DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
        if (secure)
            flags |= INTERNET_FLAG_SECURE;
        file = OpenUrl(root, URL, flags);
    }
    if (!file) {
        WinInet.InternetCloseHandle(root);
        ForwardInt(Data, onError, ErrRemoteFile);
        return;
    }
    // 4
    if (Status(file) != 200) {
        WinInet.InternetCloseHandle(file);
        WinInet.InternetCloseHandle(root);
        ForwardInt(Data, onError, ErrRemoteFile);
        return;
    }
    const int64_t expected = ContentLength(file);
    // 5
    TWinFileStream *stream = OpenPartFile(path);
    if (!stream) {
        WinInet.InternetCloseHandle(file);
        WinInet.InternetCloseHandle(root);
        ForwardInt(Data, onError, ErrTransfer);
        return;
    }
    // 6
    int64_t received = 0;
    bool late = false;
    bool complete = ReceiveInto(
        file, *stream, [&] { CallEventInt(onProgress, static_cast<int32_t>(stream->Position())); }, received,
        late);
    if (expected >= 0 && received != expected)
        complete = false;
    // 7
    WinInet.InternetCloseHandle(file);
    WinInet.InternetCloseHandle(root);
    // 8
    if (FinishPartFile(stream, path, complete))
        ForwardNull(Data, onRead);
    else
        ForwardInt(Data, onError, ErrTransfer);
}
