// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/version.h"

#include <limits>

namespace ks {

std::int64_t StringToNumerical(std::string_view version)
{
    // Work on the text with the dots removed, without building it: skipping
    // each "." while scanning is the same as deleting every one first.
    std::size_t i = 0;
    const std::size_t n = version.size();
    auto skipDots = [&] {
        while (i < n && version[i] == '.') ++i;
    };
    skipDots();
    while (i < n && (version[i] == ' ' || version[i] == '\t')) {
        ++i;
        skipDots();
    }
    bool negative = false;
    if (i < n && (version[i] == '+' || version[i] == '-')) {
        negative = version[i] == '-';
        ++i;
        skipDots();
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    bool saturated = false;
    while (i < n && version[i] >= '0' && version[i] <= '9') {
        const int digit = version[i] - '0';
        if (!saturated) {
            if (value > (kMax - digit) / 10)
                saturated = true;
            else
                value = value * 10 + digit;
        }
        ++i;
        skipDots();
    }
    if (saturated) return negative ? std::numeric_limits<std::int64_t>::min() : kMax;
    return negative ? -value : value;
}

PStr GetCFBundleVersion(std::string_view key)
{
    if (key == "CFBundleShortVersionString" || key == "CFBundleVersion") return PStr(KESTROVA_VERSION);
    return PStr();
}

PStr DecodeVersionFile(std::string_view bytes)
{
    // The program's texts are Mac Roman bytes already; PStr keeps the first
    // 255 of them.
    return PStr(bytes.substr(0, PStr::kMax));
}

std::uint8_t JudgeNewer(std::string_view availStr, std::string_view bundleStr)
{
    return StringToNumerical(availStr) > StringToNumerical(bundleStr) ? 1 : 0;
}

std::string_view VersionLine(std::string_view version)
{
    // Leading blanks and tabs are skipped, as the comparison skips them, so
    // the number judged newer is the number shown.
    std::size_t start = 0;
    while (start < version.size() && (version[start] == ' ' || version[start] == '\t')) ++start;
    version.remove_prefix(start);
    std::size_t end = 0;
    while (end < version.size()) {
        const auto c = static_cast<unsigned char>(version[end]);
        if (c < 0x20 || c == 0x7F) break;
        ++end;
    }
    return version.substr(0, end);
}

}  // namespace ks
