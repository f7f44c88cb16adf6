#include "TQorDateConvertor.h"

#include "TimeServices.h"

using winlayer::DateTimeToSystemTime;
using winlayer::TSystemTime;

void TQorDateConvertor::doDecode(TData &Data, uint16_t)
{
    Value = ReadReal(Data, DateTime, 0.0);
    if (Value > MaxDateTimeValue)
        return;
    Parts = TSystemTime{};
    DateTimeToSystemTime(Value, Parts);
    Result.dtNull();
    ForwardValue(Data, onResult, Result);
}

void TQorDateConvertor::doFormat(TData &Data, uint16_t)
{
    Value = ReadReal(Data, DateTime, 0.0);
    if (Value > MaxDateTimeValue)
        return;

    // A value below 1.0 leaves the date record empty, which the date pass
    // refuses: the text is then empty.
    TSystemTime date{};
    DateTimeToSystemTime(Value, date);
    std::string datePass;
    LocaleDateText(date, Format, datePass);
    TSystemTime time{};
    DateTimeToSystemTime(Value < 1.0 ? Value + 1.0 : Value, time);
    std::string text;
    LocaleTimeText(time, datePass, text);

    Result.dtString(text);
    ForwardValue(Data, onResult, Result);
}

void TQorDateConvertor::Minute(TData &Data, uint16_t)
{
    Data.dtInteger(Parts.Minute);
}
