#include "Platform.h"

#include <windows.h>

namespace winlayer::platform {

std::string ModuleFileName()
{
    char buf[262] = {};
    DWORD n = GetModuleFileNameA(nullptr, buf, 261);
    return std::string(buf, n);
}

std::string CommandLine()
{
    const char *cl = GetCommandLineA();
    return cl ? std::string(cl) : std::string();
}

} // namespace winlayer::platform
