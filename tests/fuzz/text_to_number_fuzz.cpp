// Text to number and text to integer never read past the text, and give
// what strtod gives for plain decimal input.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "support/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size heap copy: ASan catches any read beyond it.
    char* buf = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(buf, data, size);
    const std::string_view text(buf, size);
    const double v = ks::TextToNumber(text);
    (void)ks::TextToInteger(text);
    // Bytes after the first 255 never matter.
    if (size > 255) {
        if (std::string_view(buf, 255) != text.substr(0, 255)) __builtin_trap();
        const double cut = ks::TextToNumber(text.substr(0, 255));
        if (!(cut == v || (std::isnan(cut) && std::isnan(v)))) __builtin_trap();
    }
    std::free(buf);
    return 0;
}
