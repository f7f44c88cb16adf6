#pragma once
#include <cstddef>
#include <string>

// Whether some bytes can be DGD.txt at all: not empty, no NUL byte, at most
// KpFileLimit bytes, and at least one line that starts (after blanks) with a
// date "YYYY MM DD", as every data row does. An HTML page, a file cut to
// nothing or binary junk fails; every real file passes, in the one-digit or
// the decimal layout, with LF or CR LF line ends.
constexpr size_t KpFileLimit = 64 * 1024;

bool LooksLikeKpFile(const std::string &Bytes);
