#pragma once
#include <string>

#include "runtime/TPointLink.h"

// Joins two strings. The joined text is FResult, behind the data output
// Result; the Str1 and Str2 properties are FStr1 and FStr2, beside their inputs.
class TQorStrCat : public TElement {
public:
    std::string FResult;

    std::string FStr1;
    std::string FStr2;

    TPointLink Str2;
    TPointLink Str1;

    TPointLink onStrCat;

    void doStrCat(TData &Data, uint16_t Index);
    void Result(TData &Data, uint16_t Index);
};
