#pragma once
#include <string>

// The few kernel services the portable utilities need, one implementation for
// Windows and one for the native build.
namespace winlayer::platform {

std::string ModuleFileName();   // full path of the running program
std::string CommandLine();      // the process command line as one text

} // namespace winlayer::platform
