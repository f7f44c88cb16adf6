#include <gtest/gtest.h>

#include "elements/text/DatePicture.h"

using winlayer::TSystemTime;

namespace {

TSystemTime At(uint16_t Year, uint16_t Month, uint16_t Day, uint16_t Hour = 0, uint16_t Minute = 0,
               uint16_t Second = 0)
{
    TSystemTime t{};
    t.Year = Year;
    t.Month = Month;
    t.Day = Day;
    t.Hour = Hour;
    t.Minute = Minute;
    t.Second = Second;
    return t;
}

struct Case {
    TSystemTime Time;
    std::string Picture;
    std::string Expected;
};

} // namespace

TEST(DatePicture, DatePicturesAreReplacedAndEverythingElseCopied)
{
    const TSystemTime tuesday = At(2024, 3, 5, 9, 7, 3); // 5 March 2024 was a Tuesday
    const Case cases[] = {
        {tuesday, "d", "5"},
        {tuesday, "dd", "05"},
        {tuesday, "ddd", "Tue"},
        {tuesday, "dddd", "Tuesday"},
        {tuesday, "ddddd", "Tuesday"},
        {tuesday, "M", "3"},
        {tuesday, "MM", "03"},
        {tuesday, "MMM", "Mar"},
        {tuesday, "MMMM", "March"},
        {tuesday, "y", "24"},
        {tuesday, "yy", "24"},
        {tuesday, "yyyy", "2024"},
        {At(2009, 12, 31), "y/yy/yyy/yyyy/yyyyy", "09/09/2009/2009/2009"},
        {At(2024, 1, 7), "dddd d MMMM", "Sunday 7 January"},
        {At(2024, 1, 1), "ddd", "Mon"},
        {tuesday, "dd.MM.yyyy HH:mm:ss tt", "05.03.2024 HH:mm:ss tt"},
        {tuesday, "'d' d", "d 5"},
        {tuesday, "'it''s' d", "it's 5"},
        {tuesday, "''d", "5"},
        {tuesday, "'unclosed d", "unclosed d"},
        {tuesday, "Данные обновлены: HH:mm", "Данные обновлены: HH:mm"},
        {tuesday, "", ""},
    };
    for (const Case &c : cases) {
        std::string text = "stale";
        EXPECT_TRUE(ExpandDatePicture(c.Time, c.Picture, text)) << c.Picture;
        EXPECT_EQ(text, c.Expected) << "date picture \"" << c.Picture << "\"";
    }
}

TEST(DatePicture, TimePicturesAreReplacedAndEverythingElseCopied)
{
    const Case cases[] = {
        {At(2024, 3, 5, 9, 7, 3), "h hh H HH m mm s ss t tt", "9 09 9 09 7 07 3 03 A AM"},
        {At(2024, 3, 5, 15, 0, 0), "h hh H HH tt", "3 03 15 15 PM"},
        {At(2024, 3, 5, 0, 0, 0), "h tt", "12 AM"},
        {At(2024, 3, 5, 12, 30, 0), "h:mm t", "12:30 P"},
        {At(2024, 3, 5, 23, 59, 59), "HHH:mmm:sss", "23:59:59"},
        {At(2024, 1, 1, 12, 0, 0), "HHmm", "1200"},
        {At(2024, 1, 1, 14, 5, 0), "Данные обновлены: HH:mm", "Данные обновлены: 14:05"},
        {At(2024, 1, 1, 14, 5, 0), "dd.MM.yyyy 'HH' HH", "dd.MM.yyyy HH 14"},
    };
    for (const Case &c : cases) {
        std::string text;
        EXPECT_TRUE(ExpandTimePicture(c.Time, c.Picture, text)) << c.Picture;
        EXPECT_EQ(text, c.Expected) << "time picture \"" << c.Picture << "\"";
    }
}

TEST(DatePicture, RecordsThePlatformWouldRefuseGiveNoText)
{
    const TSystemTime dates[] = {At(1600, 12, 31), At(0, 0, 0), At(2023, 2, 29), At(2024, 13, 1),
                                 At(2024, 4, 31), At(2024, 1, 0)};
    for (const TSystemTime &t : dates) {
        std::string text = "stale";
        EXPECT_FALSE(ExpandDatePicture(t, "d", text)) << t.Year << "-" << t.Month << "-" << t.Day;
        EXPECT_EQ(text, "");
    }
    EXPECT_TRUE([] { std::string s; return ExpandDatePicture(At(1601, 1, 1), "d", s); }());
    EXPECT_TRUE([] { std::string s; return ExpandDatePicture(At(2024, 2, 29), "d", s); }());

    TSystemTime late = At(2024, 1, 1, 24, 0, 0);
    std::string text = "stale";
    EXPECT_FALSE(ExpandTimePicture(late, "HH", text));
    EXPECT_EQ(text, "");
    late = At(2024, 1, 1, 23, 60, 0);
    EXPECT_FALSE(ExpandTimePicture(late, "HH", text));
    // The time pass does not look at the date.
    EXPECT_TRUE(ExpandTimePicture(At(0, 0, 0, 6, 30), "HH:mm", text));
    EXPECT_EQ(text, "06:30");
}
