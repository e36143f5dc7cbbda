// SPDX-License-Identifier: GPL-3.0-or-later
// Every Mac Roman text survives the round trip, UTF-8 input is refused or converts back, the lossy form never grows.
#include "fuzz_input.h"
#include "support/macroman.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const auto back = ks::Utf8ToMacRoman(ks::MacRomanToUtf8(in.text()));
    KT_REQUIRE(back && *back == in.text());
    if (const auto mr = ks::Utf8ToMacRoman(in.text())) KT_REQUIRE(ks::MacRomanToUtf8(*mr) == in.text());
    KT_REQUIRE(ks::Utf8ToMacRomanLossy(in.text()).size() <= size);
    return 0;
}
