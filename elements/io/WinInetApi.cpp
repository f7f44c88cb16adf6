#include "WinInetApi.h"

#include <process.h>

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

bool ReceiveInto(HINTERNET File, winlayer::TWinStream &Stream, const std::function<void()> &Progress,
                 int64_t &Received, bool &Late)
{
    constexpr DWORD ChunkSize = 0x1000;
    struct Chunk {
        char Bytes[ChunkSize];
        DWORD Count = ChunkSize;
        BOOL Ok = FALSE;
    };
    const TWinInetApi api = WinInet;
    Received = 0;
    Late = false;
    for (;;) {
        auto chunk = std::make_shared<Chunk>();
        Late = !RunWithin(
            api.TimeoutMs, [=] { chunk->Ok = api.InternetReadFile(File, chunk->Bytes, ChunkSize, &chunk->Count); },
            nullptr);
        if (Late || !chunk->Ok)
            return false;
        if (chunk->Count > ChunkSize)
            chunk->Count = 0;
        if (chunk->Count >= 1) {
            if (Stream.Write(chunk->Bytes, chunk->Count) != chunk->Count)
                return false;
            Received += chunk->Count;
        }
        if (Progress)
            Progress();
        if (chunk->Count == 0)
            return true;
    }
}

winlayer::TWinFileStream *OpenPartFile(const std::string &Path)
{
    if (Path.empty())
        return nullptr;
    const std::string part = Path + ".part";
    DeleteFileA(part.c_str());
    winlayer::TWinFileStream *stream = winlayer::TWinFileStream::Create(part);
    if (stream)
        stream->SetSize(0);
    return stream;
}

bool FinishPartFile(winlayer::TWinFileStream *Part, const std::string &Path, bool Complete)
{
    Part->Free();
    const std::string part = Path + ".part";
    if (Complete && !MoveFileExA(part.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING))
        Complete = false;
    if (!Complete)
        DeleteFileA(part.c_str());
    return Complete;
}
