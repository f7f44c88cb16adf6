#include "KpForecast.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "IssueTime.h"
#include "winlayer/DateTime.h"

namespace {

const int64_t MinutesPerDay = 1440;
const int64_t BlockMinutes = 180;
const int Days = KpForecastBlocks / KpDayIntervals;

using Words = std::vector<std::string>;

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

Words Split(const std::string &Line)
{
    Words words;
    size_t at = 0;
    while (at < Line.size()) {
        while (at < Line.size() && IsBlank(Line[at]))
            ++at;
        const size_t begin = at;
        while (at < Line.size() && !IsBlank(Line[at]))
            ++at;
        if (at > begin)
            words.push_back(Line.substr(begin, at - begin));
    }
    return words;
}

// The lines of Text, their ends (LF, CR LF or CR) taken off.
std::vector<std::string> Lines(const std::string &Text)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < Text.size()) {
        const size_t end = std::min(Text.find_first_of("\r\n", begin), Text.size());
        lines.push_back(Text.substr(begin, end - begin));
        begin = end;
        if (begin < Text.size() && Text[begin] == '\r')
            ++begin;
        if (begin < Text.size() && Text[begin] == '\n')
            ++begin;
    }
    return lines;
}

// Date-time values as whole minutes, so that blocks and intervals compare
// exactly.
int64_t Minutes(double Value)
{
    return std::llround(Value * MinutesPerDay);
}

// ":Issued: 2026 Dec 30 2205 UTC"
bool IssuedAt(const Words &Line, double &Ut)
{
    if (Line.size() != 6 || Line[0] != ":Issued:" || (Line[5] != "UTC" && Line[5] != "UT"))
        return false;
    const int hhmm = DigitsValue(Line[4], 4, 4);
    if (hhmm < 0)
        return false;
    Ut = DateTimeOf(DigitsValue(Line[1], 4, 4), MonthNumber(Line[2]), DigitsValue(Line[3], 1, 2), hhmm / 100,
                    hhmm % 100);
    return Ut != 0;
}

bool IsTitle(const Words &Line)
{
    // The provider's 3-day forecast names the same table a breakdown.
    return Line.size() >= 4 && Line[0] == "NOAA" && Line[1] == "Kp" && Line[2] == "index" &&
           (Line[3] == "forecast" || Line[3] == "breakdown");
}

// The three days of the header "Oct 05    Oct 06    Oct 07", with the year
// that puts the first nearest to About; the next turns to a new year when its
// month comes before the one of the day before it.
bool HeaderDays(const Words &Line, double About, double *Day)
{
    winlayer::TSystemTime about{};
    if (Line.size() != 2 * Days || !winlayer::DateTimeToSystemTime(About, about))
        return false;
    int month[Days], day[Days];
    for (int c = 0; c < Days; ++c) {
        month[c] = MonthNumber(Line[2 * c]);
        day[c] = DigitsValue(Line[2 * c + 1], 1, 2);
    }
    int year = 0;
    for (int y = about.Year - 1; y <= about.Year + 1; ++y) {
        const double first = DateTimeOf(y, month[0], day[0]);
        if (first != 0 && (year == 0 || std::fabs(first - About) < std::fabs(Day[0] - About))) {
            year = y;
            Day[0] = first;
        }
    }
    if (year == 0)
        return false;
    for (int c = 1; c < Days; ++c) {
        if (month[c] < month[c - 1])
            ++year;
        Day[c] = DateTimeOf(year, month[c], day[c]);
        if (Day[c] != Day[c - 1] + 1)
            return false; // also what a year guessed wrong would give
    }
    return true;
}

// "00-03UT" for Row 0 ... "21-00UT" or "21-24UT" for Row 7.
bool IsBlockLabel(const std::string &Text, int Row)
{
    const int from = 3 * Row, to = 3 * Row + 3;
    if (Text.size() != 7 || Text[2] != '-' || Text.compare(5, 2, "UT") != 0)
        return false;
    const int end = DigitsValue(Text.substr(3, 2), 2, 2);
    return DigitsValue(Text.substr(0, 2), 2, 2) == from && (end == to || (to == 24 && end == 0));
}

// "3.67" in hundredths; -1 for anything else, or above 9.
int Value(const std::string &Text)
{
    if (Text.size() != 4 || !IsDigit(Text[0]) || Text[1] != '.' || !IsDigit(Text[2]) || !IsDigit(Text[3]))
        return -1;
    const int value = (Text[0] - '0') * 100 + (Text[2] - '0') * 10 + (Text[3] - '0');
    return value <= 900 ? value : -1;
}

// "(G1)" ... "(G5)"
bool IsStormMark(const std::string &Text)
{
    return Text.size() == 4 && Text[0] == '(' && Text[1] == 'G' && Text[2] >= '1' && Text[2] <= '5' &&
           Text[3] == ')';
}

