#include "TQorTimer.h"

#include "winlayer/WinTimer.h"

using winlayer::NewObject;
using winlayer::TWinTimer;

TQorTimer::TQorTimer()
{
    Timer = NewObject<TWinTimer>(1000);
    Timer->OnTimer = {&TQorTimer::Tick, this};
}

TQorTimer::~TQorTimer()
{
    Timer->OnTimer = {};
    Timer->Free();
}

void TQorTimer::doStart(TData &, uint16_t)
{
    Remaining = AutoStop;
    Timer->SetEnabled(true);
}

void TQorTimer::doStop(TData &, uint16_t)
{
    Stop();
}

void TQorTimer::SetInterval(int32_t Value)
{
    Timer->SetPeriod(Value);
}

void TQorTimer::SetEnable(bool Value)
{
    Timer->SetEnabled(Value);
}

void TQorTimer::SetAutoStop(int32_t Value)
{
    AutoStop = Value;
    Remaining = Value;
}

int32_t TQorTimer::Interval() const
{
    return Timer->Period();
}

bool TQorTimer::Enable() const
{
    return Timer->Enabled();
}

void TQorTimer::Stop()
{
    Timer->SetEnabled(false);
    CallEventNull(onStop);
}

void TQorTimer::Tick(void *Self, TWinTimer *)
{
    TQorTimer *self = static_cast<TQorTimer *>(Self);
    // 1
    ++self->Busy;
    // 2
    if (self->Busy > 1) {
        if (self->QueueTicks == 0)
            --self->Busy;
        return;
    }
    // 3
    for (;;) {
        if (self->Remaining >= 0)
            --self->Remaining;
        bool last = self->Remaining == 0;
        CallEventNull(self->onTimer);
        if (last) {
            self->Busy = 0;
            self->Stop();
        }
        if (self->Busy > 0)
            --self->Busy;
        if (self->Busy == 0)
            return;
    }
}
