#include "ParamStr.h"

#include "Platform.h"

namespace winlayer {

namespace {

bool IsSeparator(const char *p)
{
    return (static_cast<unsigned char>(*p) <= 32 && *p != 0) || (p[0] == '"' && p[1] == '"');
}

// Skips separators, then returns the start of the next parameter and sets end.
const char *NextParam(const char *p, const char *&end)
{
    while (*p && IsSeparator(p))
        p += (*p == '"') ? 2 : 1;
    const char *start = p;
    while (*p && !IsSeparator(p)) {
        if (*p == '"') {
            ++p;
            while (*p && *p != '"')
                ++p;
            if (*p)
                ++p;
        } else {
            ++p;
        }
    }
    end = p;
    return start;
}

} // namespace

std::string ParamFromCommandLine(const char *commandLine, int index)
{
    if (!commandLine || index < 0)
        return std::string();
    const char *p = commandLine;
    const char *start = p, *end = p;
    for (int i = 0; i <= index; ++i) {
        start = NextParam(p, end);
        if (start == end)
            return std::string();
        p = end;
    }
    std::string result(start, end);
    if (result.size() > 1 && result.front() == '"' && result.back() == '"')
        result = result.substr(1, result.size() - 2);
    return result;
}

std::string ParamStr(int index)
{
    if (index == 0)
        return platform::ModuleFileName();
    return ParamFromCommandLine(platform::CommandLine().c_str(), index);
}

} // namespace winlayer
