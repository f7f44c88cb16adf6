#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Replaces every occurrence of a substring. A wired Skip input is asked at each
// occurrence (its place in Position, counted from 1) and keeps it when it
// answers non-zero. The SubStr and Dest properties are FSubStr and FDest,
// beside their data inputs.
class TQorReplace : public TElement {
public:
    std::string Text;
    int32_t Position = 0;

    std::string FSubStr;
    std::string FDest;

    TPointLink Dest;
    TPointLink SubStr;
    TPointLink Str;
    TPointLink Skip;

    TPointLink onReplace;

    void doReplace(TData &Data, uint16_t Index);
};
