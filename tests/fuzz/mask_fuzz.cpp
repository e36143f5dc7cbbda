// Format with mask for any mask and any double (every bit pattern, NaN and
// infinities too): the result has the cut mask's length, the mask's other
// characters stay where they are (only the sign may take the position before
// the first digit), values too wide show "?" in every digit position, and the
// digits shown read back as the value rounded to the mask's decimals.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "support/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    std::size_t maskLen = size - sizeof value;
    if (maskLen > 300) maskLen = 300;
    // An exact-size heap copy of the mask: ASan catches any read beyond it.
    char* buf = static_cast<char*>(std::malloc(maskLen ? maskLen : 1));
    if (maskLen) std::memcpy(buf, data + sizeof value, maskLen);
    const std::string_view fullMask(buf, maskLen);

    const ks::PStr shown = ks::FormatWithMask(fullMask, value);
    const std::string_view mask = fullMask.substr(0, 255);
    const std::string_view out = shown.view();
    if (out.size() != mask.size()) __builtin_trap();
    if (maskLen > 255 && !(ks::FormatWithMask(mask, value) == out)) __builtin_trap();

    std::size_t point = mask.find('.');
    if (point == std::string_view::npos) point = mask.size();
    int w = 0, d = 0;
    for (std::size_t i = 0; i < mask.size(); ++i)
        if (mask[i] == '#') (i < point ? w : d) += 1;

    // Whether the integer digits fit, decided by the C library's own
    // correctly rounded conversion of the rounded value.
    const bool negative = std::signbit(value);
    bool fits = false;
    double rounded = 0;
    std::size_t intCount = 0;
    if (std::isfinite(value)) {
        const double mag = std::fabs(value);
        // 10^d by repeated multiplication as the mask's rounding defines it
        // (exact up to 10^22).
        double p = 1.0;
        for (int k = 0; k < d; ++k) p *= 10.0;
        const double scaled = mag * p;
        rounded = std::isfinite(scaled) ? std::rint(scaled) / p : mag;
        static char digits[1024];
        const int n = std::snprintf(digits, sizeof digits, "%.*f", d, rounded);
        if (n <= 0 || n >= static_cast<int>(sizeof digits)) __builtin_trap();
        std::string_view intPart(digits, static_cast<std::size_t>(n));
        intPart = intPart.substr(0, intPart.find('.'));
        if (intPart == "0" && w == 0) intPart = {};
        intCount = intPart.size();
        fits = intCount <= static_cast<std::size_t>(w);
    }

    if (!fits) {
        // Every "#" shows "?", everything else is the mask's own.
        for (std::size_t i = 0; i < mask.size(); ++i)
            if (out[i] != (mask[i] == '#' ? '?' : mask[i])) __builtin_trap();
        std::free(buf);
        return 0;
    }

    // Where the digits begin: the intCount-th "#" before the point, counted
    // from the right (the point itself when there are none). A negative
    // value's sign stands directly before it, or "?" takes the first
    // position when the digits need it.
    std::size_t firstDigit = point;
    for (std::size_t i = point, seen = 0; seen < intCount && i-- > 0;)
        if (mask[i] == '#' && ++seen == intCount) firstDigit = i;
    const std::size_t none = mask.size();
    const std::size_t signAt = negative && !mask.empty() ? (firstDigit > 0 ? firstDigit - 1 : 0) : none;
    const bool lostLeading = signAt == 0 && firstDigit == 0 && intCount > 0;

    std::string intDigits, decDigits;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = out[i];
        if (i == signAt) {
            if (c != (firstDigit > 0 ? '-' : '?')) __builtin_trap();
            if (lostLeading) intDigits += '0';  // stands in for the lost digit
        } else if (mask[i] != '#') {
            if (c != mask[i]) __builtin_trap();
        } else if (i < firstDigit) {
            if (c != ' ') __builtin_trap();
        } else if (c < '0' || c > '9') {
            __builtin_trap();
        } else {
            (i < point ? intDigits : decDigits) += c;
        }
    }
    if (intDigits.size() != intCount || decDigits.size() != static_cast<std::size_t>(d)) __builtin_trap();
    // A leading zero only for a value below 1.
    if (intCount > 1 && intDigits[0] == '0' && !lostLeading) __builtin_trap();
    if (lostLeading) {
        std::free(buf);
        return 0;
    }

    const std::string readBack = (intDigits.empty() ? "0" : intDigits) + "." + decDigits;
    const double back = std::strtod(readBack.c_str(), nullptr);
    if (d <= 22 && std::ldexp(std::fabs(std::nextafter(rounded, INFINITY) - rounded), 1) < std::pow(10.0, -d)) {
        // The shown decimals are the rounded value's own: they read back to
        // exactly it.
        if (back != rounded) __builtin_trap();
    } else {
        const double tol = 0.5000001 * std::pow(10.0, -d) + rounded * 4.5e-16;
        if (!(std::fabs(back - rounded) <= tol)) __builtin_trap();
    }
    std::free(buf);
    return 0;
}
