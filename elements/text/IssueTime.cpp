#include "IssueTime.h"

#include <cmath>
#include <cstring>

#include "winlayer/DateTime.h"

namespace {

const double MsPerDay = 86400000.0;

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

char Upper(char C)
{
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

// The next run of non-blank characters of Line from At on; empty at the end.
std::string Word(const std::string &Line, size_t &At)
{
    while (At < Line.size() && IsBlank(Line[At]))
        ++At;
    const size_t begin = At;
    while (At < Line.size() && !IsBlank(Line[At]) && Line[At] != '\r' && Line[At] != '\n')
        ++At;
    return Line.substr(begin, At - begin);
}

} // namespace

int DigitsValue(const std::string &Text, size_t Min, size_t Max)
{
    if (Text.size() < Min || Text.size() > Max)
        return -1;
    int value = 0;
    for (char c : Text) {
        if (!IsDigit(c))
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int MonthNumber(const std::string &Text)
{
    static const char Names[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    if (Text.size() != 3)
        return 0;
    const char name[3] = {Upper(Text[0]), Upper(Text[1]), Upper(Text[2])};
    for (int m = 0; m < 12; ++m)
        if (std::memcmp(Names + 3 * m, name, 3) == 0)
            return m + 1;
    return 0;
}

bool ParseIssuedLine(const std::string &Line, double &Ut)
{
    static const std::string Tag = ":Issued:";
    size_t at = 0;
    while (at < Line.size() && IsBlank(Line[at]))
        ++at;
    if (Line.compare(at, Tag.size(), Tag) != 0)
        return false;
    at += Tag.size();
    const int hhmm = DigitsValue(Word(Line, at), 4, 4);
    const bool ut = Word(Line, at) == "UT";
    const int day = DigitsValue(Word(Line, at), 1, 2);
    const int month = MonthNumber(Word(Line, at));
    const int year = DigitsValue(Word(Line, at), 4, 4);
    if (hhmm < 0 || !ut)
        return false;
    const double value = DateTimeOf(year, month, day, hhmm / 100, hhmm % 100);
    if (value == 0.0)
        return false;
    Ut = value;
    return true;
}

double DateTimeOf(int Year, int Month, int Day, int Hour, int Minute)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Day < 1 || Hour < 0 || Minute < 0)
        return 0;
    const winlayer::TSystemTime time{static_cast<uint16_t>(Year), static_cast<uint16_t>(Month), 0,
                                     static_cast<uint16_t>(Day), static_cast<uint16_t>(Hour),
                                     static_cast<uint16_t>(Minute), 0, 0};
    return winlayer::SystemTimeToDateTime(time);
}

double UtToLocal(double Ut, int32_t BiasMinutes)
{
    return Ut - BiasMinutes / 1440.0;
}

double LocalToUt(double Local, int32_t BiasMinutes)
{
    return Local + BiasMinutes / 1440.0;
}

bool IsOlderThan(double ThenUt, double NowUt, int64_t Ms)
{
    return std::llround((NowUt - ThenUt) * MsPerDay) > Ms;
}

bool IsStale(double IssuedUt, double NowUt)
{
    return IsOlderThan(IssuedUt, NowUt, StaleAfterMs);
}

std::string TipWithLines(const std::string &Base, std::initializer_list<std::string> Lines)
{
    std::string under;
    for (const std::string &line : Lines)
        if (!line.empty())
            under += "\n" + line;
    if (under.empty())
        return Base;
    under = under.substr(0, TipLimit);
    return Base.substr(0, TipLimit - under.size()) + under;
}
