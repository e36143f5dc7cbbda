// The program's own number texts read back: NumToText → TextToNumber keeps
// the value to about ten significant digits, and masks never outgrow their
// length.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "support/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(double)) return 0;
    double v;
    std::memcpy(&v, data, sizeof v);
    const ks::PStr text = ks::NumToText(v);
    if (text.empty() || text.size() > 40) __builtin_trap();
    if (!std::signbit(v) && text[0] != ' ' && !std::isnan(v)) __builtin_trap();
    const double back = ks::TextToNumber(text);
    if (std::isfinite(v)) {
        const double tol = std::fabs(v) * 1e-8 + 1e-300;
        if (!(std::fabs(back - v) <= tol)) __builtin_trap();
    } else if (std::isinf(v) != std::isinf(back) && !std::isnan(v)) {
        __builtin_trap();
    }
    const std::string_view mask(reinterpret_cast<const char*>(data) + sizeof v, size - sizeof v);
    const ks::PStr shown = ks::FormatWithMask(mask, v);
    const std::size_t want = mask.size() < 255 ? mask.size() : 255;
    if (shown.size() != want) __builtin_trap();
    for (int d = -2; d <= 12; ++d) (void)ks::RoundedText(static_cast<float>(v), d);
    return 0;
}
