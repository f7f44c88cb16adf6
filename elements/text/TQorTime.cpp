#include "TQorTime.h"

#include "TimeServices.h"

void TQorTime::Now(TData &Data, uint16_t)
{
    Data.dtReal(winlayer::SystemTimeToDateTime(LocalNow()));
}

void TQorTime::Part(TData &Data, uint16_t)
{
    const winlayer::TSystemTime now = LocalNow();
    Data.dtInteger(PartSel == 0 ? now.Hour : now.Year);
}
