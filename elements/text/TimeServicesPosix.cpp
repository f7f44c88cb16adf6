#include "TimeServices.h"

#include <chrono>
#include <ctime>

#include "DatePicture.h"

winlayer::TSystemTime PlatformLocalTime()
{
    using namespace std::chrono;
    const system_clock::time_point now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);

    winlayer::TSystemTime t{};
    t.Year = static_cast<uint16_t>(local.tm_year + 1900);
    t.Month = static_cast<uint16_t>(local.tm_mon + 1);
    t.DayOfWeek = static_cast<uint16_t>(local.tm_wday == 0 ? 7 : local.tm_wday);
    t.Day = static_cast<uint16_t>(local.tm_mday);
    t.Hour = static_cast<uint16_t>(local.tm_hour);
    t.Minute = static_cast<uint16_t>(local.tm_min);
    // A leap second shows as the last second of its minute.
    t.Second = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    t.Millisecond = static_cast<uint16_t>(ms < 0 ? ms + 1000 : ms);
    return t;
}

bool LocaleDateText(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text)
{
    return ExpandDatePicture(Time, Picture, Text);
}

bool LocaleTimeText(const winlayer::TSystemTime &Time, const std::string &Picture, std::string &Text)
{
    return ExpandTimePicture(Time, Picture, Text);
}
