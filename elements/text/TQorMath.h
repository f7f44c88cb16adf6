#pragma once
#include <cstdint>

#include "runtime/TPointLink.h"

// One arithmetic operation on two operands, raised on onResult and kept for the
// data output Result. The last result is FResult; the Op1 and Op2 properties
// are FOp1 and FOp2, beside their data inputs.
class TQorMath : public TElement {
public:
    uint8_t Error = 0;
    double FResult = 0.0;
    double Default = 0.0;
    double AngleFactor = 1.0;
    uint8_t OpType = 0; // chooses doAdd (0), doSub (1) or doDiv (3) when wiring; not read
    double FOp1 = 0.0;
    double FOp2 = 0.0;
    uint8_t ResultType = 0; // 0 rounded integers, 1 reals

    TPointLink onResult;
    TPointLink onError;

    TPointLink Op1;
    TPointLink Op2;

    void SetDefault(double Value);
    void SetAngleMode(uint8_t Mode);

    void doAdd(TData &Data, uint16_t Index);
    void doSub(TData &Data, uint16_t Index);
    void doDiv(TData &Data, uint16_t Index);
    void Result(TData &Data, uint16_t Index);

private:
    void RaiseResult();
};
