// The stored window rectangle from any text: no read past the text, only the
// first 255 bytes count, and the rectangle's own text reads back to it (for
// the rectangle read and for any rectangle made of the input's bytes).
#include "app/prefs_rect.h"
#include "fuzz_input.h"

namespace {
bool RoundTrips(const ks::Rect16& r) { return ks::TextToRect(ks::RectToText(r).view()) == r; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const ks::Rect16 r = ks::TextToRect(in.text());
    if (in.longerThanKept()) KT_REQUIRE(ks::TextToRect(in.cut()) == r);
    KT_REQUIRE(RoundTrips(r));
    if (size >= 8) {
        std::int16_t v[4];
        std::memcpy(v, data, sizeof v);
        ks::Rect16 any;
        any.top = v[0];
        any.left = v[1];
        any.bottom = v[2];
        any.right = v[3];
        KT_REQUIRE(RoundTrips(any));
    }
    return 0;
}
