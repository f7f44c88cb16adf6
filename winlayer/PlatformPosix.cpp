#include "Platform.h"

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace winlayer::platform {

std::string ModuleFileName()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// /proc/self/cmdline holds the arguments separated by NULs; join them the way a
// Windows command line would look, quoting those with blanks.
std::string CommandLine()
{
    std::ifstream f("/proc/self/cmdline", std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::string line, arg;
    for (char c : raw) {
        if (c != '\0') {
            arg += c;
            continue;
        }
        if (!line.empty())
            line += ' ';
        line += arg.find(' ') != std::string::npos ? '"' + arg + '"' : arg;
        arg.clear();
    }
    return line;
}

} // namespace winlayer::platform
