#include "TQorArrayEnum.h"

void TQorArrayEnum::doEnum(TData &Data, uint16_t)
{
    Stop = 0;
    TArrayRec *arr = ReadArray(Array);
    if (!arr)
        return;

    int32_t index = 0;
    int32_t step = 1;
    if (Reverse == 1) {
        index = arr->ArrayCountProc.Code ? arr->ArrayCountProc.Code(arr->ArrayCountProc.Self) - 1 : -1;
        step = -1;
    }
    IndexValue.dtInteger(index);

    while (arr->ArrayGetProc.Code && arr->ArrayGetProc.Code(arr->ArrayGetProc.Self, IndexValue, Item)) {
        CallEventCopy(onItem, Item);
        if (Stop)
            break;
        index += step;
        IndexValue.dtInteger(index);
    }

    if (Stop && BreakEvent == 1)
        ForwardNull(Data, onBreak);
    else
        ForwardNull(Data, onEndEnum);
}

void TQorArrayEnum::doStop(TData &, uint16_t)
{
    Stop = 1;
}

void TQorArrayEnum::Index(TData &Data, uint16_t)
{
    CopyValue(Data, IndexValue);
}
