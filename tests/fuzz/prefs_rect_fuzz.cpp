// SPDX-License-Identifier: GPL-3.0-or-later
// The stored window rectangle from any text: no read past it, only 255 bytes count, its own text reads back to it.
#include "app/prefs_rect.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const ks::Rect16 r = ks::TextToRect(in.text());
    if (in.longerThanKept()) KT_REQUIRE(ks::TextToRect(in.cut()) == r);
    KT_REQUIRE(ks::TextToRect(ks::RectToText(r).view()) == r);
    return 0;
}
