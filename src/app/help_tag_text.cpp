// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_tag_text.h"

namespace ks {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string HelpTag::ExtendedContent() const
{
    if (!extendedShowsMain) return extended.str();
    std::string s = main.str();
    s += '\r';
    s += extended.view();
    return s;
}

HelpTag::Side HelpTagSideFromCode(std::string_view code)
{
    if (code.empty()) return HelpTag::Default;
    if (code.size() == 1) {
        switch (UpperAscii(code[0])) {
        case 'T': return HelpTag::TopCentred;
        case 'L': return HelpTag::LeftCentred;
        case 'B': return HelpTag::BottomCentred;
        case 'R': return HelpTag::RightCentred;
        default: return HelpTag::Default;
        }
    }
    const char a = UpperAscii(code[0]);
    const char b = UpperAscii(code[1]);
    auto is = [&](char x, char y) { return a == x && b == y; };
    if (is('C', 'L') || is('L', 'C')) return HelpTag::LeftCentred;
    if (is('C', 'R') || is('R', 'C')) return HelpTag::RightCentred;
    if (is('L', 'T')) return HelpTag::TopLeftAligned;
    if (is('R', 'T')) return HelpTag::TopRightAligned;
    if (is('T', 'L')) return HelpTag::LeftTopAligned;
    if (is('B', 'L')) return HelpTag::LeftBottomAligned;
    if (is('L', 'B')) return HelpTag::BottomLeftAligned;
    if (is('R', 'B')) return HelpTag::BottomRightAligned;
    if (is('T', 'R')) return HelpTag::RightTopAligned;
    if (is('B', 'R')) return HelpTag::RightBottomAligned;
    return HelpTag::Default;
}

HelpTag ParseHelpTag(std::string_view text)
{
    if (text.size() > PStr::kMax) text = text.substr(0, PStr::kMax);

    // The placement suffix is never shown.
    std::string_view work = text;
    const std::size_t at = text.find("\\@");
    if (at != std::string_view::npos) work = text.substr(0, at);

    HelpTag tag;
    const std::size_t delim = work.find(kHelpTagDelimiter);
    if (delim != std::string_view::npos) {
        tag.main = work.substr(0, delim);
        std::string_view rest = work.substr(delim + 2);
        if (!rest.empty() && rest[0] == '+') {
            tag.extendedShowsMain = true;
            rest.remove_prefix(1);
        }
        tag.extended = rest;
    } else {
        tag.main = work;
        tag.extended = work;
    }

    // Upper-casing leaves "\" and "@" alone, so the first "\@" of the
    // upper-cased text is the one found above.
    if (at != std::string_view::npos) tag.side = HelpTagSideFromCode(text.substr(at + 2));
    return tag;
}

}  // namespace ks
