// Help-tag texts from any bytes: bounded pieces, the placement code never
// shows, the pieces put back give the shown text, and bytes after the first
// 255 never matter.
#include <string>

#include "app/help_tag_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const kt::FuzzInput in(data, size);
    const ks::HelpTag tag = ks::ParseHelpTag(in.text());
    const std::string_view main = tag.main.view(), extended = tag.extended.view();
    KT_REQUIRE(main.size() <= 255 && extended.size() <= 255);

    const std::string_view shown = in.cut().substr(0, in.cut().find("\\@"));
    KT_REQUIRE(shown.starts_with(main) && shown.ends_with(extended));
    if (shown.find(ks::kHelpTagDelimiter) == std::string_view::npos) {
        KT_REQUIRE(main == shown && extended == shown && !tag.extendedShowsMain);
    } else {
        const std::string joined = std::string(main) + ks::kHelpTagDelimiter + (tag.extendedShowsMain ? "+" : "");
        KT_REQUIRE(joined + std::string(extended) == shown);
    }
    if (in.longerThanKept()) {
        const ks::HelpTag again = ks::ParseHelpTag(in.cut());
        KT_REQUIRE(again.main == tag.main && again.extended == tag.extended && again.side == tag.side);
    }
    return 0;
}
