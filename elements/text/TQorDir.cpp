#include "TQorDir.h"

#include "winlayer/Files.h"

void TQorDir::Dir(TData &Data, uint16_t)
{
    Data.dtString(winlayer::ModulePath());
}
