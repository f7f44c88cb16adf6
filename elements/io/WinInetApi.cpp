#include "WinInetApi.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

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
    30000,
};

struct Pending {
    std::mutex Lock;
    std::condition_variable Finished;
    bool Done = false;
    bool Abandoned = false;
    std::function<void()> Call;
    std::function<void()> Late;
};

} // namespace

TWinInetApi WinInet = Real;

const TWinInetApi &RealWinInet()
{
    return Real;
}

bool RunWithin(uint32_t Ms, std::function<void()> Call, std::function<void()> Late)
{
    auto pending = std::make_shared<Pending>();
    pending->Call = std::move(Call);
    pending->Late = std::move(Late);
    try {
        std::thread([pending] {
            pending->Call();
            bool late;
            {
                std::lock_guard<std::mutex> hold(pending->Lock);
                pending->Done = true;
                late = pending->Abandoned;
            }
            pending->Finished.notify_all();
            if (late && pending->Late)
                pending->Late();
        }).detach();
    } catch (const std::system_error &) {
        // No thread to spare: wait as long as the call takes.
        pending->Call();
        return true;
    }
    std::unique_lock<std::mutex> hold(pending->Lock);
    if (pending->Finished.wait_for(hold, std::chrono::milliseconds(Ms), [&] { return pending->Done; }))
        return true;
    pending->Abandoned = true;
    return false;
}
