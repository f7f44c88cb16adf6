#include "KpFileCheck.h"

#include <cstring>

namespace {

bool Digits(const char *P, int Count)
{
    for (int i = 0; i < Count; ++i)
        if (P[i] < '0' || P[i] > '9')
            return false;
    return true;
}

int Number(const char *P)
{
    return (P[0] - '0') * 10 + (P[1] - '0');
}

// "YYYY MM DD" at P, with End - P bytes left, month 1 to 12 and day 1 to 31.
bool DateAt(const char *P, const char *End)
{
    if (End - P < 10 || !Digits(P, 4) || P[4] != ' ' || !Digits(P + 5, 2) || P[7] != ' ' || !Digits(P + 8, 2))
        return false;
    const int month = Number(P + 5), day = Number(P + 8);
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

} // namespace

bool LooksLikeKpFile(const std::string &Bytes)
{
    if (Bytes.empty() || Bytes.size() > KpFileLimit || std::memchr(Bytes.data(), 0, Bytes.size()))
        return false;
    const char *p = Bytes.data();
    const char *end = p + Bytes.size();
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        if (DateAt(p, end))
            return true;
        while (p < end && *p != '\n' && *p != '\r')
            ++p;
        while (p < end && (*p == '\n' || *p == '\r'))
            ++p;
    }
    return false;
}
