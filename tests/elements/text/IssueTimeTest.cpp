// The data's own age: the issue time that DGD.txt states, told in local time
// by a set clock and time-zone bias, out of date after six hours; and the
// tooltip's second line.
#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorIssueTime.h"
#include "elements/text/TQorStrList.h"
#include "elements/text/TQorTrayTip.h"
#include "elements/text/TimeServices.h"
#include "runtime/TQorMemory.h"

using namespace textkit;
using winlayer::TSystemTime;

namespace {

TSystemTime Now{};

// An issue-time element reading the lines of File, with the bias from a memory,
// at the local clock Now.
struct Age : Bench {
    TQorStrList *Lines = Make<TQorStrList>();
    TQorMemory *Bias = Make<TQorMemory>();
    TQorIssueTime *Issue = Make<TQorIssueTime>();
    TClockProc Platform = SetClock([] { return Now; });

    Age(const std::string &IssueLine, int32_t BiasMinutes)
    {
        Lines->SetStrings(":Product: Daily Geomagnetic Data          DGD.txt\r\n" + IssueLine +
                          "\r\n#\r\n2026 12 06     6  1 2 2 2 2 2 2 1    13  1 3 4 4 3 2 2 1     7  1 2 2 3 2 2 2 1\r\n");
        Bias->SetDefault(IntData(BiasMinutes));
        Issue->Format = "dd.MM.yyyy HH:mm";
        Issue->StaleFormat = "! dd.MM.yyyy HH:mm";
        Issue->ColorFresh = 10;
        Issue->ColorStale = 20;
        LinkData(Issue->Lines, Lines, &TQorStrList::Array, 0);
        LinkData(Issue->Bias, Bias, &TQorMemory::Value, 0);
        ProbeFor(Issue->onText, "text");
        ProbeFor(Issue->onColor, "color");
        ProbeFor(Issue->onStale, "stale");
    }
    ~Age() { SetClock(Platform); }
};

Journal Told(const std::string &Text, int Stale)
{
    return {"text str " + Text, Stale ? "color int 20" : "color int 10", "stale int " + std::to_string(Stale)};
}

} // namespace

TEST(TQorIssueTime, TellsTheIssueTimeInLocalTimeAndCallsItOutOfDateOnlyAfterSixHours)
{
    Running on;
    const struct {
        const char *Line;
        int32_t Bias;
        TSystemTime Now;
        Journal Expected;
    } rows[] = {
        // Three hours east of Greenwich, across midnight: 23:30 UT is 02:30 the next day.
        {":Issued: 2330 UT 06 Dec 2026", -180, {2026, 12, 0, 7, 8, 29, 0, 0}, Told("07.12.2026 02:30", 0)},
        {":Issued: 2330 UT 06 Dec 2026", -180, {2026, 12, 0, 7, 8, 30, 0, 0}, Told("07.12.2026 02:30", 0)},
        {":Issued: 2330 UT 06 Dec 2026", -180, {2026, 12, 0, 7, 8, 31, 0, 0}, Told("! 07.12.2026 02:30", 1)},
        // Five hours west, back across midnight: 02:30 UT is 21:30 the day before.
        {":Issued: 0230 UT 07 Dec 2026", 300, {2026, 12, 0, 7, 3, 29, 0, 0}, Told("06.12.2026 21:30", 0)},
        {":Issued: 0230 UT 07 Dec 2026", 300, {2026, 12, 0, 7, 3, 31, 0, 0}, Told("! 06.12.2026 21:30", 1)},
        // Half an hour off the whole hours (the schedule's whole hours would be 6).
        {"  :Issued: 1230 UT 06 dec 2026", -330, {2026, 12, 0, 6, 18, 1, 0, 0}, Told("06.12.2026 18:00", 0)},
        // Issued after the clock (a clock behind): not out of date.
        {":Issued: 1230 UT 06 Dec 2026", 0, {2026, 12, 0, 6, 9, 0, 0, 0}, Told("06.12.2026 12:30", 0)},
        // No issue time: nothing to tell, never out of date.
        {"#", 0, {2030, 1, 0, 1, 0, 0, 0, 0}, Told("", 0)},
        {":Issued: 1260 UT 06 Dec 2026", 0, {2030, 1, 0, 1, 0, 0, 0, 0}, Told("", 0)},
        {":Issued: 1230 UT 31 Nov 2026", 0, {2030, 1, 0, 1, 0, 0, 0, 0}, Told("", 0)},
        {"# :Issued: 1230 UT 06 Dec 2026", 0, {2030, 1, 0, 1, 0, 0, 0, 0}, Told("", 0)},
    };
    for (const auto &row : rows) {
        Age age(row.Line, row.Bias);
        Now = row.Now;
        EXPECT_EQ(age.Run(age.Issue, &TQorIssueTime::doRead), row.Expected)
            << row.Line << " bias " << row.Bias << " at " << row.Now.Day << "." << row.Now.Month << " "
            << row.Now.Hour << ":" << row.Now.Minute;
    }
}

TEST(TQorIssueTime, ACheckTellsOnlyAChangeOfTheAgeAsTheClockGoesOn)
{
    Running on;
    Age age(":Issued: 1200 UT 06 Dec 2026", 0);
    Now = TSystemTime{2026, 12, 0, 6, 17, 59, 0, 0};
    EXPECT_EQ(age.Run(age.Issue, &TQorIssueTime::doRead), Told("06.12.2026 12:00", 0));
    EXPECT_EQ(age.Run(age.Issue, &TQorIssueTime::doCheck), Journal{});
    Now = TSystemTime{2026, 12, 0, 6, 18, 1, 0, 0};
    EXPECT_EQ(age.Run(age.Issue, &TQorIssueTime::doCheck), Told("! 06.12.2026 12:00", 1));
    EXPECT_EQ(age.Run(age.Issue, &TQorIssueTime::doCheck), Journal{});
}

TEST(TQorTrayTip, AddsTheLinesWithin63CharactersAndRepeatsTheTooltipOnlyWhenTheStateChanges)
{
    Running on;
    Bench b;
    TQorTrayTip *tip = b.Make<TQorTrayTip>();
    tip->StaleLine = "Данные устарели";
    b.ProbeFor(tip->onHint, "hint");
    const std::string line = "\n" + tip->StaleLine;
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doStale, IntData(1)), Journal{}) << "no tooltip yet";
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doHint, StrData("Kp:6")), Journal{"hint str Kp:6" + line});
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doStale, IntData(1)), Journal{});
    const std::string longer(70, 'x');
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doHint, StrData(longer)), Journal{"hint str " + longer.substr(0, 47) + line})
        << "63 characters, the line whole";
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doStale, IntData(0)), Journal{"hint str " + longer});
    // The forecast's line goes under the stale one, and goes when it is empty.
    const std::string storm = "Прогноз: буря Kp 6 завтра с 03:00";
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doHint, StrData("Kp:6")), Journal{"hint str Kp:6"});
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doForecast, StrData(storm)), Journal{"hint str Kp:6\n" + storm});
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doForecast, StrData(storm)), Journal{});
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doStale, IntData(1)), Journal{"hint str Kp:6" + line + "\n" + storm});
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doHint, StrData(longer)),
              Journal{"hint str " + longer.substr(0, 63 - line.size() - 1 - storm.size()) + line + "\n" + storm});
    EXPECT_EQ(b.Run(tip, &TQorTrayTip::doForecast, StrData("")), Journal{"hint str " + longer.substr(0, 47) + line});
}
