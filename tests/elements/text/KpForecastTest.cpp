// The provider's 3-day Kp forecast: its table read, its UT blocks laid on the
// local day, the peak of the next 24 hours, and all of it as the forecast
// element tells it by a set clock and bias.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "TextTestKit.h"
#include "elements/text/KpForecast.h"
#include "elements/text/TQorKpForecast.h"
#include "elements/text/TimeServices.h"
#include "runtime/TQorMemory.h"
#include "winlayer/DateTime.h"

using winlayer::TSystemTime;

namespace {

double At(uint16_t Year, uint16_t Month, uint16_t Day, uint16_t Hour = 0, uint16_t Minute = 0)
{
    return winlayer::SystemTimeToDateTime(TSystemTime{Year, Month, 0, Day, Hour, Minute, 0, 0});
}

std::string Sample()
{
    std::ifstream file(TERVIK_SAMPLE_FORECAST, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

const char *const Rows[] = {
    "00-03UT        3.67      3.33      2.00", "03-06UT        3.67      3.67      2.67",
    "06-09UT        3.00      3.00      2.33", "09-12UT        2.67      2.67      2.00",
    "12-15UT        2.33      2.33      1.67", "15-18UT        2.33      2.00      1.67",
    "18-21UT        2.67      2.33      2.00", "21-00UT        2.33      2.67      2.00",
};

// A forecast file: the issue line (none when empty), the title, the header,
// Count of the rows, with Row 1 (03-06UT) and the last replaced when given.
std::string File(const std::string &Issued, const std::string &Header, int Count = 8, const char *Row1 = nullptr,
                 const char *Last = nullptr, const char *End = "\n")
{
    std::string text = ":Product: Geomagnetic Forecast" + std::string(End);
    if (!Issued.empty())
        text += ":Issued: " + Issued + End;
    text += "#" + std::string(End) + "NOAA Kp index forecast 05 Oct - 07 Oct" + End + Header + End;
    for (int r = 0; r < Count; ++r)
        text += std::string(r == 1 && Row1 ? Row1 : r == 7 && Last ? Last : Rows[r]) + End;
    return text;
}

const std::string October = "             Oct 05    Oct 06    Oct 07";
const std::string NewYear = "             Dec 31    Jan 01    Jan 02";

std::string Day(double Value)
{
    TSystemTime t{};
    if (!winlayer::DateTimeToSystemTime(Value, t))
        return "none";
    return std::to_string(t.Year) + "-" + std::to_string(t.Month) + "-" + std::to_string(t.Day) +
           (t.Hour || t.Minute ? " " + std::to_string(t.Hour) + ":" + std::to_string(t.Minute) : "");
}

// "2026-10-4 22:5 | 2026-10-5 2026-10-6 2026-10-7 | 367 367 ..." (issue, days,
// values); a block that does not start three hours after the one before marked "!".
std::string Show(const TKpForecast &F)
{
    std::string text = Day(F.Issued) + " | " + Day(F.Start[0]) + " " + Day(F.Start[8]) + " " + Day(F.Start[16]) + " |";
    for (int b = 0; b < 24; ++b)
        text += (b && F.Start[b] != F.Start[b - 1] + 1 / 8.0 ? " !" : " ") + std::to_string(F.Hundredths[b]);
    return text;
}

const std::string Values =
    " | 367 367 300 267 233 233 267 233 333 367 300 267 233 200 233 267 200 267 233 200 167 167 200 200";

} // namespace

TEST(KpForecast, ReadsTheWholeTableOrNothing)
{
    const double october = At(2026, 10, 6, 12);
    const struct {
        const char *What;
        std::string Text;
        double About;
        std::string Expected; // empty: no forecast
    } cases[] = {
        {"the table", File("2026 Oct 04 2205 UTC", October), october,
         "2026-10-4 22:5 | 2026-10-5 2026-10-6 2026-10-7" + Values},
        {"no issue line, CR LF", File("", October, 8, nullptr, nullptr, "\r\n"), october,
         "none | 2026-10-5 2026-10-6 2026-10-7" + Values},
        {"storm marks, 21-24UT",
         File("", October, 8, "03-06UT  5.67 (G2)  4.67 (G1)  3.00", "21-24UT  2.33  2.67  2.00"), october,
         "none | 2026-10-5 2026-10-6 2026-10-7 | 367 567 300 267 233 233 267 233 333 467 300 267 233 200 233 267 "
         "200 300 233 200 167 167 200 200"},
        {"a new year, issued", File("2026 Dec 30 2205 UTC", NewYear), october,
         "2026-12-30 22:5 | 2026-12-31 2027-1-1 2027-1-2" + Values},
        {"a new year, from the clock", File("", NewYear), At(2027, 1, 1, 5),
         "none | 2026-12-31 2027-1-1 2027-1-2" + Values},
        {"the bundled sample", Sample(), october,
         "2026-12-6 12:30 | 2026-12-6 2026-12-7 2026-12-8 | 233 200 233 267 300 333 367 433 467 533 433 367 333 367 "
         "333 367 333 300 267 233 233 267 300 333"},
        {"cut short", File("", October, 7), october, ""},
        {"the last row cut", File("", October, 7) + "21-00UT        2.33      2.67", october, ""},
        {"no header", File("", "00-03UT        3.67      3.33      2.00", 7), october, ""},
        {"days not in a row", File("", "             Oct 05    Oct 07    Oct 08"), october, ""},
        {"a page", "<html><body><pre>\n" + File("", October) + "</pre></body></html>\n", october, ""},
        {"empty", "", october, ""},
    };
    for (const auto &c : cases) {
        TKpForecast forecast;
        const bool read = ParseKpForecast(c.Text, c.About, forecast);
        EXPECT_EQ(read ? Show(forecast) : "", c.Expected) << c.What;
        EXPECT_EQ(IsKpForecastFile(c.Text, c.About), read) << c.What;
    }
}

TEST(KpForecast, LaysTheBlocksOnTheLocalDayAndFindsThePeakOfTheNext24Hours)
{
    // The table of 6-8 Oct issued 5 Oct 22:05 UT, block b worth b * 30 hundredths so that a value names its block.
    TKpForecast numbered;
    numbered.Issued = At(2026, 10, 5, 22, 5);
    for (int b = 0; b < KpForecastBlocks; ++b)
        numbered.Start[b] = At(2026, 10, 6) + b / 8.0, numbered.Hundredths[b] = b * 30;
    const struct {
        int32_t Bias;
        double NowUt;
        const char *Blocks;
    } days[] = {
        {0, At(2026, 10, 6, 14, 45), "0 1 2 3 4 5 6 7"},
        // East: local midnight is 21:00 UT the day before, before the table.
        {-180, At(2026, 10, 6, 11, 45), "-1 0 1 2 3 4 5 6"},
        {-180, At(2026, 10, 6, 23, 0), "7 8 9 10 11 12 13 14"},
        // West: the last local interval is 02:00-05:00 UT the next day, mostly its 03-06UT.
        {300, At(2026, 10, 6, 15, 0), "2 3 4 5 6 7 8 9"},
        {300, At(2026, 10, 7, 4, 59), "2 3 4 5 6 7 8 9"},
        // Off the 3-hour grid: 23:00-02:00 UT takes 00-03UT, 18:30-21:30 UT takes 18-21UT.
        {-60, At(2026, 10, 6, 11, 0), "0 1 2 3 4 5 6 7"},
        {-330, At(2026, 10, 6, 6, 30), "-1 -1 0 1 2 3 4 5"},
        // 36 hours after the issue, then a minute more.
        {0, At(2026, 10, 7, 10, 5), "8 9 10 11 12 13 14 15"},
        {0, At(2026, 10, 7, 10, 6), "-1 -1 -1 -1 -1 -1 -1 -1"},
    };
    for (const auto &d : days) {
        int values[KpDayIntervals];
        const int found = KpForecastLocalDay(numbered, d.NowUt, d.Bias, values);
        std::string blocks;
        int count = 0;
        for (int v : values) {
            blocks += (blocks.empty() ? "" : " ") + std::to_string(v < 0 ? -1 : v / 30);
            count += v >= 0;
        }
        EXPECT_EQ(blocks, d.Blocks) << "bias " << d.Bias << " at " << std::fixed << d.NowUt;
        EXPECT_EQ(found, count) << "bias " << d.Bias << " at " << std::fixed << d.NowUt;
    }

    TKpForecast sample;
    ASSERT_TRUE(ParseKpForecast(Sample(), 0, sample)) << TERVIK_SAMPLE_FORECAST;
    const struct {
        double NowUt;
        const char *Peak;
    } peaks[] = {
        // The block that starts 24 hours on is not in; a minute later it is (4.67 rounds to 5).
        {At(2026, 12, 6, 0, 0), "433 at 2026-12-6 21:0"},
        {At(2026, 12, 6, 0, 1), "467 at 2026-12-7 storm"},
        {At(2026, 12, 6, 12, 45), "533 at 2026-12-7 3:0 storm"},
        // The block under way counts; 4.33 is no storm.
        {At(2026, 12, 7, 6, 10), "433 at 2026-12-7 6:0"},
        // Of equal values the first; then out of date.
        {At(2026, 12, 8, 0, 30), "333 at 2026-12-8"},
        {At(2026, 12, 8, 0, 31), "none"},
    };
    for (const auto &p : peaks) {
        TKpForecastPeak peak;
        const bool found = KpForecastNext24Hours(sample, p.NowUt, peak);
        const auto told = std::to_string(peak.Hundredths) + " at " + Day(peak.DueUt) + (peak.Storm ? " storm" : "");
        EXPECT_EQ(found ? told : "none", p.Peak) << std::fixed << p.NowUt;
    }
}

namespace {

TSystemTime ForecastNow{};

// The forecast element reading Path with the bias from a memory at the local
// clock ForecastNow, telling everything into the bench's journal.
struct Shown : textkit::Bench {
    TQorMemory *BiasStore = Make<TQorMemory>();
    TQorKpForecast *Forecast = Make<TQorKpForecast>();
    TClockProc Platform = SetClock([] { return ForecastNow; });

    Shown(const std::string &Path, int32_t Bias)
    {
        BiasStore->SetDefault(IntData(Bias));
        Forecast->FFileName = Path;
        Forecast->LineText = "peak ";
        Forecast->TipText = "storm ";
        Forecast->AlertText = "expected ";
        Forecast->DueToday = "'at' HH:mm";
        Forecast->DueTomorrow = "'tomorrow' HH:mm";
        Forecast->DueNow = "now";
        Forecast->ColorLow = 1;
        Forecast->ColorMiddle = 2;
        Forecast->ColorHigh = 3;
        LinkData(Forecast->Bias, BiasStore, &TQorMemory::Value, 0);
        for (auto point : {std::make_pair(&Forecast->onDay, "day"), {&Forecast->onLine, "line"},
                           {&Forecast->onColor, "color"}, {&Forecast->onTip, "tip"}, {&Forecast->onAlert, "alert"}})
            ProbeFor(*point.first, point.second);
    }
    ~Shown() { SetClock(Platform); }
};

textkit::Journal Everything(const std::string &Day, const std::string &Line, int Color, const std::string &Tip)
{
    return {"day str " + Day, "line str " + Line, "color int " + std::to_string(Color), "tip str " + Tip};
}

std::string Written(const std::string &Name, const std::string &Bytes)
{
    const std::string path = (std::filesystem::temp_directory_path() / Name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << Bytes;
    return path;
}

} // namespace

// The bundled sample (issued 6 Dec 12:30 UT; 5.33 at 03-06UT on the 7th).
TEST(TQorKpForecast, ShowsTheRestOfTheLocalDayAndThePeakOfTheNext24HoursAndTellsAStormOncePerIssue)
{
    textkit::Running on;
    const std::string path = Written("tervik-forecast-test.txt", Sample());
    {
        Shown shown(path, 0);
        ForecastNow = {2026, 12, 0, 6, 14, 45, 0, 0};
        textkit::Journal first = Everything("----3344", "peak 5 tomorrow 03:00", 3, "storm 5 tomorrow 03:00");
        first.push_back("alert str expected 5 tomorrow 03:00");
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doRead), first);
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doCheck), textkit::Journal{});
        ForecastNow.Hour = 15;
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doCheck), textkit::Journal{"day str -----344"});
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doDay), textkit::Journal{"day str -----344"});
        // The next day, the storm due today, and no second balloon for the same issue.
        ForecastNow = {2026, 12, 0, 7, 0, 30, 0, 0};
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doCheck),
                  (textkit::Journal{"day str 55443434", "line str peak 5 at 03:00", "color int 3",
                                    "tip str storm 5 at 03:00"}));
        ForecastNow.Hour = 4;
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doRead),
                  Everything("-5443434", "peak 5 now", 3, "storm 5 now"));
        // 36 hours after the issue and a minute: nothing at all.
        ForecastNow = {2026, 12, 0, 8, 0, 31, 0, 0};
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doCheck),
                  (textkit::Journal{"day str --------", "line str ", "color int 1", "tip str "}));
    }
    {
        // Three hours east: local 14:45 is 11:45 UT; the peak at 03:00 UT is 06:00 local.
        Shown shown(path, -180);
        ForecastNow = {2026, 12, 0, 6, 14, 45, 0, 0};
        textkit::Journal east = Everything("----3334", "peak 5 tomorrow 06:00", 3, "storm 5 tomorrow 06:00");
        east.push_back("alert str expected 5 tomorrow 06:00");
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doRead), east);
    }
    // A page in place of the file, then no file: nothing, and never a balloon.
    for (const std::string &broken : {Written("tervik-forecast-test.txt", "<html>" + Sample()), path + ".none"}) {
        Shown shown(broken, 0);
        ForecastNow = {2026, 12, 0, 6, 14, 45, 0, 0};
        EXPECT_EQ(shown.Run(shown.Forecast, &TQorKpForecast::doRead), Everything("--------", "", 1, "")) << broken;
    }
    std::remove(path.c_str());
}
