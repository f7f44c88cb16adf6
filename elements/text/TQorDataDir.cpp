#include "TQorDataDir.h"

#include "winlayer/Files.h"

void TQorDataDir::Dir(TData &Data, uint16_t)
{
    if (!Decided) {
        TData none;
        Chosen = winlayer::DataFolder(ReadString(none, Folder, ""), FileName, winlayer::LocalDataFolder(SubFolder));
        Decided = true;
    }
    Data.dtString(Chosen);
}
