#include "TQorTrim.h"

void TQorTrim::doTrim(TData &Data, uint16_t)
{
    ReadStringTo(Data, Text, std::string(), FText);
    const char ch = Char.empty() ? ' ' : Char[0];
    size_t last = FText.find_last_not_of(ch);
    FText.erase(last == std::string::npos ? 0 : last + 1);
    FText.erase(0, FText.find_first_not_of(ch));
    ForwardStr(Data, onTrim, FText);
}

void TQorTrim::doTrimEnd(TData &Data, uint16_t)
{
    ReadStringTo(Data, Text, std::string(), FText);
    if (!Char.empty()) {
        while (FText.size() >= Char.size() && FText.compare(FText.size() - Char.size(), Char.size(), Char) == 0)
            FText.erase(FText.size() - Char.size());
    }
    ForwardStr(Data, onTrim, FText);
}
