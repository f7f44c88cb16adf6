#pragma once
#include <cstdint>
#include <string>

#include "runtime/TPointLink.h"

// The provider's newer DGD.txt writes the eight planetary 3-hour values as
// decimals in thirds ("2.00  0.67 -1.00"), where the older file wrote a blank
// and one digit ("  2 1-1"). Result is the text read on Text with every row
// whose last eight whitespace-separated fields are such decimals turned into
// the older layout: each value rounded to the nearest integer (halves up),
// capped at 9, two characters wide; a negative one (not yet known) as "-1".
// The row's beginning, up to the first of the eight fields, is kept as it was
// and nothing follows the last value, so its last 16 characters are the eight
// values. Every other line, and the line ends, pass through unchanged.
// Rows and Clamped count the rows rewritten and the values capped at 9 by the
// last read.
class TQorKpDecimals : public TElement {
public:
    int32_t Rows = 0;
    int32_t Clamped = 0;

    TPointLink Text;

    void Result(TData &Data, uint16_t Index);

private:
    static bool FindValues(const std::string &Source, size_t Begin, size_t End, size_t *From, size_t *To);
    void AppendValues(const std::string &Source, const size_t *From, const size_t *To, std::string &Out);
};
