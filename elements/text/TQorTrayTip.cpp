#include "TQorTrayTip.h"

#include "IssueTime.h"

void TQorTrayTip::doHint(TData &Data, uint16_t)
{
    Base = ToString(Data);
    HasBase = 1;
    Tell(Data);
}

void TQorTrayTip::doStale(TData &Data, uint16_t)
{
    const uint8_t stale = ToInteger(Data) != 0;
    if (stale == Stale)
        return;
    Stale = stale;
    Tell(Data);
}

void TQorTrayTip::doForecast(TData &Data, uint16_t)
{
    std::string line = ToString(Data);
    if (line == ForecastLine)
        return;
    ForecastLine = std::move(line);
    Tell(Data);
}

void TQorTrayTip::Tell(TData &Data)
{
    if (HasBase)
        ForwardStr(Data, onHint, TipWithLines(Base, {Stale ? StaleLine : std::string(), ForecastLine}));
}