// The three values of a row after its label, each perhaps marked.
bool RowValues(const Words &Line, int *Hundredths)
{
    size_t at = 1;
    for (int c = 0; c < Days; ++c) {
        Hundredths[c] = at < Line.size() ? Value(Line[at++]) : -1;
        if (Hundredths[c] < 0)
            return false;
        if (at < Line.size() && IsStormMark(Line[at]))
            ++at;
    }
    return at == Line.size();
}

} // namespace

bool ParseKpForecast(const std::string &Text, double AboutUt, TKpForecast &Forecast)
{
    if (Text.empty() || Text.size() > KpForecastMaxBytes || Text.find('\0') != std::string::npos)
        return false;
    const size_t first = Text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos || Text[first] == '<')
        return false; // a page, not the text
    const std::vector<std::string> lines = Lines(Text);
    TKpForecast parsed;
    size_t title = 0;
    for (; title < lines.size(); ++title) {
        const Words words = Split(lines[title]);
        if (parsed.Issued == 0 && !words.empty() && words[0] == ":Issued:")
            IssuedAt(words, parsed.Issued);
        if (IsTitle(words))
            break;
    }
    // The header and the eight rows after the title; blank lines between them
    // are allowed (the provider's other forecast spaces its table out).
    size_t next = title + 1;
    const auto nextLine = [&lines, &next]() {
        while (next < lines.size()) {
            Words words = Split(lines[next++]);
            if (!words.empty())
                return words;
        }
        return Words();
    };
    double day[Days];
    if (!HeaderDays(nextLine(), parsed.Issued != 0 ? parsed.Issued : AboutUt, day))
        return false;
    for (int row = 0; row < KpDayIntervals; ++row) {
        const Words words = nextLine();
        int values[Days];
        if (words.empty() || !IsBlockLabel(words[0], row) || !RowValues(words, values))
            return false;
        for (int c = 0; c < Days; ++c) {
            parsed.Start[c * KpDayIntervals + row] = day[c] + row / 8.0;
            parsed.Hundredths[c * KpDayIntervals + row] = values[c];
        }
    }
    Forecast = parsed;
    return true;
}

bool IsKpForecastFile(const std::string &Bytes, double AboutUt)
{
    TKpForecast forecast;
    return ParseKpForecast(Bytes, AboutUt, forecast);
}

int KpForecastRounded(int Hundredths)
{
    return std::min(9, (Hundredths + 50) / 100);
}

bool IsKpForecastStale(const TKpForecast &Forecast, double NowUt)
{
    const double issued = Forecast.Issued != 0 ? Forecast.Issued : Forecast.Start[0];
    return IsOlderThan(issued, NowUt, KpForecastStaleAfterMs);
}

int KpForecastLocalDay(const TKpForecast &Forecast, double NowUt, int32_t BiasMinutes,
                       int Hundredths[KpDayIntervals])
{
    for (int i = 0; i < KpDayIntervals; ++i)
        Hundredths[i] = -1;
    if (IsKpForecastStale(Forecast, NowUt))
        return 0;
    const int64_t local = Minutes(NowUt) - BiasMinutes;
    const int64_t midnight = local - local % MinutesPerDay; // date-time values are positive
    int found = 0;
    for (int i = 0; i < KpDayIntervals; ++i) {
        const int64_t middle = midnight + i * BlockMinutes + BlockMinutes / 2 + BiasMinutes;
        for (int b = 0; b < KpForecastBlocks; ++b) {
            const int64_t start = Minutes(Forecast.Start[b]);
            if (start <= middle && middle < start + BlockMinutes) {
                Hundredths[i] = Forecast.Hundredths[b];
                ++found;
                break;
            }
        }
    }
    return found;
}

bool KpForecastNext24Hours(const TKpForecast &Forecast, double NowUt, TKpForecastPeak &Peak)
{
    if (IsKpForecastStale(Forecast, NowUt))
        return false;
    const int64_t now = Minutes(NowUt);
    TKpForecastPeak peak;
    for (int b = 0; b < KpForecastBlocks; ++b) {
        const int64_t start = Minutes(Forecast.Start[b]);
        if (start + BlockMinutes <= now || start >= now + MinutesPerDay)
            continue;
        if (Forecast.Hundredths[b] > peak.Hundredths) {
            peak.Hundredths = Forecast.Hundredths[b];
            peak.DueUt = Forecast.Start[b];
        }
        if (KpForecastRounded(Forecast.Hundredths[b]) >= 5)
            peak.Storm = true;
    }
    if (peak.Hundredths < 0)
        return false;
    Peak = peak;
    return true;
}
