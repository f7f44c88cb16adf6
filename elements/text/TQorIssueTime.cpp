#include "TQorIssueTime.h"

#include "IssueTime.h"
#include "TimeServices.h"

using winlayer::TSystemTime;

void TQorIssueTime::doRead(TData &, uint16_t)
{
    const int32_t bias = ReadIntegerLink(Bias);
    // 1.
    Known = 0;
    if (TArrayRec *lines = ReadArray(Lines)) {
        const int32_t count = lines->ArrayCountProc.Code(lines->ArrayCountProc.Self);
        TData index, item;
        for (int32_t i = 0; i < count && !Known; ++i) {
            index.dtInteger(i);
            if (lines->ArrayGetProc.Code(lines->ArrayGetProc.Self, index, item) &&
                ParseIssuedLine(ToString(item), IssuedUt))
                Known = 1;
        }
    }
    // 2.
    Stale = StaleNow(bias);
    // 3.
    Announce(bias);
}

void TQorIssueTime::doCheck(TData &, uint16_t)
{
    const int32_t bias = ReadIntegerLink(Bias);
    const uint8_t stale = StaleNow(bias);
    if (stale == Stale)
        return;
    Stale = stale;
    Announce(bias);
}

bool TQorIssueTime::StaleNow(int32_t BiasMinutes) const
{
    return Known && IsStale(IssuedUt, UtNow(BiasMinutes));
}

void TQorIssueTime::Announce(int32_t BiasMinutes)
{
    std::string text;
    TSystemTime local{};
    if (Known && winlayer::DateTimeToSystemTime(UtToLocal(IssuedUt, BiasMinutes), local)) {
        std::string datePass;
        LocaleDateText(local, Stale ? StaleFormat : Format, datePass);
        LocaleTimeText(local, datePass, text);
    }
    CallEventStr(onText, text);
    CallEventInt(onColor, static_cast<int32_t>(Stale ? ColorStale : ColorFresh));
    CallEventInt(onStale, Stale);
}
