// SPDX-License-Identifier: GPL-3.0-or-later
// Number/text conversions. Digits are produced and read independently of
// the process locale: the Qt shell sets the user's locale, and a decimal
// comma would otherwise leak into every record and display.
#include "support/numtext.h"

#include <locale.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace ks {

namespace {

// Longest text a %.*f of a double can need with up to 255 decimals:
// 309 integer digits, sign, point, 255 decimals.
constexpr std::size_t kNumBuf = 640;

// Fixed or exponent digits of v, correctly rounded; returns the length.
std::size_t PrintFixed(char* buf, double v, int decimals)
{
    auto r = std::to_chars(buf, buf + kNumBuf, v, std::chars_format::fixed, decimals);
    return static_cast<std::size_t>(r.ptr - buf);
}

std::size_t PrintExponent(char* buf, double v, int significant)
{
    auto r = std::to_chars(buf, buf + kNumBuf, v, std::chars_format::scientific, significant - 1);
    return static_cast<std::size_t>(r.ptr - buf);
}

// A text with its leading blank unless it is negative.
PStr WithSignBlank(std::string_view digits)
{
    PStr out;
    if (digits.empty() || digits.front() != '-') out = " ";
    out += digits;
    return out;
}

// The texts arrive without a terminator: copy at most 255 bytes into a
// NUL-terminated local buffer before the C library sees them.
struct CText {
    char s[PStr::kMax + 1];
    std::size_t n;
    explicit CText(std::string_view t)
    {
        n = t.size() < PStr::kMax ? t.size() : PStr::kMax;
        if (n) std::memcpy(s, t.data(), n);
        s[n] = '\0';
    }
};

// strtod in the "C" locale whatever the process locale is. The handle is
// created once and never changes, so it carries no program state.
double StrtodC(const char* s)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale == static_cast<locale_t>(nullptr)) return std::strtod(s, nullptr);
    return strtod_l(s, nullptr, cLocale);
}

// How a text is to be read: the base and where the digits (with the blanks
// and sign kept before them) start once a prefix is dropped.
struct Kind {
    int base = 10;
    std::size_t prefixAt = 0;   // where the dropped prefix begins
    std::size_t prefixLen = 0;  // how many prefix characters are dropped
};

Kind Classify(const char* s, std::size_t n)
{
    Kind k;
    for (std::size_t i = 0; i < n; ++i) {
        char c = s[i];
        if (c == '&') {
            char next = i + 1 < n ? s[i + 1] : '\0';
            k.prefixAt = i;
            switch (next) {
            case 'H':
            case 'h':
                k.base = 16;
                k.prefixLen = 2;
                break;
            case 'O':
            case 'o':
                k.base = 8;
                k.prefixLen = 2;
                break;
            case 'X':
            case 'x':
                k.base = 2;
                k.prefixLen = 2;
                break;
            default:
                k.base = 16;
                k.prefixLen = 1;
                break;  // "&1F": the digit stays
            }
            return k;
        }
        if (c == '0' && i + 1 < n && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
            k.base = 16;
            k.prefixAt = i;
            k.prefixLen = 2;
            return k;
        }
        if ((c >= '0' && c <= '9') || c == '.') return k;
        // Only blanks and signs may come before the deciding character;
        // anything else leaves the text to strtod, which finds no number
        // (or reads "inf" / "nan", the forms NumToText writes).
        if (c != ' ' && c != '+' && c != '-') return k;
    }
    return k;
}

// Digits of another base, taken from unsigned 64-bit to signed.
std::uint64_t StrtoullAfterPrefix(CText& t, const Kind& k)
{
    // Drop the prefix in place: the blanks and sign before it stay.
    std::memmove(t.s + k.prefixAt, t.s + k.prefixAt + k.prefixLen, t.n - k.prefixAt - k.prefixLen + 1);
    return std::strtoull(t.s, nullptr, k.base);
}

double Pow10(int d)
{
    double p = 1.0;
    for (int i = 0; i < d; ++i) p *= 10.0;  // exact up to 10^22
    return p;
}

}  // namespace

PStr NumToText(double value)
{
    if (std::isnan(value)) return PStr(" nan");
    if (std::isinf(value)) return PStr(value < 0 ? "-inf" : " inf");
    // A negative zero (a tiny negative value rounded for display) reads as
    // plain zero: "-0" would suggest a value that is not there.
    if (value == 0.0) return PStr(" 0");

    char buf[kNumBuf];
    std::size_t n;
    int e = std::ilogb(value);
    if (e < -7 || e >= 32) {
        n = PrintExponent(buf, value, 9);
        // Trim the mantissa's trailing zeros (and a bare point); the
        // exponent is kept as written, so the value is unchanged.
        std::size_t ePos = 0;
        while (ePos < n && buf[ePos] != 'e') ++ePos;
        std::size_t end = ePos;
        while (end > 0 && buf[end - 1] == '0') --end;
        if (end > 0 && buf[end - 1] == '.') --end;
        std::memmove(buf + end, buf + ePos, n - ePos);
        n = end + (n - ePos);
    } else {
        int q = (e - 1) * 12 / 39;  // truncates towards zero
        int decimals = 10 - q;
        if (decimals < 1) decimals = 1;
        n = PrintFixed(buf, value, decimals);
        while (n > 0 && buf[n - 1] == '0') --n;
        if (n > 0 && buf[n - 1] == '.') --n;
    }
    return WithSignBlank(std::string_view(buf, n));
}

