#pragma once
#include <cstdint>
#include <string>

// The program's own conversions between numbers and text. They do not depend on
// the locale: a "." is always the decimal point and nothing is grouped.
namespace winlayer {

// Optional "-" and the decimal digits, no leading zeros.
std::string IntToText(int32_t value);

// An optional "-" or "+" as the first character, then digits up to the first
// non-digit; 32-bit wrap-around, no blanks skipped ("12abc" is 12, " 2" is 0).
int32_t TextToInt(const std::string &text);
int32_t TextToInt(const char *text, size_t length);

// An optional leading "-"; digits build the integer part and, after the first
// ".", the fraction; a second "." ends the scan; "E"/"e" ends it after scaling by
// ten to the power of the rest read as an integer; anything else is skipped
// ("1,5" is 15, " 2 " is 2, "1e3" is 1000).
double TextToReal(const std::string &text);

// 15 significant digits, rounded half to even, in plain positional notation
// without exponent and without trailing zeros ("0.001", "2.5", "3").
std::string RealToText(double value);

// Round to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);
int32_t RoundToInt(double value);

} // namespace winlayer
