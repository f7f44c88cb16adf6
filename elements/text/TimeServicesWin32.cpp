#include "TimeServices.h"

#include <windows.h>

namespace {

// The record with Windows' day of week (0 = Sunday) in place of ours (7 = Sunday).
SYSTEMTIME ToWindows(const winlayer::TSystemTime &Time)
{
    SYSTEMTIME st;
    st.wYear = Time.Year;
    st.wMonth = Time.Month;
    st.wDayOfWeek = static_cast<WORD>(Time.DayOfWeek % 7);
    st.wDay = Time.Day;
    st.wHour = Time.Hour;
    st.wMinute = Time.Minute;
    st.wSecond = Time.Second;
    st.wMilliseconds = Time.Millisecond;
    return st;
}

using TFormatProc = int(WINAPI *)(LCID, DWORD, const SYSTEMTIME *, LPCSTR, LPSTR, int);

bool Format(TFormatProc Proc, const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text)
{
    Text.clear();
    // An empty picture would make Windows use the locale's own format.
    if (Picture.empty())
        return true;
    const SYSTEMTIME st = ToWindows(Time);
    int size = Proc(LOCALE_USER_DEFAULT, 0, &st, Picture.c_str(), nullptr, 0);
    if (size <= 0)
        return false;
    std::string buffer(static_cast<size_t>(size), '\0');
    size = Proc(LOCALE_USER_DEFAULT, 0, &st, Picture.c_str(), &buffer[0], size);
    if (size <= 0)
        return false;
    buffer.resize(static_cast<size_t>(size - 1));
    Text = buffer;
    return true;
}

} // namespace

winlayer::TSystemTime PlatformLocalTime()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    winlayer::TSystemTime t;
    t.Year = st.wYear;
    t.Month = st.wMonth;
    t.DayOfWeek = static_cast<uint16_t>(st.wDayOfWeek == 0 ? 7 : st.wDayOfWeek);
    t.Day = st.wDay;
    t.Hour = st.wHour;
    t.Minute = st.wMinute;
    t.Second = st.wSecond;
    t.Millisecond = st.wMilliseconds;
    return t;
}

bool LocaleDateText(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text)
{
    return Format(GetDateFormatA, Time, Picture, Text);
}

bool LocaleTimeText(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text)
{
    return Format(GetTimeFormatA, Time, Picture, Text);
}
