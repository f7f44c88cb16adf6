#include "TQorIf_else.h"

namespace {

unsigned char Folded(char C)
{
    unsigned char c = static_cast<unsigned char>(C);
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

// Applies the comparison of Type to an ordering (negative, zero, positive).
bool Holds(uint8_t Type, int Order)
{
    switch (Type) {
    case 0: return Order == 0;
    case 1: return Order < 0;
    case 2: return Order > 0;
    case 3: return Order <= 0;
    case 4: return Order >= 0;
    case 5: return Order != 0;
    default: return false;
    }
}

template <class T> int Order(T A, T B)
{
    return A < B ? -1 : (B < A ? 1 : 0);
}

} // namespace

int CompareFolded(const std::string &A, const std::string &B)
{
    const size_t n = A.size() < B.size() ? A.size() : B.size();
    for (size_t i = 0; i < n; ++i) {
        int d = Folded(A[i]) - Folded(B[i]);
        if (d != 0)
            return d;
    }
    // The end of the shorter one meets a byte of the longer one.
    if (A.size() == B.size())
        return 0;
    return A.size() < B.size() ? -1 : 1;
}

void TQorIf_else::doCompare(TData &Data, uint16_t)
{
    const TData kept = Data;

    TData a, b;
    ReadDataFirst(Data, Op1, &FOp1, a);
    ReadDataFirst(Data, Op2, &FOp2, b);

    bool result = false;
    switch (a.DataType) {
    case dtNull:
        result = b.DataType == dtNull;
        break;
    case dtInteger:
        result = Holds(Type, Order(a.IntValue, ToInteger(b)));
        break;
    case dtString:
        if (Type == 0)
            result = a.StrValue == ToString(b);
        else if (Type == 5)
            result = a.StrValue != ToString(b);
        else
            result = Holds(Type, CompareFolded(a.StrValue, ToString(b)));
        break;
    case dtReal:
        result = Holds(Type, Order(a.RealValue, ToReal(b)));
        break;
    default:
        result = false;
        break;
    }

    if (result)
        ForwardValue(Data, onTrue, kept);
    else
        ForwardValue(Data, onFalse, kept);
}
