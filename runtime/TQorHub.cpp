#include "TQorHub.h"

void TQorHub::SetOutCount(uint8_t Count)
{
    OutCount = Count;
    onEvent.resize(Count);
}

void TQorHub::doEvent(TData &Data, uint16_t)
{
    for (size_t i = 0; i < OutCount && i < onEvent.size(); ++i)
        CallEventCopy(onEvent[i], Data);
}
