#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Splits a string into its characters (no delimiter) or into delimited parts,
// one onEnum per part, from the left (doEnum) or from the right (doEnumBack).
// The part number is the data output Number; its state field is FNumber.
class TQorStr_Enum : public TElement {
public:
    uint8_t Stop = 0;
    int32_t FNumber = 0;
    std::string CurrentPart;

    int32_t Start = 0;
    int32_t End = 0;
    std::string Delimiter;
    uint8_t BreakEvent = 0;
    uint8_t Direction = 0; // chooses doEnum or doEnumBack when wiring; not read

    TPointLink Str;

    TPointLink onEnum;
    TPointLink onEndEnum;
    TPointLink onBreak;

    void doEnum(TData &Data, uint16_t Index);
    void doEnumBack(TData &Data, uint16_t Index);
    void doStop(TData &Data, uint16_t Index);
    void Number(TData &Data, uint16_t Index);

private:
    // Raises one part; true when the walk is to end after it.
    bool EnumPart();
    void Finish(TData &Data);
};
