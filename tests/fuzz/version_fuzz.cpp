// Version texts from any bytes, as the update check reads the version file:
// the number is what deleting every "." and reading the leading integer
// gives (saturated), a dot anywhere or non-digit garbage at the end changes
// nothing, the comparison is a strict order, and the shown line is the text
// after its leading blanks up to its first control character.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include "update/version.h"

namespace {

// The rule spelled out the slow way: build the text without dots, then read it.
std::int64_t Reference(std::string_view version)
{
    std::string s;
    for (char c : version)
        if (c != '.') s += c;
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::size_t end = i;
    while (end < s.size() && s[end] >= '0' && s[end] <= '9') ++end;
    if (end == i) return 0;
    std::int64_t v = 0;
    const auto r = std::from_chars(s.data() + i, s.data() + end, v);
    if (r.ec == std::errc::result_out_of_range)
        return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    if (r.ec != std::errc() || r.ptr != s.data() + end) __builtin_trap();
    return negative ? -v : v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size heap copy: ASan catches any read beyond it.
    char* buf = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(buf, data, size);
    const std::string_view bytes(buf, size);

    const std::int64_t whole = ks::StringToNumerical(bytes);
    if (whole != Reference(bytes)) __builtin_trap();

    // The version file as kept: its first 255 bytes.
    const ks::PStr avail = ks::DecodeVersionFile(bytes);
    if (avail.view() != bytes.substr(0, 255)) __builtin_trap();
    const std::int64_t n = ks::StringToNumerical(avail.view());
    if (n != Reference(avail.view())) __builtin_trap();

    // A dot anywhere changes nothing; nor does a byte at the end that is
    // neither a digit nor a dot.
    std::string dotted(avail.view());
    dotted.insert(size ? data[0] % (dotted.size() + 1) : 0, 1, '.');
    if (ks::StringToNumerical(dotted) != n) __builtin_trap();
    const char tail = size ? static_cast<char>(data[size - 1]) : 'x';
    if ((tail < '0' || tail > '9') && tail != '.') {
        const std::string longer = std::string(avail.view()) + tail;
        if (ks::StringToNumerical(longer) != n) __builtin_trap();
    }

    // The comparison: newer exactly when the number is greater, never both
    // ways, never against itself.
    const ks::PStr bundle = ks::GetCFBundleVersion("CFBundleShortVersionString");
    const std::uint8_t newer = ks::JudgeNewer(avail.view(), bundle.view());
    const std::uint8_t older = ks::JudgeNewer(bundle.view(), avail.view());
    if (newer != (n > ks::StringToNumerical(bundle.view()) ? 1 : 0)) __builtin_trap();
    if (newer && older) __builtin_trap();
    if (ks::JudgeNewer(avail.view(), avail.view()) != 0) __builtin_trap();

    // The shown line: the text after its leading blanks and tabs, without
    // control characters, cut at one.
    std::size_t lead = 0;
    while (lead < avail.size() && (avail[lead] == ' ' || avail[lead] == '\t')) ++lead;
    const std::string_view line = ks::VersionLine(avail.view());
    if (!avail.view().substr(lead).starts_with(line)) __builtin_trap();
    for (char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) __builtin_trap();
    }
    if (lead + line.size() < avail.size()) {
        const auto u = static_cast<unsigned char>(avail[lead + line.size()]);
        if (u >= 0x20 && u != 0x7F) __builtin_trap();
        // A control character ends the number too, so the line shows the
        // number compared, unless a tab (a blank to the number) comes first.
        if (u != '\t' && ks::StringToNumerical(line) != n) __builtin_trap();
    } else if (ks::StringToNumerical(line) != n) {
        __builtin_trap();
    }
    std::free(buf);
    return 0;
}
