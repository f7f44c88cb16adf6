#include "winlayer/WinTimer.h"

#include <algorithm>
#include <vector>

#include "winlayer/WinControl.h"

namespace winlayer {

namespace {

// The hidden window all timers tick through, and every timer object alive. A
// tick is handed only to a timer in this list: a WM_TIMER already queued when
// its timer was stopped or freed stays in the queue (KillTimer leaves it there).
TWinControl *gWindow = nullptr;
std::vector<TWinTimer *> gTimers;

int32_t ValidPeriod(int32_t period)
{
    return period <= 0 ? 1000 : period;
}

TWinControl *EnsureTimerWindow()
{
    if (!gWindow) {
        gWindow = NewObject<TWinControl>(nullptr, "");
        gWindow->Icon = NoIcon();
    }
    gWindow->EnsureWindow();
    return gWindow;
}

} // namespace

TWinTimer::TWinTimer(int32_t period) : FPeriod(ValidPeriod(period))
{
    gTimers.push_back(this);
}

TWinTimer::~TWinTimer()
{
    SetEnabled(false);
    gTimers.erase(std::remove(gTimers.begin(), gTimers.end(), this), gTimers.end());
    if (gTimers.empty() && gWindow) {
        TWinControl *window = gWindow;
        gWindow = nullptr;
        window->Free();
    }
}

TWinControl *TWinTimer::Window()
{
    return gWindow;
}

void TWinTimer::SetPeriod(int32_t period)
{
    period = ValidPeriod(period);
    if (period == FPeriod)
        return;
    FPeriod = period;
    if (FEnabled) {
        Stop();
        Start();
    }
}

void TWinTimer::SetEnabled(bool enabled)
{
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    if (enabled)
        Start();
    else
        Stop();
}

void TWinTimer::Start()
{
    TWinControl *window = EnsureTimerWindow();
    if (window->Handle)
        FTimerId = SetTimer(window->Handle, Id(), static_cast<UINT>(FPeriod), &TimerProc);
}

void TWinTimer::Stop()
{
    if (FTimerId && gWindow && gWindow->Handle)
        KillTimer(gWindow->Handle, FTimerId);
    FTimerId = 0;
}

void CALLBACK TWinTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto *timer = reinterpret_cast<TWinTimer *>(id);
    if (std::find(gTimers.begin(), gTimers.end(), timer) == gTimers.end() || !timer->FEnabled)
        return;
    // Held across the handler, which may free the timer.
    timer->AddRef();
    if (timer->OnTimer)
        timer->OnTimer(timer);
    timer->Release();
}

} // namespace winlayer
