// Mac Roman ↔ UTF-8: every Mac Roman text survives the round trip; UTF-8
// input is either refused or converts to Mac Roman that converts back.
#include <cstdint>
#include <string>
#include <string_view>

#include "support/macroman.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = ks::MacRomanToUtf8(in);
    const auto back = ks::Utf8ToMacRoman(utf8);
    if (!back || *back != in) __builtin_trap();

    if (const auto mr = ks::Utf8ToMacRoman(in)) {
        if (ks::MacRomanToUtf8(*mr) != in) __builtin_trap();
    }
    const std::string lossy = ks::Utf8ToMacRomanLossy(in);
    if (lossy.size() > size) __builtin_trap();
    return 0;
}
