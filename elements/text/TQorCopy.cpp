#include "TQorCopy.h"

#include <string>
#include <utility>

void TQorCopy::doCopy(TData &Data, uint16_t)
{
    std::string text = ReadString(Data, Str, std::string());
    if (text.empty())
        return;

    // 64 bits, so that no Position or Count a scheme can give overflows the sums.
    int64_t from = ReadInteger(Data, Position, FPosition);
    int64_t count = ReadInteger(Data, Count, FCount);
    const int64_t length = static_cast<int64_t>(text.size());

    if (Direction == 1)
        from = length - count - from + 2;

    if (from <= 0) {
        count = count + from - 1;
        from = 1;
    }

    // The text read is this call's own: it is cut down in place.
    if (count > 0 && from <= length) {
        text.erase(0, static_cast<size_t>(from - 1));
        text.resize(static_cast<size_t>(count < length - from + 1 ? count : length - from + 1));
    } else {
        text.clear();
    }
    ForwardStr(Data, onCopy, std::move(text));
}
