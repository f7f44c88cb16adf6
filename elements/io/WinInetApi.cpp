#include "WinInetApi.h"

#include <process.h>

#include <cstring>
#include <memory>
#include <utility>

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
    30000,
};

// One call on a helper thread, shared by the waiting thread and the helper;
// the last of the two to let go frees it. The threads are the system's own
// (no std::thread): the C++ thread library would bring in a POSIX thread layer
// of some 40 KB for this one wait.
struct Pending {
    HANDLE Finished = nullptr; // set by the helper when Call has returned
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

unsigned __stdcall Helper(void *Data)
{
    auto *pending = static_cast<Pending *>(Data);
    pending->Call();
    const LONG before = InterlockedCompareExchange(&pending->State, Pending::Done, Pending::Running);
    SetEvent(pending->Finished);
    if (before == Pending::Abandoned && pending->Late)
        pending->Late();
    pending->Release();
    return 0;
}

} // namespace

TWinInetApi WinInet = Real;

const TWinInetApi &RealWinInet()
{
    return Real;
}

bool RunWithin(uint32_t Ms, std::function<void()> Call, std::function<void()> Late)
{
    auto *pending = new Pending;
    pending->Call = std::move(Call);
    pending->Late = std::move(Late);
    pending->Finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const uintptr_t thread =
        pending->Finished ? _beginthreadex(nullptr, 0, &Helper, pending, 0, nullptr) : 0;
    if (!thread) {
        // No thread to spare: wait as long as the call takes.
        pending->Call();
        if (pending->Finished)
            CloseHandle(pending->Finished);
        delete pending;
        return true;
    }
    CloseHandle(reinterpret_cast<HANDLE>(thread));
    bool inTime = WaitForSingleObject(pending->Finished, Ms) == WAIT_OBJECT_0;
    // The helper may finish right now: whoever changes the state first decides.
    if (!inTime)
        inTime = InterlockedCompareExchange(&pending->State, Pending::Abandoned, Pending::Running) ==
                 Pending::Done;
    pending->Release();
    return inTime;
}

void SetInternetTimeouts(HINTERNET Root)
{
    static const DWORD Options[] = {
        INTERNET_OPTION_CONNECT_TIMEOUT,   INTERNET_OPTION_SEND_TIMEOUT,
        INTERNET_OPTION_RECEIVE_TIMEOUT,   INTERNET_OPTION_DATA_SEND_TIMEOUT,
        INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
    };
    for (DWORD option : Options) {
        DWORD ms = WinInet.TimeoutMs;
        WinInet.InternetSetOptionA(Root, option, &ms, sizeof ms);
    }
}

bool ReadChunkWithin(HINTERNET File, TInternetChunk &Into, bool &Late)
{
    struct Read {
        TInternetChunk Chunk;
        BOOL Ok = FALSE;
    };
    const TWinInetApi api = WinInet;
    auto read = std::make_shared<Read>();
    Late = !RunWithin(
        api.TimeoutMs,
        [=] { read->Ok = api.InternetReadFile(File, read->Chunk.Bytes, TInternetChunk::Size, &read->Chunk.Count); },
        nullptr);
    if (Late || !read->Ok)
        return false;
    Into.Count = read->Chunk.Count;
    if (Into.Count > TInternetChunk::Size)
        Into.Count = 0;
    memcpy(Into.Bytes, read->Chunk.Bytes, Into.Count);
    return true;
}
