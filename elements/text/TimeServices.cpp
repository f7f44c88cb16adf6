#include "TimeServices.h"

namespace {
TClockProc gClock = PlatformLocalTime;
}

winlayer::TSystemTime LocalNow()
{
    return gClock();
}

TClockProc SetClock(TClockProc Clock)
{
    TClockProc old = gClock;
    gClock = Clock ? Clock : PlatformLocalTime;
    return old;
}
