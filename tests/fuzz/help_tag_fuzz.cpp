// Help-tag texts from any bytes: the main and extended texts come from the
// first 255 bytes before the first "\@", split at the first delimiter, and
// the placement follows the code after "\@" (one letter or the first two,
// either case).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/help_tag_text.h"

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

ks::HelpTag::Side ExpectedSide(std::string_view code)
{
    using S = ks::HelpTag;
    if (code.empty()) return S::Default;
    if (code.size() == 1) {
        switch (Upper(code[0])) {
            case 'T': return S::TopCentred;
            case 'L': return S::LeftCentred;
            case 'B': return S::BottomCentred;
            case 'R': return S::RightCentred;
            default: return S::Default;
        }
    }
    static const struct { const char* code; S::Side side; } pairs[] = {
        {"CL", S::LeftCentred},       {"LC", S::LeftCentred},        {"CR", S::RightCentred},
        {"RC", S::RightCentred},      {"LT", S::TopLeftAligned},     {"RT", S::TopRightAligned},
        {"TL", S::LeftTopAligned},    {"BL", S::LeftBottomAligned},  {"LB", S::BottomLeftAligned},
        {"RB", S::BottomRightAligned}, {"TR", S::RightTopAligned},   {"BR", S::RightBottomAligned},
    };
    for (const auto& p : pairs)
        if (Upper(code[0]) == p.code[0] && Upper(code[1]) == p.code[1]) return p.side;
    return S::Default;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size heap copy: ASan catches any read beyond it.
    char* buf = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(buf, data, size);
    const std::string_view text(buf, size);
    const ks::HelpTag tag = ks::ParseHelpTag(text);

    const std::string_view cut = text.substr(0, 255);
    const std::size_t at = cut.find("\\@");
    const std::string_view shown = cut.substr(0, at);
    const std::string_view main = tag.main.view();
    const std::string_view extended = tag.extended.view();

    if (main.size() > 255 || extended.size() > 255) __builtin_trap();
    // The placement suffix never shows.
    if (main.find("\\@") != std::string_view::npos || extended.find("\\@") != std::string_view::npos)
        __builtin_trap();
    // Main is where the shown part begins, extended where it ends.
    if (!shown.starts_with(main) || !shown.ends_with(extended)) __builtin_trap();

    const std::size_t delim = shown.find(ks::kHelpTagDelimiter);
    if (delim == std::string_view::npos) {
        if (main != shown || extended != shown || tag.extendedShowsMain) __builtin_trap();
    } else {
        // The pieces put back together are the shown part, and main holds
        // no delimiter (it ends at the first one).
        std::string joined(main);
        joined += ks::kHelpTagDelimiter;
        if (tag.extendedShowsMain) joined += '+';
        joined += extended;
        if (joined != shown || main.find(ks::kHelpTagDelimiter) != std::string_view::npos) __builtin_trap();
        const std::string_view after = shown.substr(delim + 2);
        if (tag.extendedShowsMain != (!after.empty() && after[0] == '+')) __builtin_trap();
    }

    const ks::HelpTag::Side want =
        at == std::string_view::npos ? ks::HelpTag::Default : ExpectedSide(cut.substr(at + 2));
    if (tag.side != want) __builtin_trap();

    const std::string content = tag.ExtendedContent();
    const std::string wantContent =
        tag.extendedShowsMain ? std::string(main) + "\r" + std::string(extended) : std::string(extended);
    if (content != wantContent) __builtin_trap();

    // Bytes after the first 255 never matter.
    if (size > 255) {
        const ks::HelpTag again = ks::ParseHelpTag(cut);
        if (!(again.main == tag.main) || !(again.extended == tag.extended) || again.side != tag.side ||
            again.extendedShowsMain != tag.extendedShowsMain)
            __builtin_trap();
    }
    std::free(buf);
    return 0;
}
