#include "TQorStormAlert.h"

void TQorStormAlert::doStorm(TData &Data, uint16_t)
{
    if (InStorm)
        return;
    InStorm = 1;
    ForwardStr(Data, onAlert, Text + ToString(Data));
}

void TQorStormAlert::doCalm(TData &, uint16_t)
{
    InStorm = 0;
}
