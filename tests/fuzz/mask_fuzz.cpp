// Format with mask for any mask and double (NaN and infinities too): the text
// has the cut mask's length, "#" places show only digits, blanks, a sign or
// "?", and every other mask character stays but for one place a sign may take.
#include "fuzz_input.h"
#include "support/numtext.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const kt::FuzzInput in(data + sizeof value, size - sizeof value);
    const std::string_view mask = in.cut();
    const ks::PStr shown = ks::FormatWithMask(in.text(), value);
    const std::string_view out = shown.view();
    KT_REQUIRE(out.size() == mask.size());
    if (in.longerThanKept()) KT_REQUIRE(ks::FormatWithMask(mask, value) == out);
    int moved = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = out[i];
        if (mask[i] == '#') {
            KT_REQUIRE((c >= '0' && c <= '9') || c == ' ' || c == '-' || c == '?');
        } else if (c != mask[i]) {
            KT_REQUIRE(c == '-' || c == '?');
            ++moved;
        }
    }
    KT_REQUIRE(moved <= 1);
    return 0;
}
