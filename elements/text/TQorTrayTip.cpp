#include "TQorTrayTip.h"

#include "IssueTime.h"

void TQorTrayTip::doHint(TData &Data, uint16_t)
{
    Base = ToString(Data);
    HasBase = 1;
    ForwardStr(Data, onHint, TipWithLine(Base, StaleLine, Stale));
}

void TQorTrayTip::doStale(TData &Data, uint16_t)
{
    const uint8_t stale = ToInteger(Data) != 0;
    if (stale == Stale)
        return;
    Stale = stale;
    if (HasBase)
        ForwardStr(Data, onHint, TipWithLine(Base, StaleLine, Stale));
}
