#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Compares two operands and passes the incoming value on to onTrue or onFalse.
// The Op1 and Op2 properties are FOp1 and FOp2, beside their data inputs.
class TQorIf_else : public TElement {
public:
    uint8_t Type = 0; // 0 "=", 1 "<", 2 ">", 3 "<=", 4 ">=", 5 "<>"
    TData FOp1;
    TData FOp2;

    TPointLink Op2;
    TPointLink Op1;

    TPointLink onTrue;
    TPointLink onFalse;

    void doCompare(TData &Data, uint16_t Index);
};

// Byte-wise comparison with only the ASCII letters a to z folded to upper case:
// negative, zero or positive; a string that is a prefix of the other is smaller.
int CompareFolded(const std::string &A, const std::string &B);
