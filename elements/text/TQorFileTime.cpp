#include "TQorFileTime.h"

#include "IssueTime.h"
#include "winlayer/Files.h"

void TQorFileTime::DateTime(TData &Data, uint16_t)
{
    TData none;
    const std::string name = ReadString(none, FileName, std::string());
    double utc = 0.0;
    if (winlayer::FileWriteTimeUtc(name, utc))
        Data.dtReal(UtToLocal(utc, ReadIntegerLink(Bias)));
    else
        Data.dtNull();
}
