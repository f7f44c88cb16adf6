#include "NumText.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "Assert.h"

namespace winlayer {

namespace {

// value * 10^k with one rounding for |k| up to 22, where the power is exact.
// (Also keeps the C library's pow, a good part of the product's size, out.)
double ScaleByPowerOfTen(double value, int k)
{
    static const double exact[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    for (; k > 22; k -= 22)
        value *= 1e22;
    for (; k < -22; k += 22)
        value /= 1e22;
    return k >= 0 ? value * exact[k] : value / exact[-k];
}

} // namespace

std::string IntToText(int32_t value)
{
    return std::to_string(value);
}

int32_t TextToInt(const char *text, size_t length)
{
    size_t i = 0;
    bool negative = false;
    if (i < length && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

int32_t TextToInt(const std::string &text)
{
    return TextToInt(text.data(), text.size());
}

double TextToReal(const std::string &text)
{
    size_t i = 0;
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        i = 1;
    }
    double whole = 0.0, fraction = 0.0, scale = 0.1;
    bool afterPoint = false;
    int exponent = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            if (afterPoint) {
                fraction += (c - '0') * scale;
                scale *= 0.1;
            } else {
                whole = whole * 10.0 + (c - '0');
            }
        } else if (c == '.') {
            if (afterPoint)
                break;
            afterPoint = true;
        } else if (c == 'E' || c == 'e') {
            exponent = TextToInt(text.data() + i + 1, text.size() - i - 1);
            break;
        }
    }
    double value = whole + fraction;
    if (exponent != 0)
        value = ScaleByPowerOfTen(value, exponent);
    return negative ? -value : value;
}

double RoundHalfEven(double value)
{
    // nearbyint honours the current rounding mode, which is to-nearest-even
    // unless someone changed it; make sure of it.
    int mode = std::fegetround();
    if (mode == FE_TONEAREST)
        return std::nearbyint(value);
    std::fesetround(FE_TONEAREST);
    double r = std::nearbyint(value);
    std::fesetround(mode);
    return r;
}

int32_t RoundToInt(double value)
{
    double r = RoundHalfEven(value);
    if (!(r == r))
        return 0;
    // Out-of-range reals wrap like the 32-bit integer they are stored in.
    if (r >= -2147483648.0 && r <= 2147483647.0)
        return static_cast<int32_t>(r);
    double m = std::fmod(r, 4294967296.0);
    if (m < 0)
        m += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(m));
}

std::string RealToText(double value)
{
    if (value == 0.0 || std::isnan(value))
        return "0";
    bool negative = value < 0;
    double m = negative ? -value : value;
    if (std::isinf(m))
        return negative ? "-Inf" : "Inf";

    // Find how many places the value must move to hold 15 digits before the
    // point, then move it with one multiplication by an exact power of ten where
    // there is one, so the digits are not blurred by repeated scaling.
    int places = 0;
    double probe = m;
    while (probe < 5e12) {
        probe *= 10.0;
        ++places;
    }
    if (places == 0) {
        while (probe >= 1e13) {
            probe /= 10.0;
            --places;
        }
    }
    auto scaled = [m](int k) { return ScaleByPowerOfTen(m, k); };
    double r = RoundHalfEven(scaled(places));
    while (r < 1e14) {
        ++places;
        r = RoundHalfEven(scaled(places));
    }
    int counter = 15 - places;

    // Sixteen places with a leading zero, as the digits are laid out before the
    // first one is dropped.
    std::string digits(16, '0');
    uint64_t n = static_cast<uint64_t>(r);
    for (int i = 15; i >= 0; --i) {
        digits[static_cast<size_t>(i)] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    Check(digits[0] == '0', "error!");
    digits.erase(0, 1);

    std::string text;
    if (counter >= 15) {
        text = digits + std::string(static_cast<size_t>(counter - 15), '0');
    } else {
        if (counter >= 1)
            text = digits.substr(0, static_cast<size_t>(counter)) + "." + digits.substr(static_cast<size_t>(counter));
        else
            text = "0." + std::string(static_cast<size_t>(-counter), '0') + digits;
        size_t last = text.find_last_not_of('0');
        text.erase(last + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return negative ? "-" + text : text;
}

} // namespace winlayer
