// Arbitrary bytes as the 3-day forecast file, as it comes from the network.
// Besides what the sanitizers catch: a table read holds 24 blocks three hours
// apart with Kp values, lays out on any local day and has a sane peak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "elements/text/KpForecast.h"

namespace {

void Check(bool Holds)
{
    if (!Holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    const std::string bytes(reinterpret_cast<const char *>(Data), Size);
    const double about = 739956.5; // 6 Dec 2026, noon (day 1 is 1 Jan of year 1)
    TKpForecast forecast;
    const bool read = ParseKpForecast(bytes, about, forecast);
    Check(IsKpForecastFile(bytes, about) == read);
    if (!read)
        return 0;
    for (int b = 0; b < KpForecastBlocks; ++b) {
        Check(forecast.Hundredths[b] >= 0 && forecast.Hundredths[b] <= 900);
        Check(KpForecastRounded(forecast.Hundredths[b]) <= 9);
        if (b > 0) {
            const double gap = (forecast.Start[b] - forecast.Start[b - 1]) * 24;
            Check(gap > 2.999 && gap < 3.001);
        }
    }
    const double now = forecast.Start[0] + 1.3;
    for (int32_t bias : {-840, -330, 0, 300, 720}) {
        int day[KpDayIntervals];
        int found = KpForecastLocalDay(forecast, now, bias, day);
        for (int v : day)
            found -= v >= 0;
        Check(found == 0);
    }
    TKpForecastPeak peak;
    if (KpForecastNext24Hours(forecast, now, peak))
        Check(peak.Hundredths >= 0 && peak.Hundredths <= 900 && peak.DueUt < now + 1 &&
              peak.Storm == (KpForecastRounded(peak.Hundredths) >= 5));
    return 0;
}
