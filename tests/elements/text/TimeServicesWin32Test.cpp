// What only Windows gives: the local clock, the locale's date and time
// pictures and the module's own folder. Run under Wine with LANG=ru_RU.UTF-8,
// so the user's locale is Russian and the ANSI code page 1251.
#include <gtest/gtest.h>

#include <windows.h>

#include "TextTestKit.h"
#include "elements/text/DatePicture.h"
#include "elements/text/TQorDateConvertor.h"
#include "elements/text/TQorDir.h"
#include "elements/text/TimeServices.h"

using namespace textkit;
using winlayer::TSystemTime;

namespace {

TSystemTime At(uint16_t Year, uint16_t Month, uint16_t Day, uint16_t Hour, uint16_t Minute, uint16_t Second)
{
    return TSystemTime{Year, Month, 0, Day, Hour, Minute, Second, 0};
}

double Value(const SYSTEMTIME &st)
{
    return winlayer::SystemTimeToDateTime(
        TSystemTime{st.wYear, st.wMonth, 0, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

} // namespace

TEST(TimeServicesWin32, TheTestsRunInARussianLocaleWithCodePage1251)
{
    EXPECT_EQ(GetACP(), 1251u) << "run through scripts/wine-run.sh, which sets LANG=ru_RU.UTF-8";
    EXPECT_EQ(PRIMARYLANGID(GetUserDefaultLangID()), LANG_RUSSIAN);
}

TEST(TimeServicesWin32, ThePlatformClockIsGetLocalTime)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    TSystemTime now = LocalNow();
    GetLocalTime(&after);
    double value = winlayer::SystemTimeToDateTime(now);
    EXPECT_GE(value, Value(before));
    EXPECT_LE(value, Value(after));
    EXPECT_EQ(now.DayOfWeek, after.wDayOfWeek == 0 ? 7 : after.wDayOfWeek) << "7 is Sunday, not 0";
}

TEST(TimeServicesWin32, NumericPicturesAgreeWithThePortableExpansion)
{
    const TSystemTime times[] = {At(2024, 1, 1, 0, 0, 0),   At(2024, 3, 5, 9, 7, 3),    At(2009, 12, 31, 23, 59, 59),
                                 At(1601, 1, 1, 12, 0, 0),  At(2024, 2, 29, 12, 30, 5), At(9999, 12, 31, 15, 4, 9)};
    const char *datePictures[] = {"d", "dd", "M", "MM", "y", "yy", "yyy", "yyyy", "yyyyy", "d.MM.yyyy", "'d' d", "'it''s' d",
                                  "HH:mm d"};
    const char *timePictures[] = {"h", "hh", "H", "HH", "m", "mm", "s", "ss", "HH:mm:ss", "HHmm", "'H' H", "hhh:mmm:sss", "HHH",
                                  "d HH"};
    for (const TSystemTime &t : times) {
        for (const char *picture : datePictures) {
            std::string platform, portable;
            EXPECT_TRUE(LocaleDateText(t, picture, platform)) << picture;
            EXPECT_TRUE(ExpandDatePicture(t, picture, portable));
            EXPECT_EQ(platform, portable) << "date picture \"" << picture << "\" for " << t.Year << "-" << t.Month
                                          << "-" << t.Day;
        }
        for (const char *picture : timePictures) {
            std::string platform, portable;
            EXPECT_TRUE(LocaleTimeText(t, picture, platform)) << picture;
            EXPECT_TRUE(ExpandTimePicture(t, picture, portable));
            EXPECT_EQ(platform, portable) << "time picture \"" << picture << "\" at " << t.Hour << ":" << t.Minute;
        }
    }
}

TEST(TimeServicesWin32, NamesComeFromTheUsersLocale)
{
    char month[80] = {}, day[80] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME3, month, sizeof month), 0);
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDAYNAME2, day, sizeof day), 0); // Tuesday
    std::string text;
    ASSERT_TRUE(LocaleDateText(At(2024, 3, 5, 0, 0, 0), "MMMM", text));
    EXPECT_EQ(text, month);
    ASSERT_TRUE(LocaleDateText(At(2024, 3, 5, 0, 0, 0), "dddd", text));
    EXPECT_EQ(text, day);
    ASSERT_FALSE(text.empty());
    EXPECT_GE(static_cast<unsigned char>(text[0]), 0xC0) << "a Cyrillic day name in code page 1251: " << text;
}

TEST(TimeServicesWin32, CyrillicTextInAPictureKeepsItsBytesThroughBothPasses)
{
    // "Данные обновлены: HH:mm" in code page 1251, byte for byte.
    const std::string words = "\xC4\xE0\xED\xED\xFB\xE5 \xEE\xE1\xED\xEE\xE2\xEB\xE5\xED\xFB: ";
    ASSERT_EQ(std::string("Данные обновлены: "), words) << "the build writes its texts in code page 1251";
    const TSystemTime t = At(2024, 1, 1, 14, 5, 0);
    std::string datePass, timePass;
    ASSERT_TRUE(LocaleDateText(t, words + "HH:mm", datePass));
    EXPECT_EQ(datePass, words + "HH:mm");
    ASSERT_TRUE(LocaleTimeText(t, datePass, timePass));
    EXPECT_EQ(timePass, words + "14:05");

    Running on;
    Bench b;
    TQorDateConvertor *conv = b.Make<TQorDateConvertor>();
    conv->Mode = 9;
    conv->Format = "Данные обновлены: HH:mm";
    b.ProbeFor(conv->onResult, "onResult");
    Fire(conv, &TQorDateConvertor::doFormat, RealData(738886.0 + (14 * 60 + 5) / 1440.0));
    EXPECT_EQ(b.Log, Journal{"onResult str " + words + "14:05"});
}

TEST(TimeServicesWin32, ThePlatformRefusesWhatThePortableExpansionRefuses)
{
    std::string text = "stale";
    EXPECT_FALSE(LocaleDateText(At(1600, 12, 31, 0, 0, 0), "d", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(LocaleDateText(TSystemTime{}, "d", text)) << "the empty record of a value below 1.0";
    EXPECT_FALSE(LocaleTimeText(At(2024, 1, 1, 24, 0, 0), "HH", text));
    EXPECT_TRUE(LocaleTimeText(At(0, 0, 0, 6, 30, 0), "HH:mm", text)) << "the time pass does not look at the date";
    EXPECT_EQ(text, "06:30");
}

TEST(TimeServicesWin32, DirIsTheFolderOfTheModulesFileName)
{
    Running on;
    char name[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, name, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::string file(name, n);
    Bench b;
    TQorDir *dir = b.Make<TQorDir>();
    EXPECT_EQ(Read(dir, &TQorDir::Dir).StrValue, file.substr(0, file.rfind('\\') + 1));
}
