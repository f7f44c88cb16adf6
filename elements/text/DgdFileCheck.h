#pragma once
#include <cstddef>
#include <string>

// The most a DGD.txt may hold. The provider's file is about 4 KB; a download
// that passes this is not the file, and its receiving stops there.
constexpr size_t DgdFileMaxBytes = 64 * 1024;

// Whether Bytes can be the provider's DGD.txt, checked before a download takes
// the place of the last good file: not empty, no NUL byte, at most
// DgdFileMaxBytes, and at least one data row, a line that starts (after any
// blanks) with a date "YYYY MM DD". A captive portal's page, an error text or
// binary junk fails, and so keeps the last good file in place.
bool IsDgdFile(const std::string &Bytes);
