#include "TQorWebFile.h"

#include <atomic>
#include <cstdint>
#include <memory>

#include "WinInetApi.h"
#include "elements/text/DgdFileCheck.h"
#include "elements/text/KpForecast.h"
#include "elements/text/TimeServices.h"

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

// The HTTP status of the answer, or 0 when it cannot be read.
DWORD Status(const TWinInetApi &Api, HINTERNET File)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!Api.HttpQueryInfoA(File, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return 0;
    return status;
}

// The Content-Length of the answer, or -1 when the server did not send one (or
// sent something that is no length).
int64_t ContentLength(const TWinInetApi &Api, HINTERNET File)
{
    char text[32];
    DWORD size = sizeof text;
    if (!Api.HttpQueryInfoA(File, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr) || size >= sizeof text)
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

// What the worker of doRead shares with the window thread, which reads the
// plain fields only after the worker returned in time.
struct TWebJob {
    HINTERNET Root = nullptr;
    std::string Url;
    DWORD Flags = 0;
    DWORD Status = 0;
    int64_t Expected = -1;
    TReceived Got;
    std::atomic<bool> Opened{false};
    std::atomic<bool> Gone{false};
};

} // namespace

// The local clock stands in for UT: the forecast's check needs the time only to
// pick the year of a header that names none, and a day either way keeps it.
bool TQorWebFile::Fits(const std::string &Bytes) const
{
    if (Check == 1)
        return IsKpForecastFile(Bytes, winlayer::SystemTimeToDateTime(LocalNow()));
    return IsDgdFile(Bytes);
}

void TQorWebFile::doRead(TData &Data, uint16_t)
{
    // 1
    const std::string path = ReadString(Data, Target, "");
    const uint32_t started = GetTickCount();
    // 2
    HINTERNET root = WinInet.InternetOpenA(Agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!root) {
        ForwardInt(Data, onError, ErrInternet);
        return;
    }
    SetInternetTimeouts(root, Deadline);
    // 3 to 7 on a worker, the request, the answer and the body.
    auto job = std::make_shared<TWebJob>();
    job->Root = root;
    job->Url = URL;
    const bool secure = StartsWithNoCase(URL, "https://");
    job->Flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    if (secure)
        job->Flags |= INTERNET_FLAG_SECURE;
    TCallEnd end = TCallEnd::NoWorker;
    if (secure || StartsWithNoCase(URL, "http://")) {
        const TWinInetApi api = WinInet;
        end = RunBounded(
            TimeLeft(started, Deadline),
            [api, job] {
                TWebJob &j = *job;
                HINTERNET file = api.InternetOpenUrlA(j.Root, j.Url.c_str(), nullptr, 0, j.Flags, 0);
                if (!file)
                    return;
                j.Opened = true;
                j.Status = Status(api, file);
                if (j.Status == 200) {
                    j.Expected = ContentLength(api, file);
                    ReceiveAll(api, file, j.Got, j.Gone);
                }
                api.InternetCloseHandle(file);
            },
            [api, job] { api.InternetCloseHandle(job->Root); }, &job->Gone);
    }
    if (end == TCallEnd::Late || end == TCallEnd::Closing) {
        // The worker lets the root handle go.
        ForwardInt(Data, onError, job->Opened ? ErrTransfer : ErrRemoteFile);
        return;
    }
    WinInet.InternetCloseHandle(root);
    if (end != TCallEnd::Done || !job->Opened || job->Status != 200) {
        ForwardInt(Data, onError, ErrRemoteFile);
        return;
    }
    // 8
    const TReceived &got = job->Got;
    int64_t stored = 0;
    for (uint32_t count : got.Chunks) {
        stored += count;
        CallEventInt(onProgress, static_cast<int32_t>(stored));
    }
    int32_t error = 0;
    if (!got.Complete)
        error = got.TooLong ? ErrContent : ErrTransfer;
    else if (job->Expected >= 0 && static_cast<int64_t>(got.Bytes.size()) != job->Expected)
        error = ErrTransfer;
    else if (!Fits(got.Bytes))
        error = ErrContent;
    else if (!ReplaceFile(path, got.Bytes))
        error = ErrTransfer;
    if (error)
        ForwardInt(Data, onError, error);
    else
        ForwardNull(Data, onRead);
}
