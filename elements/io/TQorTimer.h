#pragma once
#include <cstdint>

#include "runtime/TPointLink.h"

namespace winlayer {
class TWinTimer;
}

// Raises onTimer once per period while it runs, and stops itself after AutoStop
// ticks when AutoStop is set. Interval and Enable live in the window layer's
// timer object and are set through SetInterval and SetEnable.
class TQorTimer : public TElement {
public:
    TQorTimer();
    ~TQorTimer();
    TQorTimer(const TQorTimer &) = delete;
    TQorTimer &operator=(const TQorTimer &) = delete;

    int32_t Busy = 0;                    // ticks being handled or waiting
    winlayer::TWinTimer *Timer = nullptr; // owned
    int32_t Remaining = 0;               // ticks left before stopping itself; negative: no limit
    int32_t AutoStop = 0;
    uint8_t QueueTicks = 0;              // non-zero: a tick during a tick waits instead of being dropped
    TPointLink onTimer;
    TPointLink onStop;

    void doStart(TData &Data, uint16_t Index);
    void doStop(TData &Data, uint16_t Index);

    void SetInterval(int32_t Value);
    void SetEnable(bool Value);
    void SetAutoStop(int32_t Value);

    int32_t Interval() const;
    bool Enable() const;

private:
    static void Tick(void *Self, winlayer::TWinTimer *Sender);
    void Stop();
};
