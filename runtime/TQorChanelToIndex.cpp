#include "TQorChanelToIndex.h"

void TQorChanelToIndex::doWork(TData &Data, uint16_t Index)
{
    ForwardInt(Data, onIndex, Index);
}
