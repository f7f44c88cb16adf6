#include "TQorStr_Enum.h"

namespace {

// The part before the first delimiter; the text keeps what follows it.
std::string SplitFirst(std::string &Text, char Delimiter)
{
    std::string part;
    size_t at = Text.find(Delimiter);
    if (at == std::string::npos) {
        part.swap(Text);
    } else {
        part = Text.substr(0, at);
        Text.erase(0, at + 1);
    }
    return part;
}

// The part after the last delimiter; the text keeps what precedes it.
std::string SplitLast(std::string &Text, char Delimiter)
{
    std::string part;
    size_t at = Text.rfind(Delimiter);
    if (at == std::string::npos) {
        part.swap(Text);
    } else {
        part = Text.substr(at + 1);
        Text.erase(at);
    }
    return part;
}

} // namespace

bool TQorStr_Enum::EnumPart()
{
    CallEventStr(onEnum, CurrentPart);
    if (Stop || FNumber == End)
        return true;
    // Wraps like the 32-bit counter it is, should a scheme start near the top.
    FNumber = static_cast<int32_t>(static_cast<uint32_t>(FNumber) + 1u);
    return false;
}

void TQorStr_Enum::Finish(TData &Data)
{
    if (Stop && BreakEvent == 1)
        ForwardStr(Data, onBreak, CurrentPart);
    else
        ForwardNull(Data, onEndEnum);
}

void TQorStr_Enum::doEnum(TData &Data, uint16_t)
{
    std::string text = ReadString(Data, Str, std::string());
    Stop = 0;
    FNumber = Start;

    if (Delimiter.empty()) {
        if (!text.empty() && FNumber > 0) {
            while (static_cast<size_t>(FNumber) <= text.size()) {
                CurrentPart.assign(1, text[static_cast<size_t>(FNumber) - 1]);
                if (EnumPart())
                    break;
            }
        }
    } else if (!text.empty()) {
        const char delimiter = Delimiter[0];
        for (int32_t i = 1; i < Start && !text.empty(); ++i)
            SplitFirst(text, delimiter);
        while (!text.empty()) {
            CurrentPart = SplitFirst(text, delimiter);
            if (EnumPart())
                break;
        }
    }

    Finish(Data);
}

void TQorStr_Enum::doEnumBack(TData &Data, uint16_t)
{
    std::string text = ReadString(Data, Str, std::string());
    Stop = 0;
    FNumber = Start;

    if (Delimiter.empty()) {
        if (!text.empty() && FNumber > 0) {
            while (static_cast<size_t>(FNumber) <= text.size()) {
                CurrentPart.assign(1, text[text.size() - static_cast<size_t>(FNumber)]);
                if (EnumPart())
                    break;
            }
        }
    } else if (!text.empty()) {
        const char delimiter = Delimiter[0];
        for (int32_t i = 1; i < Start && !text.empty(); ++i)
            SplitLast(text, delimiter);
        // The text is not tested again here: when the skipped parts used it
        // all up, one empty part still comes out.
        do {
            CurrentPart = SplitLast(text, delimiter);
            if (EnumPart())
                break;
        } while (!text.empty());
    }

    Finish(Data);
}

void TQorStr_Enum::doStop(TData &, uint16_t)
{
    Stop = 1;
}

void TQorStr_Enum::Number(TData &Data, uint16_t)
{
    Data.dtInteger(FNumber);
}
