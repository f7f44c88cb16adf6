#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The provider's 3-day Kp forecast (3-day-geomag-forecast.txt): a table of
// three UT days by eight UT 3-hour blocks, values in thirds ("3.67"), storm
// values perhaps marked with their G-scale level ("5.67 (G2)"):
//
//   NOAA Kp index forecast 05 Oct - 07 Oct
//                Oct 05    Oct 06    Oct 07
//   00-03UT        3.67      3.33      2.00
//   ...
//   21-00UT        2.33      2.67      2.00
//
// Times are date-time values (whole days from 1 January of year 1, plus the
// part of the day; DateTime.h) in UT; the time-zone bias is in minutes, as
// Windows keeps it: UT = local time + bias.

// The file is about 2 KB; anything much larger is not the forecast.
constexpr size_t KpForecastMaxBytes = 64 * 1024;

constexpr int KpForecastBlocks = 24;
constexpr int KpDayIntervals = 8;

struct TKpForecast {
    double Issued = 0; // the ":Issued:" line's time; 0 when the file states none
    double Start[KpForecastBlocks] = {}; // each block's UT start, in time order
    int Hundredths[KpForecastBlocks] = {}; // each block's value: "3.67" is 367
};

// The table of Text. The header names months and days but no year: it is taken
// from the issue time when the file states one, otherwise from AboutUt (the
// caller's clock), as the year that puts the first day nearest to it. False for
// anything else than the whole table: no table, a header that is not three
// consecutive days, a table cut short, a row out of order or with a value that
// is not a Kp value, an HTML page, an empty or oversized file.
bool ParseKpForecast(const std::string &Text, double AboutUt, TKpForecast &Forecast);

// Whether a download can take the place of the last good forecast file.
bool IsKpForecastFile(const std::string &Bytes, double AboutUt);

// A value in hundredths as a whole Kp, as DGD.txt's decimals are rounded:
// halves up ("4.67" is 5, "4.33" is 4), at most 9.
int KpForecastRounded(int Hundredths);

// The provider issues the forecast daily; after a missed issue and half a day
// more it says too little about the next hours to be shown.
constexpr int64_t KpForecastStaleAfterMs = 36 * 60 * 60 * 1000;

// True when NowUt is more than KpForecastStaleAfterMs after the issue time, or,
// for a file without one, after the start of its first block (it is issued
// shortly before). A stale forecast counts as none.
bool IsKpForecastStale(const TKpForecast &Forecast, double NowUt);

// The forecast for the eight 3-hour intervals of the local day that NowUt falls
// in, in hundredths, -1 where the forecast does not reach or is stale. Each
// local interval takes the UT block that covers its middle: the block it shares
// most of its three hours with, so that with any bias every block lands in
// exactly one local interval. Returns the number of intervals with a value.
int KpForecastLocalDay(const TKpForecast &Forecast, double NowUt, int32_t BiasMinutes,
                       int Hundredths[KpDayIntervals]);

// The highest forecast value of the next 24 hours: of the blocks that end after
// NowUt and start within 24 hours of it, the first with the highest value.
struct TKpForecastPeak {
    int Hundredths = -1;
    double DueUt = 0; // the block's start; before NowUt when it has begun
    bool Storm = false; // some block of the 24 hours rounds to 5 or more
};

// False, with Peak untouched, when the forecast is stale or has no block in the
// next 24 hours.
bool KpForecastNext24Hours(const TKpForecast &Forecast, double NowUt, TKpForecastPeak &Peak);
