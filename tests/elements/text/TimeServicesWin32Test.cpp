// What only Windows gives: the local clock and the locale's date and time
// pictures. Run under Wine with LANG=ru_RU.UTF-8 (scripts/wine-run.sh), so the
// user's locale is Russian and the ANSI code page 1251.
#include <gtest/gtest.h>

#include <windows.h>

#include "elements/text/DatePicture.h"
#include "elements/text/TimeServices.h"

using winlayer::TSystemTime;

TEST(TimeServicesWin32, ThePlatformClockIsGetLocalTimeWithSundayAs7)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    const TSystemTime now = LocalNow();
    GetLocalTime(&after);
    EXPECT_GE(winlayer::SystemTimeToDateTime(now),
              winlayer::SystemTimeToDateTime(*reinterpret_cast<const TSystemTime *>(&before)));
    EXPECT_EQ(now.DayOfWeek, after.wDayOfWeek == 0 ? 7 : after.wDayOfWeek);
}

TEST(TimeServicesWin32, LocalePicturesAgreeWithThePortableOnesAndKeepCyrillicBytes)
{
    ASSERT_EQ(GetACP(), 1251u) << "run through scripts/wine-run.sh, which sets LANG=ru_RU.UTF-8";
    const TSystemTime times[] = {{2024, 1, 1, 1, 0, 0, 0, 0}, {2009, 12, 4, 31, 23, 59, 59, 0},
                                 {1601, 1, 1, 1, 12, 5, 9, 0}, {1600, 12, 0, 31, 0, 0, 0, 0},
                                 {2024, 2, 0, 29, 24, 0, 0, 0}, {}};
    const char *pictures[] = {"d dd M MM y yy yyy yyyy", "h hh H HH m mm s ss", "'d' d 'it''s' HHH:mmm",
                              "Данные обновлены: HH:mm"};
    for (const TSystemTime &t : times) {
        for (const char *picture : pictures) {
            std::string platform = "stale", portable = "stale";
            EXPECT_EQ(LocaleDateText(t, picture, platform), ExpandDatePicture(t, picture, portable));
            EXPECT_EQ(platform, portable) << "date picture \"" << picture << "\" for " << t.Year << "-" << t.Day;
            EXPECT_EQ(LocaleTimeText(t, picture, platform), ExpandTimePicture(t, picture, portable));
            EXPECT_EQ(platform, portable) << "time picture \"" << picture << "\" at " << t.Hour << ":" << t.Minute;
        }
    }
}
