#include "TQorIf_else.h"

#include <optional>
#include <utility>

namespace {

unsigned char Folded(char C)
{
    unsigned char c = static_cast<unsigned char>(C);
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

// Applies the comparison of Type to an ordering (negative, zero, positive).
inline bool Holds(uint8_t Type, int Order)
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

// The incoming record as the two operand reads see it. A single value (no
// chain) is not copied: the first read that takes it looks at it in place, and
// a second one finds nothing, exactly as if it had been consumed.
struct Incoming {
    TData &Data;
    bool Single;
    bool Taken;
};

const TData NoValue;

// ReadDataFirst without copying what is only looked at: the wired input's
// answer (in Scratch), else the property itself when it is set, else the first
// incoming value.
inline const TData &ReadOperand(Incoming &In, const TPointLink &Link, const TData &Default, std::optional<TData> &Scratch)
{
    if (Link.Wired()) {
        ReadRaw(Scratch.emplace(), Link);
        if (Scratch->DataType != dtNoLink) {
            Scratch->NextData = nullptr;
            return *Scratch;
        }
    }
    if (Default.DataType != dtNull)
        return Default;
    if (In.Single) {
        if (In.Taken)
            return NoValue;
        In.Taken = true;
        return In.Data;
    }
    if (Scratch)
        *Scratch = In.Data;
    else
        Scratch.emplace(In.Data);
    Scratch->NextData = nullptr;
    ConsumeData(In.Data);
    return *Scratch;
}

// ToString, without a copy when the value is a string already (nor for the
// single digits the schemes compare with).
const std::string Digits[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

inline const std::string &TextOf(const TData &Value, std::string &Scratch)
{
    if (Value.DataType == dtString)
        return Value.StrValue;
    if (Value.DataType == dtInteger && Value.IntValue >= 0 && Value.IntValue <= 9)
        return Digits[Value.IntValue];
    Scratch = ToString(Value);
    return Scratch;
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
    // The incoming value goes on as it came: only a chain is copied, since a
    // read that takes its first value moves the next one up.
    const bool single = Data.NextData == nullptr;
    std::optional<TData> kept;
    if (!single)
        kept.emplace(Data);

    Incoming in{Data, single, false};
    std::optional<TData> readA, readB;
    const TData &a = ReadOperand(in, Op1, FOp1, readA);
    const TData &b = ReadOperand(in, Op2, FOp2, readB);

    bool result = false;
    std::string text;
    switch (a.DataType) {
    case dtNull:
        result = b.DataType == dtNull;
        break;
    case dtInteger:
        result = Holds(Type, Order(a.IntValue, ToInteger(b)));
        break;
    case dtString:
        if (Type == 0)
            result = a.StrValue == TextOf(b, text);
        else if (Type == 5)
            result = a.StrValue != TextOf(b, text);
        else
            result = Holds(Type, CompareFolded(a.StrValue, TextOf(b, text)));
        break;
    case dtReal:
        result = Holds(Type, Order(a.RealValue, ToReal(b)));
        break;
    default:
        result = false;
        break;
    }

    if (!single)
        Data = std::move(*kept);
    ForwardSame(Data, result ? onTrue : onFalse);
}
