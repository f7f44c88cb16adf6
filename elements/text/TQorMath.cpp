#include "TQorMath.h"

#include "winlayer/NumText.h"

using winlayer::RoundToInt;

void TQorMath::SetDefault(double Value)
{
    Default = Value;
    FResult = Value;
    Error = 0;
}

void TQorMath::SetAngleMode(uint8_t Mode)
{
    AngleFactor = Mode == 1 ? 3.14159265358979323846 / 180.0 : 1.0;
}

void TQorMath::RaiseResult()
{
    if (ResultType == 0)
        CallEventInt(onResult, RoundToInt(FResult));
    else
        CallEventReal(onResult, FResult);
}

void TQorMath::doAdd(TData &Data, uint16_t)
{
    const double a = ReadReal(Data, Op1, FOp1);
    const double b = ReadReal(Data, Op2, FOp2);
    FResult = a + b;
    Error = 0;
    RaiseResult();
}

void TQorMath::doSub(TData &Data, uint16_t)
{
    const double a = ReadReal(Data, Op1, FOp1);
    const double b = ReadReal(Data, Op2, FOp2);
    FResult = a - b;
    Error = 0;
    RaiseResult();
}

void TQorMath::doDiv(TData &Data, uint16_t)
{
    const double a = ReadReal(Data, Op1, FOp1);
    const double b = ReadReal(Data, Op2, FOp2);
    if (b == 0.0) {
        Error = 1;
        FResult = Default;
        CallEventNull(onError);
        return;
    }
    FResult = a / b;
    Error = 0;
    RaiseResult();
}

void TQorMath::Result(TData &Data, uint16_t)
{
    if (Error == 1)
        Data.dtNull();
    else if (ResultType == 0)
        Data.dtInteger(RoundToInt(FResult));
    else
        Data.dtReal(FResult);
}
