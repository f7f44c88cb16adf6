#include "TQorStrList.h"

#include "winlayer/Files.h"
#include "winlayer/WinStrList.h"

using winlayer::TWinStrList;

TQorStrList::TQorStrList() : Lines(winlayer::NewObject<TWinStrList>()) {}

TQorStrList::~TQorStrList()
{
    Lines->Free();
    if (ArrayRec)
        FreeArrayRec(ArrayRec);
}

void TQorStrList::SetStrings(const std::string &Text)
{
    Lines->SetText(Text, false);
}

void TQorStrList::doText(TData &Data, uint16_t)
{
    const std::string s = ReadString(Data, Str, std::string());
    Lines->SetText(s, false);
    ForwardNull(Data, onChange);
}

void TQorStrList::doLoad(TData &Data, uint16_t)
{
    const std::string name = ReadString(Data, FileName, FFileName);
    if (!winlayer::FileExists(name))
        return;
    // A file that exists but cannot be read leaves the list as it was; the
    // change is announced all the same.
    Lines->LoadFromFile(name);
    ForwardNull(Data, onChange);
}

void TQorStrList::Text(TData &Data, uint16_t)
{
    Data.dtString(Lines->Text());
}

void TQorStrList::Array(TData &Data, uint16_t)
{
    if (!ArrayRec)
        ArrayRec = CreateArrayRec({&ArraySet, this}, {&ArrayGet, this}, {&ArrayCount, this}, {&ArrayAdd, this});
    Data.dtArray(ArrayRec);
}

void TQorStrList::ArraySet(void *Self, const TData &Index, const TData &Value)
{
    TWinStrList *lines = static_cast<TQorStrList *>(Self)->Lines;
    const int32_t i = ToIndex(Index);
    if (i >= 0 && i < lines->Count())
        lines->SetItems(i, ToString(Value));
}

bool TQorStrList::ArrayGet(void *Self, const TData &Index, TData &Item)
{
    TWinStrList *lines = static_cast<TQorStrList *>(Self)->Lines;
    const int32_t i = ToIndex(Index);
    if (i < 0 || i >= lines->Count())
        return false;
    Item.dtString(lines->Items(i));
    return true;
}

int32_t TQorStrList::ArrayCount(void *Self)
{
    return static_cast<TQorStrList *>(Self)->Lines->Count();
}

void TQorStrList::ArrayAdd(void *Self, const TData &Value)
{
    static_cast<TQorStrList *>(Self)->Lines->Add(ToString(Value));
}
