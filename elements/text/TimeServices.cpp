#include "TimeServices.h"

#include "IssueTime.h"

namespace {
TClockProc gClock = PlatformLocalTime;
}

winlayer::TSystemTime LocalNow()
{
    return gClock();
}

double UtNow(int32_t BiasMinutes)
{
    return LocalToUt(winlayer::SystemTimeToDateTime(LocalNow()), BiasMinutes);
}

TClockProc SetClock(TClockProc Clock)
{
    TClockProc old = gClock;
    gClock = Clock ? Clock : PlatformLocalTime;
    return old;
}
