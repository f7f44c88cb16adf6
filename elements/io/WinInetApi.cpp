#include "WinInetApi.h"

#include <process.h>

#include <utility>

#include "elements/text/DgdFileCheck.h"
#include "winlayer/WinApp.h"

namespace {

const TWinInetApi Real = {
    ::InternetOpenA,
    ::InternetSetOptionA,
    ::InternetConnectA,
    ::FtpSetCurrentDirectoryA,
    ::FtpCommandA,
    ::InternetGetLastResponseInfoA,
    ::FtpOpenFileA,
    ::InternetReadFile,
    ::InternetCloseHandle,
    ::InternetOpenUrlA,
    ::HttpQueryInfoA,
};

volatile LONG Workers = 0;

// One call on a worker, shared by the waiting thread and the worker; the last
// of the two to let go frees it. The threads are the system's own (no
// std::thread): the C++ thread library would bring in a POSIX thread layer of
// some 40 KB for this.
struct Pending {
    HANDLE Finished = nullptr; // set by the worker when Call has returned
    LONG Holders = 2;
    LONG State = 0; // Running, Done or Abandoned
    std::function<void()> Call;
    std::function<void()> Late;

    enum : LONG { Running = 0, Done = 1, Abandoned = 2 };

    void Release()
    {
        if (InterlockedDecrement(&Holders) == 0) {
            CloseHandle(Finished);
            delete this;
        }
    }
};

unsigned __stdcall Worker(void *Data)
{
    auto *pending = static_cast<Pending *>(Data);
    pending->Call();
    const LONG before = InterlockedCompareExchange(&pending->State, Pending::Done, Pending::Running);
    // A worker in time is done with its work here and counts no more, so that
    // the next step finds its place free; one left alone still has to let go.
    if (before == Pending::Abandoned && pending->Late)
        pending->Late();
    InterlockedDecrement(&Workers);
    SetEvent(pending->Finished);
    pending->Release();
    return 0;
}

} // namespace

TWinInetApi WinInet = Real;

const TWinInetApi &RealWinInet()
{
    return Real;
}

TCallEnd RunBounded(uint32_t Ms, std::function<void()> Call, std::function<void()> Late, std::atomic<bool> *Gone)
{
    if (winlayer::LoopTerminated)
        return TCallEnd::NoWorker;
    if (InterlockedIncrement(&Workers) > MaxWorkers) {
        InterlockedDecrement(&Workers);
        return TCallEnd::NoWorker;
    }
    auto *pending = new Pending;
    pending->Call = std::move(Call);
    pending->Late = std::move(Late);
    pending->Finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const uintptr_t thread =
        pending->Finished ? _beginthreadex(nullptr, 0, &Worker, pending, 0, nullptr) : 0;
    if (!thread) {
        if (pending->Finished)
            CloseHandle(pending->Finished);
        delete pending;
        InterlockedDecrement(&Workers);
        return TCallEnd::NoWorker;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    const winlayer::TWaitEnd waited = winlayer::WaitPumping(pending->Finished, Ms);
    TCallEnd end = TCallEnd::Done;
    // The worker may finish right now: whoever changes the state first decides.
    if (waited != winlayer::TWaitEnd::Done &&
        InterlockedCompareExchange(&pending->State, Pending::Abandoned, Pending::Running) == Pending::Running) {
        end = waited == winlayer::TWaitEnd::Quit ? TCallEnd::Closing : TCallEnd::Late;
        if (Gone)
            Gone->store(true);
    }
    pending->Release();
    return end;
}

long LiveWorkers()
{
    return InterlockedCompareExchange(&Workers, 0, 0);
}

uint32_t TimeLeft(uint32_t Start, uint32_t Deadline)
{
    const uint32_t passed = GetTickCount() - Start;
    return passed < Deadline ? Deadline - passed : 0;
}

void SetInternetTimeouts(HINTERNET Root, uint32_t Ms)
{
    static const DWORD Options[] = {
        INTERNET_OPTION_CONNECT_TIMEOUT,   INTERNET_OPTION_SEND_TIMEOUT,
        INTERNET_OPTION_RECEIVE_TIMEOUT,   INTERNET_OPTION_DATA_SEND_TIMEOUT,
        INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
    };
    for (DWORD option : Options) {
        DWORD ms = Ms > 0 ? Ms : 1;
        WinInet.InternetSetOptionA(Root, option, &ms, sizeof ms);
    }
}

void ReceiveAll(const TWinInetApi &Api, HINTERNET File, TReceived &Into, const std::atomic<bool> &Gone)
{
    constexpr DWORD ChunkSize = 0x1000;
    char chunk[ChunkSize];
    while (!Gone.load()) {
        DWORD count = ChunkSize;
        if (!Api.InternetReadFile(File, chunk, ChunkSize, &count))
            return;
        if (count > ChunkSize)
            count = 0;
        Into.Chunks.push_back(count);
        Into.Bytes.append(chunk, count);
        if (count == 0) {
            Into.Complete = true;
            return;
        }
        if (Into.Bytes.size() > DgdFileMaxBytes) {
            Into.TooLong = true;
            return;
        }
    }
}

bool ReplaceFile(const std::string &Path, const std::string &Bytes)
{
    if (Path.empty())
        return false;
    const std::string part = Path + ".part";
    HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = Bytes.empty() ||
              (WriteFile(file, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr) &&
               written == Bytes.size());
    ok = FlushFileBuffers(file) && ok;
    CloseHandle(file);
    if (ok && MoveFileExA(part.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(part.c_str());
    return false;
}
