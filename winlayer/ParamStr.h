#pragma once
#include <string>

namespace winlayer {

// The parameter with the given number from a command line as the platform hands
// it over: 0 is the program name, 1 the first parameter after it. Separators are
// characters up to code 32 and pairs of double quotes; a double quote opens a
// stretch that runs to the next double quote. A result longer than one character
// that starts and ends with a double quote loses both.
std::string ParamFromCommandLine(const char *commandLine, int index);

// ParamStr(0) is the module's file name; ParamStr(n) the n-th parameter of the
// process command line.
std::string ParamStr(int index);

} // namespace winlayer
