#include "TQorKpDecimals.h"

namespace {

const int Fields = 8;

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

// An optional '-', at least one digit, '.', exactly two digits.
bool IsDecimal(const std::string &S, size_t Begin, size_t End)
{
    size_t p = Begin;
    if (p < End && S[p] == '-')
        ++p;
    const size_t digits = p;
    while (p < End && IsDigit(S[p]))
        ++p;
    return p > digits && End - p == 3 && S[p] == '.' && IsDigit(S[p + 1]) && IsDigit(S[p + 2]);
}

} // namespace

// Lines end at CR or LF, as the list that reads the result splits them.
void TQorKpDecimals::Result(TData &Data, uint16_t)
{
    const std::string source = ReadString(Data, Text, std::string());
    Rows = 0;
    Clamped = 0;

    std::string out;
    out.reserve(source.size());
    size_t begin = 0;
    while (begin < source.size()) {
        size_t end = source.find_first_of("\r\n", begin);
        if (end == std::string::npos)
            end = source.size();
        if (!RewriteRow(source, begin, end, out))
            out.append(source, begin, end - begin);
        const size_t next = source.find_first_not_of("\r\n", end);
        const size_t breaks = next == std::string::npos ? source.size() : next;
        out.append(source, end, breaks - end);
        begin = breaks;
    }

    Data.dtString(std::move(out));
}

// Appends the row [Begin, End) of Source in the older layout to Out, when its
// last eight fields are decimals; otherwise leaves Out alone.
bool TQorKpDecimals::RewriteRow(const std::string &Source, size_t Begin, size_t End, std::string &Out)
{
    // The eight fields, found from the right: only the last eight fields of a
    // long line are ever looked at.
    size_t from[Fields], to[Fields];
    size_t p = End;
    for (int i = Fields - 1; i >= 0; --i) {
        while (p > Begin && IsBlank(Source[p - 1]))
            --p;
        to[i] = p;
        while (p > Begin && !IsBlank(Source[p - 1]))
            --p;
        from[i] = p;
        if (from[i] == to[i] || !IsDecimal(Source, from[i], to[i]))
            return false;
    }

    Out.append(Source, Begin, from[0] - Begin);
    for (int i = 0; i < Fields; ++i) {
        if (Source[from[i]] == '-') {
            Out += "-1";
            continue;
        }
        // Leading zeros aside, more than one digit before the point is above 9
        // whatever its length.
        const size_t point = to[i] - 3;
        size_t first = from[i];
        while (first + 1 < point && Source[first] == '0')
            ++first;
        int value = point - first > 1 ? 10 : Source[first] - '0';
        if (Source[point + 1] >= '5')
            ++value;
        if (value > 9) {
            value = 9;
            ++Clamped;
        }
        Out += ' ';
        Out += static_cast<char>('0' + value);
    }
    ++Rows;
    return true;
}
