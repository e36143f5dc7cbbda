// The stored window rectangle from any text: never read past the text, only
// the first 255 bytes count, fields after the last comma read as 0, and the
// rectangle's own text reads back to the same rectangle.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/prefs_rect.h"
#include "support/numtext.h"

namespace {

bool RoundTrips(const ks::Rect16& r)
{
    const ks::PStr text = ks::RectToText(r);
    // Four number texts joined by ",", each exactly number-to-text's.
    std::string want = ks::NumToText(r.top).str();
    for (std::int16_t v : {r.left, r.bottom, r.right}) {
        want += ",";
        want += ks::NumToText(v).view();
    }
    return text == want && ks::TextToRect(text.view()) == r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size heap copy: ASan catches any read beyond it.
    char* buf = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(buf, data, size);
    const std::string_view text(buf, size);
    const ks::Rect16 r = ks::TextToRect(text);

    const std::string_view cut = text.substr(0, 255);
    if (size > 255 && !(ks::TextToRect(cut) == r)) __builtin_trap();
    if (!RoundTrips(r)) __builtin_trap();

    // Each field comes from the start or the character after a comma; with
    // fewer than three commas the missing fields are 0.
    std::size_t commas = 0;
    for (char c : cut) commas += c == ',';
    const std::int16_t fields[4] = {r.top, r.left, r.bottom, r.right};
    for (std::size_t i = commas + 1; i < 4; ++i)
        if (fields[i] != 0) __builtin_trap();
    // A field is text to integer of its own text, clamped to 16 bits.
    std::size_t pos = 0;
    for (std::size_t i = 0; i < 4 && i <= commas; ++i) {
        if (i > 0) pos = cut.find(',', pos) + 1;
        std::int64_t v = ks::TextToInteger(cut.substr(pos));
        v = v < -32768 ? -32768 : (v > 32767 ? 32767 : v);
        if (fields[i] != v) __builtin_trap();
    }

    // Any rectangle at all, taken from the input's bytes, round-trips too.
    if (size >= 8) {
        std::int16_t v[4];
        std::memcpy(v, buf, sizeof v);
        ks::Rect16 any;
        any.top = v[0];
        any.left = v[1];
        any.bottom = v[2];
        any.right = v[3];
        if (!RoundTrips(any)) __builtin_trap();
    }
    std::free(buf);
    return 0;
}
