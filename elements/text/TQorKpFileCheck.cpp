#include "TQorKpFileCheck.h"

#include "DgdFileCheck.h"
#include "winlayer/Files.h"

void TQorKpFileCheck::doCheck(TData &Data, uint16_t)
{
    const std::string name = ReadString(Data, FileName, FFileName);
    std::string bytes;
    const bool good = winlayer::ReadFileHead(name, DgdFileMaxBytes + 1, bytes) && IsDgdFile(bytes);
    ForwardStr(Data, good ? onGood : onBad, name);
}
