#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Joins two strings. The joined text is FResult, behind the data output
// Result; the Str1 and Str2 properties are FStr1 and FStr2, beside their inputs.
// MaxLength, when above 0, keeps only the first MaxLength characters of the
// joined text: a join that reads its own Result to put each new value in front
// then stays bounded without changing its beginning.
class TQorStrCat : public TElement {
public:
    std::string FResult;

    std::string FStr1;
    std::string FStr2;
    int32_t MaxLength = 0; // 0: no limit

    TPointLink Str2;
    TPointLink Str1;

    TPointLink onStrCat;

    void doStrCat(TData &Data, uint16_t Index);
    void Result(TData &Data, uint16_t Index);
};
