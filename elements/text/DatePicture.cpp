#include "DatePicture.h"

#include <cstdio>

using winlayer::TSystemTime;

namespace {

const char *const DayNames[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char *const DayAbbrevs[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const MonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
const char *const MonthAbbrevs[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string Number(unsigned Value, bool TwoDigits)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, TwoDigits ? "%02u" : "%u", Value);
    return buf;
}

// 1 = Monday .. 7 = Sunday, from the date itself.
unsigned DayOfWeek(const TSystemTime &Time)
{
    TSystemTime midnight = Time;
    midnight.Hour = midnight.Minute = midnight.Second = midnight.Millisecond = 0;
    long long day = static_cast<long long>(winlayer::SystemTimeToDateTime(midnight));
    return static_cast<unsigned>((day + 6) % 7 + 1);
}

bool ValidDate(const TSystemTime &Time)
{
    return Time.Year >= 1601 && Time.Year <= 9999 && Time.Month >= 1 && Time.Month <= 12 && Time.Day >= 1 &&
           Time.Day <= winlayer::DaysInMonth(Time.Year, Time.Month);
}

bool ValidTime(const TSystemTime &Time)
{
    return Time.Hour <= 23 && Time.Minute <= 59 && Time.Second <= 59 && Time.Millisecond <= 999;
}

// Walks the picture: quoted text is copied without its quotes, a run of one of
// the Letters goes to Expand with its length, the rest is copied.
template <class F> std::string Walk(const std::string &Picture, const char *Letters, F Expand)
{
    std::string out;
    size_t i = 0;
    while (i < Picture.size()) {
        char c = Picture[i];
        if (c == '\'') {
            for (++i; i < Picture.size(); ++i) {
                if (Picture[i] == '\'') {
                    if (i + 1 < Picture.size() && Picture[i + 1] == '\'') {
                        out += '\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += Picture[i];
            }
            continue;
        }
        bool picture = false;
        for (const char *l = Letters; *l; ++l)
            picture = picture || c == *l;
        if (!picture) {
            out += c;
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < Picture.size() && Picture[i + run] == c)
            ++run;
        out += Expand(c, run);
        i += run;
    }
    return out;
}

} // namespace

bool ExpandDatePicture(const TSystemTime &Time, const std::string &Picture, std::string &Text)
{
    Text.clear();
    if (!ValidDate(Time))
        return false;
    Text = Walk(Picture, "dMy", [&Time](char c, size_t run) -> std::string {
        switch (c) {
        case 'd':
            if (run >= 4)
                return DayNames[DayOfWeek(Time) - 1];
            if (run == 3)
                return DayAbbrevs[DayOfWeek(Time) - 1];
            return Number(Time.Day, run == 2);
        case 'M':
            if (run >= 4)
                return MonthNames[Time.Month - 1];
            if (run == 3)
                return MonthAbbrevs[Time.Month - 1];
            return Number(Time.Month, run == 2);
        default: // 'y'
            if (run >= 3)
                return Number(Time.Year, false);
            return Number(Time.Year % 100u, true);
        }
    });
    return true;
}

bool ExpandTimePicture(const TSystemTime &Time, const std::string &Picture, std::string &Text)
{
    Text.clear();
    if (!ValidTime(Time))
        return false;
    Text = Walk(Picture, "hHmst", [&Time](char c, size_t run) -> std::string {
        bool two = run >= 2;
        switch (c) {
        case 'h': return Number(Time.Hour % 12u == 0 ? 12u : Time.Hour % 12u, two);
        case 'H': return Number(Time.Hour, two);
        case 'm': return Number(Time.Minute, two);
        case 's': return Number(Time.Second, two);
        default: { // 't'
            std::string marker = Time.Hour < 12 ? "AM" : "PM";
            return two ? marker : marker.substr(0, 1);
        }
        }
    });
    return true;
}
