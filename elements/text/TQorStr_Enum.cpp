#include "TQorStr_Enum.h"

#include <string_view>

namespace {

// The part before the first delimiter; the rest keeps what follows it. The rest
// is a view, so a long text with many parts is walked in one pass.
std::string SplitFirst(std::string_view &Rest, char Delimiter)
{
    size_t at = Rest.find(Delimiter);
    std::string part(Rest.substr(0, at));
    Rest = at == std::string_view::npos ? std::string_view() : Rest.substr(at + 1);
    return part;
}

// The part after the last delimiter; the rest keeps what precedes it.
std::string SplitLast(std::string_view &Rest, char Delimiter)
{
    size_t at = Rest.rfind(Delimiter);
    if (at == std::string_view::npos) {
        std::string part(Rest);
        Rest = std::string_view();
        return part;
    }
    std::string part(Rest.substr(at + 1));
    Rest = Rest.substr(0, at);
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
                CurrentPart.clear();
                CurrentPart.push_back(text[static_cast<size_t>(FNumber) - 1]);
                if (EnumPart())
                    break;
            }
        }
    } else if (!text.empty()) {
        const char delimiter = Delimiter[0];
        std::string_view rest(text);
        for (int32_t i = 1; i < Start && !rest.empty(); ++i)
            SplitFirst(rest, delimiter);
        while (!rest.empty()) {
            CurrentPart = SplitFirst(rest, delimiter);
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
                CurrentPart.clear();
                CurrentPart.push_back(text[text.size() - static_cast<size_t>(FNumber)]);
                if (EnumPart())
                    break;
            }
        }
    } else if (!text.empty()) {
        const char delimiter = Delimiter[0];
        std::string_view rest(text);
        for (int32_t i = 1; i < Start && !rest.empty(); ++i)
            SplitLast(rest, delimiter);
        // The text is not tested again here: when the skipped parts used it
        // all up, one empty part still comes out.
        do {
            CurrentPart = SplitLast(rest, delimiter);
            if (EnumPart())
                break;
        } while (!rest.empty());
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
