#include "TQorStrCat.h"

void TQorStrCat::doStrCat(TData &Data, uint16_t)
{
    const std::string first = ReadString(Data, Str1, FStr1);
    const std::string second = ReadString(Data, Str2, FStr2);
    FResult = first + second;
    if (MaxLength > 0 && FResult.size() > static_cast<size_t>(MaxLength))
        FResult.resize(static_cast<size_t>(MaxLength));
    ForwardStr(Data, onStrCat, FResult);
}

void TQorStrCat::Result(TData &Data, uint16_t)
{
    Data.dtString(FResult);
}
