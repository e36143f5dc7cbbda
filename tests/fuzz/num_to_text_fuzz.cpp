// The program's own number texts: bounded, a blank before non-negative
// values, and they read back to about ten significant digits.
#include <cmath>

#include "fuzz_input.h"
#include "support/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    double v;
    if (size < sizeof v) return 0;
    std::memcpy(&v, data, sizeof v);
    const ks::PStr text = ks::NumToText(v);
    KT_REQUIRE(!text.empty() && text.size() <= 40);
    KT_REQUIRE(std::signbit(v) || std::isnan(v) || text[0] == ' ');
    const double back = ks::TextToNumber(text);
    if (std::isfinite(v)) KT_REQUIRE(std::fabs(back - v) <= std::fabs(v) * 1e-8 + 1e-300);
    else KT_REQUIRE(std::isnan(v) ? std::isnan(back) : back == v);
    for (int d = -2; d <= 12; ++d) KT_REQUIRE(ks::RoundedText(static_cast<float>(v), d).size() <= 40);
    return 0;
}