PStr FormatWithMask(std::string_view mask, double value)
{
    if (mask.size() > PStr::kMax) mask = mask.substr(0, PStr::kMax);
    const std::size_t len = mask.size();
    char out[PStr::kMax];
    std::memcpy(out, mask.data(), len);

    std::size_t point = len;
    for (std::size_t i = 0; i < len; ++i)
        if (mask[i] == '.') {
            point = i;
            break;
        }
    int w = 0, d = 0;
    for (std::size_t i = 0; i < len; ++i)
        if (mask[i] == '#') (i < point ? w : d) += 1;

    auto overflow = [&]() {
        for (std::size_t i = 0; i < len; ++i)
            if (mask[i] == '#') out[i] = '?';
        return PStr(std::string_view(out, len));
    };
    // Infinite and not-a-number values have no digits to show: every digit
    // position shows "?", as for a value too wide for the mask.
    if (!std::isfinite(value)) return overflow();

    const bool negative = std::signbit(value);
    double v = std::fabs(value);
    double p = Pow10(d);
    double scaled = v * p;
    // A scale that overflows leaves the value to the correctly rounded
    // conversion below; it is far too wide for any mask anyway.
    if (std::isfinite(scaled)) v = std::rint(scaled) / p;

    char buf[kNumBuf];
    std::string_view digits(buf, PrintFixed(buf, v, d));
    std::size_t dot = digits.find('.');
    std::string_view intPart = digits.substr(0, dot);
    std::string_view decPart = dot == std::string_view::npos ? std::string_view() : digits.substr(dot + 1);
    // A value below 1 shows its "0" before the point where there is room;
    // a mask without integer positions shows the decimals alone.
    if (intPart == "0" && w == 0) intPart = {};
    if (intPart.size() > static_cast<std::size_t>(w)) return overflow();

    // Integer digits right-aligned into the positions before the point,
    // the positions left over become blanks.
    std::size_t placed = 0;
    std::size_t firstDigit = point;  // leftmost position that got a digit
    for (std::size_t i = point; i-- > 0;) {
        if (mask[i] != '#') continue;
        if (placed < intPart.size()) {
            out[i] = intPart[intPart.size() - 1 - placed++];
            firstDigit = i;
        } else {
            out[i] = ' ';
        }
    }
    if (point < len) {
        out[point] = '.';
        std::size_t k = 0;
        for (std::size_t i = point + 1; i < len; ++i)
            if (mask[i] == '#' && k < decPart.size()) out[i] = decPart[k++];
    }
    if (negative) {
        // The sign owns the mask's first position and moves right to stand
        // before the first digit; when a digit needs that first position the
        // sign cannot be shown and "?" replaces the leading digit.
        if (firstDigit > 0)
            out[firstDigit - 1] = '-';
        else if (len > 0)
            out[0] = '?';
    }
    return PStr(std::string_view(out, len));
}

double TextToNumber(std::string_view text)
{
    CText t(text);
    Kind k = Classify(t.s, t.n);
    if (k.base == 10) return StrtodC(t.s);
    return static_cast<double>(static_cast<std::int64_t>(StrtoullAfterPrefix(t, k)));
}

std::int64_t TextToInteger(std::string_view text)
{
    CText t(text);
    std::size_t i = 0;
    while (i < t.n && t.s[i] == ' ') ++i;
    bool negative = false;
    if (i < t.n && t.s[i] == '-') {
        negative = true;
        ++i;
    }
    int base = 10;
    std::size_t skip = 0;
    if (i < t.n && t.s[i] == '&') {
        char next = i + 1 < t.n ? t.s[i + 1] : '\0';
        if (next == 'H' || next == 'h') {
            base = 16;
            skip = 2;
        } else if (next == 'O' || next == 'o') {
            base = 8;
            skip = 2;
        } else if (next == 'X' || next == 'x') {
            base = 2;
            skip = 2;
        } else {
            base = 16;
            skip = 1;
        }
    } else if (i + 1 < t.n && t.s[i] == '0' && (t.s[i + 1] == 'x' || t.s[i + 1] == 'X')) {
        base = 16;
        skip = 2;
    }
    if (base != 10) {
        // Unsigned arithmetic wraps, so the negation is defined for any value.
        std::uint64_t u = std::strtoull(t.s + i + skip, nullptr, base);
        if (negative) u = 0 - u;
        return static_cast<std::int64_t>(u);
    }
    // Decimal digits, saturating at the 64-bit limits instead of wrapping.
    const std::uint64_t limit = negative ? static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1
                                         : static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    std::uint64_t acc = 0;
    for (; i < t.n && t.s[i] >= '0' && t.s[i] <= '9'; ++i) {
        unsigned digit = static_cast<unsigned>(t.s[i] - '0');
        if (acc > (limit - digit) / 10) {
            acc = limit;
            break;
        }
        acc = acc * 10 + digit;
    }
    if (!negative) return static_cast<std::int64_t>(acc);
    return acc == limit ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(acc);
}

double RoundedValue(float value, int decimals)
{
    if (decimals < 0) decimals = 0;
    if (decimals > 10) decimals = 10;  // 10^10 is still exact in single precision
    const double p = Pow10(decimals);
    const float scaled = value * static_cast<float>(p);  // single precision on purpose
    return std::rint(static_cast<double>(scaled)) / p;
}

PStr RoundedText(float value, int decimals) { return NumToText(RoundedValue(value, decimals)); }

double ShortestDouble(float value)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    double d = 0.0;
    std::from_chars(buf, r.ptr, d);
    return d;
}

}  // namespace ks
