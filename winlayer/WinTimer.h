#pragma once
#include <windows.h>

#include <cstdint>

#include "winlayer/Callback.h"
#include "winlayer/WinObject.h"

namespace winlayer {

class TWinTimer;
class TWinControl;

using TTimerEvent = TCallback<void(TWinTimer *sender)>;

// A periodic tick on the window thread. Every timer object ticks through one
// hidden window of the layer, made when the first timer starts and freed with
// the last timer object; the system timer's identifier is the object itself.
class TWinTimer : public TWinObject {
public:
    // A period of 0 or less becomes 1000 ms. The timer starts stopped.
    explicit TWinTimer(int32_t period);

    int32_t Period() const { return FPeriod; }
    // A new period restarts a running timer; the same period changes nothing.
    void SetPeriod(int32_t period);
    bool Enabled() const { return FEnabled; }
    // Starts or stops the system timer; the state it already has changes nothing.
    void SetEnabled(bool enabled);

    TTimerEvent OnTimer;

    // The identifier SetTimer is given for this timer.
    UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(this); }
    // The hidden window the ticks come through; nullptr until a timer has started.
    static TWinControl *Window();
    // The procedure the system calls for every tick (WM_TIMER on the hidden window).
    static void CALLBACK TimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

protected:
    ~TWinTimer() override;

private:
    void Start();
    void Stop();

    int32_t FPeriod;
    bool FEnabled = false;
    UINT_PTR FTimerId = 0; // what SetTimer returned, 0 while stopped
};

} // namespace winlayer
