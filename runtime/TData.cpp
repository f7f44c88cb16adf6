#include "TData.h"

#include "winlayer/NumText.h"

using winlayer::IntToText;
using winlayer::RealToText;
using winlayer::RoundToInt;
using winlayer::TextToInt;
using winlayer::TextToReal;

void TData::dtNull()
{
    DataType = ::dtNull;
    ForwardLink = nullptr;
    NextData = nullptr;
}

void TData::dtInteger(int32_t Value)
{
    DataType = ::dtInteger;
    IntValue = Value;
    ForwardLink = nullptr;
    NextData = nullptr;
}

void TData::dtString(const std::string &Value)
{
    DataType = ::dtString;
    StrValue = Value;
    ForwardLink = nullptr;
    NextData = nullptr;
}

void TData::dtReal(double Value)
{
    DataType = ::dtReal;
    RealValue = Value;
    ForwardLink = nullptr;
    NextData = nullptr;
}

void TData::dtIcon(winlayer::TWinIcon *Icon)
{
    DataType = ::dtIcon;
    ObjValue = Icon;
    ForwardLink = nullptr;
    NextData = nullptr;
}

void TData::dtStream(winlayer::TWinStream *Stream)
{
    DataType = ::dtStream;
    ObjValue = Stream;
    ForwardLink = nullptr;
    NextData = nullptr;
}

void TData::dtArray(TArrayRec *Arr)
{
    DataType = ::dtArray;
    ObjValue = Arr;
    ForwardLink = nullptr;
    NextData = nullptr;
}

TData IntData(int32_t Value)
{
    TData d;
    d.dtInteger(Value);
    return d;
}

TData StrData(const std::string &Value)
{
    TData d;
    d.dtString(Value);
    return d;
}

TData RealData(double Value)
{
    TData d;
    d.dtReal(Value);
    return d;
}

uint8_t DataKind(const TData &Data)
{
    return Data.DataType;
}

bool IsInteger(const TData &Data)
{
    return Data.DataType == dtInteger;
}

bool IsStream(const TData &Data)
{
    return Data.DataType == dtStream;
}

bool IsIcon(const TData &Data)
{
    return Data.DataType == dtIcon;
}

winlayer::TWinStream *AsStream(const TData &Data)
{
    return Data.DataType == dtStream ? static_cast<winlayer::TWinStream *>(Data.ObjValue) : nullptr;
}

winlayer::TWinIcon *AsIcon(const TData &Data)
{
    return Data.DataType == dtIcon ? static_cast<winlayer::TWinIcon *>(Data.ObjValue) : nullptr;
}

TArrayRec *AsArray(const TData &Data)
{
    return Data.DataType == dtArray ? static_cast<TArrayRec *>(Data.ObjValue) : nullptr;
}

void CopyValue(TData &Dest, const TData &Src)
{
    Dest = Src;
    Dest.ForwardLink = nullptr;
    Dest.NextData = nullptr;
}

void FreeChain(TData &Data)
{
    TData *node = Data.NextData;
    Data.NextData = nullptr;
    while (node) {
        TData *next = node->NextData;
        delete node;
        node = next;
    }
}

void CopyChain(TData &Dest, const TData &Src)
{
    Dest = Src;
    TData *last = &Dest;
    const TData *src = &Src;
    while (src->DataType != dtNull && src->NextData) {
        TData *node = new TData(*src->NextData);
        last->NextData = node;
        last = node;
        src = src->NextData;
    }
    last->NextData = nullptr;
}

int32_t ToInteger(const TData &Data)
{
    switch (Data.DataType) {
    case dtInteger: return Data.IntValue;
    case dtString: return TextToInt(Data.StrValue);
    case dtReal: return RoundToInt(Data.RealValue);
    default: return 0;
    }
}

double ToReal(const TData &Data)
{
    switch (Data.DataType) {
    case dtInteger: return Data.IntValue;
    case dtString: return TextToReal(Data.StrValue);
    case dtReal: return Data.RealValue;
    default: return 0.0;
    }
}

std::string ToString(const TData &Data)
{
    switch (Data.DataType) {
    case dtInteger: return IntToText(Data.IntValue);
    case dtString: return Data.StrValue;
    case dtReal: return RealToText(Data.RealValue);
    default: return std::string();
    }
}

int32_t ToIndex(const TData &Data)
{
    switch (Data.DataType) {
    case dtInteger: return Data.IntValue;
    case dtString: {
        if (Data.StrValue.empty())
            return -1;
        int32_t n = TextToInt(Data.StrValue);
        if (n == 0 && Data.StrValue[0] != '0')
            return -1;
        return n;
    }
    case dtReal: return RoundToInt(Data.RealValue);
    default: return -1;
    }
}

namespace {
char gArrayDummy;
void NoSet(void *, const TData &, const TData &) {}
void NoAdd(void *, const TData &) {}
} // namespace

TArrayRec *CreateArrayRec(TArrayRec::SetRef Set, TArrayRec::GetRef Get, TArrayRec::CountRef Count,
                          TArrayRec::AddRef Add)
{
    TArrayRec *arr = new TArrayRec{Set, Get, Count, Add};
    if (!arr->ArraySetProc.Code)
        arr->ArraySetProc = {NoSet, &gArrayDummy};
    if (!arr->ArrayAddProc.Code)
        arr->ArrayAddProc = {NoAdd, &gArrayDummy};
    return arr;
}

void FreeArrayRec(TArrayRec *Arr)
{
    delete Arr;
}
