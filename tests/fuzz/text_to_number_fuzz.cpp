// SPDX-License-Identifier: GPL-3.0-or-later
// Text to number and text to integer from any bytes: no read past the text, bytes after the first 255 never
// matter, and a leading blank never changes an integer.
#include <cmath>
#include <string>

#include "fuzz_input.h"
#include "support/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const auto Same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    const double v = ks::TextToNumber(in.text());
    const std::int64_t n = ks::TextToInteger(in.text());
    if (in.longerThanKept()) {
        KT_REQUIRE(Same(ks::TextToNumber(in.cut()), v));
        KT_REQUIRE(ks::TextToInteger(in.cut()) == n);
    } else if (size < 255) {
        KT_REQUIRE(ks::TextToInteger(" " + std::string(in.text())) == n);
    }
    return 0;
}
