#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// Strips a character from both ends (doTrim) or repeats of a string from the
// end (doTrimEnd). The working copy of the text is FText, beside the Text input.
class TQorTrim : public TElement {
public:
    std::string FText;

    std::string Char;
    int32_t Mode = 0; // chooses doTrim (0) or doTrimEnd (5) when wiring; not read

    TPointLink Text;

    TPointLink onTrim;

    void doTrim(TData &Data, uint16_t Index);
    void doTrimEnd(TData &Data, uint16_t Index);
};
