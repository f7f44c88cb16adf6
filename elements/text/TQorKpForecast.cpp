#include "TQorKpForecast.h"

#include <cmath>

#include "IssueTime.h"
#include "TimeServices.h"
#include "winlayer/Files.h"

using winlayer::TSystemTime;

namespace {

// When the block starting at DueUt is due, as the pictures of Element tell it.
std::string DueText(const TQorKpForecast &Element, double DueUt, double NowUt, int32_t BiasMinutes)
{
    if (DueUt <= NowUt)
        return Element.DueNow;
    const double local = UtToLocal(DueUt, BiasMinutes);
    const bool today = std::floor(local) == std::floor(UtToLocal(NowUt, BiasMinutes));
    TSystemTime time{};
    std::string text;
    if (winlayer::DateTimeToSystemTime(local, time))
        LocaleTimeText(time, today ? Element.DueToday : Element.DueTomorrow, text);
    return text;
}

} // namespace

void TQorKpForecast::doRead(TData &Data, uint16_t)
{
    const std::string name = ReadString(Data, FileName, FFileName);
    // 1.
    std::string bytes;
    Known = winlayer::ReadFileHead(name, KpForecastMaxBytes + 1, bytes) &&
            ParseKpForecast(bytes, UtNow(ReadIntegerLink(Bias)), Forecast);
    // 2.
    Look(true, true);
}

void TQorKpForecast::doCheck(TData &, uint16_t)
{
    Look(false, false);
}

void TQorKpForecast::doDay(TData &, uint16_t)
{
    Look(false, true);
}

void TQorKpForecast::Look(bool All, bool DayAgain)
{
    const int32_t bias = ReadIntegerLink(Bias);
    const TSystemTime localNow = LocalNow();
    const double nowUt = LocalToUt(winlayer::SystemTimeToDateTime(localNow), bias);

    // 1. The day: the intervals from the one under way on.
    int hundredths[KpDayIntervals];
    if (!Known)
        for (int &value : hundredths)
            value = -1;
    else
        KpForecastLocalDay(Forecast, nowUt, bias, hundredths);
    std::string day(KpDayIntervals, '-');
    for (int i = localNow.Hour / 3; i < KpDayIntervals; ++i)
        if (hundredths[i] >= 0)
            day[i] = static_cast<char>('0' + KpForecastRounded(hundredths[i]));

    // 2. The next 24 hours: the line, its colour, the tooltip's line.
    TKpForecastPeak peak;
    std::string line, tip, when;
    int level = 0;
    if (Known && KpForecastNext24Hours(Forecast, nowUt, peak)) {
        level = KpForecastRounded(peak.Hundredths);
        when = DueText(*this, peak.DueUt, nowUt, bias);
        line = LineText + std::to_string(level) + " " + when;
        if (peak.Storm)
            tip = TipText + std::to_string(level) + " " + when;
    }
    const uint32_t color = level >= 5 ? ColorHigh : level == 4 ? ColorMiddle : ColorLow;

    // 3. Tell what changed.
    if (All || DayAgain || day != Day)
        CallEventStr(onDay, Day = day);
    if (All || line != Line) {
        CallEventStr(onLine, Line = line);
        CallEventInt(onColor, static_cast<int32_t>(color));
    }
    if (All || tip != Tip)
        CallEventStr(onTip, Tip = tip);

    // 4. The balloon, once for each issue that brings a storm into the next 24 hours.
    const double issue = Forecast.Issued != 0 ? Forecast.Issued : Forecast.Start[0];
    if (peak.Storm && issue != AlertedIssue) {
        AlertedIssue = issue;
        CallEventStr(onAlert, AlertText + std::to_string(level) + " " + when);
    }
}
