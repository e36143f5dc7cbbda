// Text to integer: never reads past the text, bytes after the first 255 never
// matter, decimal digits give what an independent conversion gives (saturated
// at the 64-bit limits), prefixed digits wrap as unsigned 64-bit and a "-"
// negates them.
#include <charconv>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "support/numtext.h"

namespace {

int DigitOf(char c, int base)
{
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    return d >= 0 && d < base ? d : -1;
}

// Digits of a base, saturating at 2^64 - 1 as strtoull does.
std::uint64_t UnsignedDigits(std::string_view s, int base)
{
    std::uint64_t acc = 0;
    bool saturated = false;
    for (char c : s) {
        const int d = DigitOf(c, base);
        if (d < 0) break;
        if (acc > (std::numeric_limits<std::uint64_t>::max() - static_cast<unsigned>(d)) / base)
            saturated = true;
        else
            acc = acc * base + static_cast<unsigned>(d);
    }
    return saturated ? std::numeric_limits<std::uint64_t>::max() : acc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size heap copy: ASan catches any read beyond it.
    char* buf = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(buf, data, size);
    const std::string_view text(buf, size);
    const std::int64_t got = ks::TextToInteger(text);

    const std::string_view cut = text.substr(0, 255);
    if (size > 255 && ks::TextToInteger(cut) != got) __builtin_trap();

    std::size_t i = 0;
    while (i < cut.size() && cut[i] == ' ') ++i;
    const bool negative = i < cut.size() && cut[i] == '-';
    const std::size_t signAt = i;
    if (negative) ++i;
    const std::string_view rest = cut.substr(i);

    int base = 10;
    std::size_t skip = 0;
    if (!rest.empty() && rest[0] == '&') {
        const char next = rest.size() > 1 ? rest[1] : '\0';
        skip = 2;
        if (next == 'H' || next == 'h') base = 16;
        else if (next == 'O' || next == 'o') base = 8;
        else if (next == 'X' || next == 'x') base = 2;
        else { base = 16; skip = 1; }
    } else if (rest.size() > 1 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        base = 16;
        skip = 2;
    }

    if (base == 10) {
        std::size_t n = 0;
        while (n < rest.size() && rest[n] >= '0' && rest[n] <= '9') ++n;
        std::int64_t want = 0;
        if (n > 0) {
            // The sign and digit run alone, through the standard conversion.
            std::string digits = negative ? "-" : "";
            digits += rest.substr(0, n);
            const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), want);
            if (r.ec == std::errc::result_out_of_range)
                want = negative ? std::numeric_limits<std::int64_t>::min()
                                : std::numeric_limits<std::int64_t>::max();
            else if (r.ec != std::errc() || r.ptr != digits.data() + digits.size())
                __builtin_trap();
        }
        if (got != want) __builtin_trap();
        // A plain text (blanks, optional "-", digits, nothing else) also
        // agrees with strtoll, saturation included.
        if (n > 0 && n == rest.size()) {
            const std::string plain(cut);
            errno = 0;
            const long long ll = std::strtoll(plain.c_str(), nullptr, 10);
            if (ll != got) __builtin_trap();
        }
    } else {
        const std::string_view digits = rest.substr(skip);
        // strtoull's own leniency (blanks, a sign, "0x"/"0b" again) is not
        // this reference's business: check only texts whose digits start at
        // once and carry no second prefix.
        const bool second = digits.size() > 1 && digits[0] == '0' &&
                            (digits[1] == 'x' || digits[1] == 'X' || digits[1] == 'b' || digits[1] == 'B');
        if (!digits.empty() && DigitOf(digits[0], base) >= 0 && !second) {
            std::uint64_t u = UnsignedDigits(digits, base);
            if (negative) u = 0 - u;
            if (got != static_cast<std::int64_t>(u)) __builtin_trap();
        }
        // With or without the sign, the two results are each other's
        // negation in wrapping arithmetic.
        if (negative) {
            const std::string unsigned_text = std::string(cut.substr(0, signAt)) + std::string(rest);
            const auto a = static_cast<std::uint64_t>(ks::TextToInteger(unsigned_text));
            if (static_cast<std::uint64_t>(got) != 0 - a) __builtin_trap();
        }
    }

    // Leading blanks never change the result (while the text stays within
    // the 255 bytes read).
    if (cut.size() < 255) {
        const std::string padded = " " + std::string(cut);
        if (ks::TextToInteger(padded) != got) __builtin_trap();
    }
    std::free(buf);
    return 0;
}
