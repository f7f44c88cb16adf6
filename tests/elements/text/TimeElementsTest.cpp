// TQorTime, TQorDateConvertor and the portable date and time pictures.
#include <gtest/gtest.h>

#include "TextTestKit.h"
#include "elements/text/TQorDateConvertor.h"
#include "elements/text/TQorTime.h"
#include "elements/text/TimeServices.h"

using namespace textkit;
using winlayer::TSystemTime;

namespace {

// Runs Method of a date converter with Format on the value In.
Journal Convert(void (TQorDateConvertor::*Method)(TData &, uint16_t), const std::string &Format, const TData &In,
                TSystemTime *Parts = nullptr)
{
    Bench b;
    TQorDateConvertor *conv = b.Make<TQorDateConvertor>();
    conv->Format = Format;
    conv->Parts = TSystemTime{2000, 2, 4, 3, 5, 6, 7, 8};
    b.ProbeFor(conv->onResult, "onResult");
    Journal log = b.Run(conv, Method, In);
    if (Parts)
        *Parts = conv->Parts;
    log.push_back("Minute " + Show(Read(conv, &TQorDateConvertor::Minute)));
    return log;
}

} // namespace

TEST(TQorTime, NowAndPartReadTheClockInUseAtEveryRead)
{
    Running on;
    static TSystemTime fixed{2024, 1, 1, 1, 18, 0, 0, 0};
    TClockProc platform = SetClock([] { return fixed; });
    Bench b;
    TQorTime *clock = b.Make<TQorTime>();
    EXPECT_EQ(Read(clock, &TQorTime::Now).RealValue, 738886.75);
    EXPECT_EQ(Show(Read(clock, &TQorTime::Part)), "int 18");
    clock->PartSel = 1;
    EXPECT_EQ(Show(Read(clock, &TQorTime::Part)), "int 2024");
    fixed.Minute = 36;
    EXPECT_EQ(Read(clock, &TQorTime::Now).RealValue, 738886.75 + 36.0 / 1440.0);
    SetClock(platform);
}

TEST(TQorDateConvertor, DecodeFillsThePartsAndSignalsWithNullUpToTheLimit)
{
    Running on;
    auto check = [](const TData &In, const Journal &Expected, uint16_t Year, uint16_t DayOfWeek, uint16_t Hour) {
        TSystemTime parts{};
        EXPECT_EQ(Convert(&TQorDateConvertor::doDecode, "HHmm", In, &parts), Expected) << Show(In);
        EXPECT_EQ(parts.Year, Year) << Show(In);
        EXPECT_EQ(parts.DayOfWeek, DayOfWeek) << Show(In);
        EXPECT_EQ(parts.Hour, Hour) << Show(In);
    };
    check(RealData(738886.75), {"onResult null", "Minute int 0"}, 2024, 1, 18);
    check(StrData("738892.521527777"), {"onResult null", "Minute int 31"}, 2024, 7, 12);
    check(RealData(0.25), {"onResult null", "Minute int 0"}, 0, 0, 0);
    check(RealData(202751589.5), {"Minute int 6"}, 2000, 4, 5); // above the limit: nothing at all
}

TEST(TQorDateConvertor, FormatExpandsTheDateThenTheTimePicturesAndKeepsOtherBytes)
{
    Running on;
    auto check = [](const std::string &Format, double Value, const Journal &Expected) {
        Journal log = Convert(&TQorDateConvertor::doFormat, Format, RealData(Value));
        log.pop_back(); // the minute of the parts, which formatting leaves alone
        EXPECT_EQ(log, Expected) << "format \"" << Format << "\" of " << Value;
    };
    check("HHmm", 738886.5, {"onResult str 1200"});
    check("d.MM.yyyy H:mm:ss", 738886.75, {"onResult str 1.01.2024 18:00:00"});
    // "Данные обновлены: " in code page 1251, byte for byte.
    check("Данные обновлены: HH:mm", 738886.0 + (14 * 60 + 5) / 1440.0,
          {"onResult str \xC4\xE0\xED\xED\xFB\xE5 \xEE\xE1\xED\xEE\xE2\xEB\xE5\xED\xFB: 14:05"});
    check("HH:mm", 0.5, {"onResult str "}); // no date below 1.0: no text, but a result
    check("HH:mm", 202751589.5, {});          // above the limit: nothing at all
}
