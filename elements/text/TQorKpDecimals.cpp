#include "TQorKpDecimals.h"

namespace {

const int Fields = 8;

bool IsBlank(char C)
{
    return C == ' ' || C == '\t';
}

bool IsBreak(char C)
{
    return C == '\r' || C == '\n';
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

// Lines end at CR or LF, as the list that reads the result splits them. A file
// in the older layout comes back as it was read, without a copy.
void TQorKpDecimals::Result(TData &Data, uint16_t)
{
    std::string source = ReadString(Data, Text, std::string());
    Rows = 0;
    Clamped = 0;

    std::string out; // made once a row is rewritten
    size_t copied = 0; // the source before this is in out
    const size_t size = source.size();
    size_t begin = 0;
    while (begin < size) {
        size_t end = begin;
        while (end < size && !IsBreak(source[end]))
            ++end;
        size_t from[Fields], to[Fields];
        if (FindValues(source, begin, end, from, to)) {
            if (out.empty())
                out.reserve(source.size());
            out.append(source, copied, from[0] - copied);
            AppendValues(source, from, to, out);
            copied = end;
            ++Rows;
        }
        begin = end;
        while (begin < size && IsBreak(source[begin]))
            ++begin;
    }

    if (Rows == 0) {
        Data.dtString(std::move(source));
        return;
    }
    out.append(source, copied, std::string::npos);
    Data.dtString(std::move(out));
}

// True when the last eight fields of the row [Begin, End) of Source are
// decimals; From and To then hold where each one starts and ends. Found from
// the right: only the end of a long line is ever looked at.
bool TQorKpDecimals::FindValues(const std::string &Source, size_t Begin, size_t End, size_t *From, size_t *To)
{
    size_t p = End;
    for (int i = Fields - 1; i >= 0; --i) {
        while (p > Begin && IsBlank(Source[p - 1]))
            --p;
        To[i] = p;
        while (p > Begin && !IsBlank(Source[p - 1]))
            --p;
        From[i] = p;
        if (From[i] == To[i] || !IsDecimal(Source, From[i], To[i]))
            return false;
    }
    return true;
}

// Appends the eight values in the older layout: two characters each.
void TQorKpDecimals::AppendValues(const std::string &Source, const size_t *From, const size_t *To, std::string &Out)
{
    for (int i = 0; i < Fields; ++i) {
        if (Source[From[i]] == '-') {
            Out += "-1";
            continue;
        }
        // Leading zeros aside, more than one digit before the point is above 9
        // whatever its length.
        const size_t point = To[i] - 3;
        size_t first = From[i];
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
}
