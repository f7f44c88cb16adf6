#include "TQorKpFileCheck.h"

#include "KpFileCheck.h"
#include "winlayer/Files.h"

void TQorKpFileCheck::doCheck(TData &Data, uint16_t)
{
    const std::string name = ReadString(Data, FileName, FFileName);
    std::string bytes;
    const bool good = winlayer::ReadFileHead(name, KpFileLimit + 1, bytes) && LooksLikeKpFile(bytes);
    ForwardStr(Data, good ? onGood : onBad, name);
}
