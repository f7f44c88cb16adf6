#include "DgdFileCheck.h"

#include <cstring>

namespace {

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

// "YYYY MM DD" at At, followed by a blank or the line's end.
bool DateAt(const std::string &Bytes, size_t At)
{
    static const char Shape[] = "dddd dd dd";
    const size_t length = sizeof Shape - 1;
    if (Bytes.size() - At < length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        const char c = Bytes[At + i];
        if (Shape[i] == 'd' ? !IsDigit(c) : c != ' ')
            return false;
    }
    const size_t after = At + length;
    return after == Bytes.size() || std::strchr(" \t\r\n", Bytes[after]) != nullptr;
}

} // namespace

bool IsDgdFile(const std::string &Bytes)
{
    if (Bytes.empty() || Bytes.size() > DgdFileMaxBytes || Bytes.find('\0') != std::string::npos)
        return false;
    size_t line = 0;
    while (line < Bytes.size()) {
        size_t at = line;
        while (at < Bytes.size() && (Bytes[at] == ' ' || Bytes[at] == '\t'))
            ++at;
        if (DateAt(Bytes, at))
            return true;
        const size_t end = Bytes.find_first_of("\r\n", at);
        if (end == std::string::npos)
            break;
        line = end + 1;
    }
    return false;
}
