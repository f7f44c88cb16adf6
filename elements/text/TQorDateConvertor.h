#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"
#include "winlayer/DateTime.h"

// Turns a date-time value into calendar fields (doDecode, the minute offered
// by Minute, the rest kept in Parts) or into text by a date and time picture
// in the user's locale (doFormat).
class TQorDateConvertor : public TElement {
public:
    TData Result;
    winlayer::TSystemTime Parts{};
    double Value = 0.0;
    uint8_t Mode = 0; // chooses doDecode (0) or doFormat (9) when wiring; not read
    std::string Format;

    TPointLink DateTime;

    TPointLink onResult;

    void doDecode(TData &Data, uint16_t Index);
    void doFormat(TData &Data, uint16_t Index);
    void Minute(TData &Data, uint16_t Index);
};

// Date-time values above this (far beyond any calendar record) are ignored.
constexpr double MaxDateTimeValue = 202751589.0;
