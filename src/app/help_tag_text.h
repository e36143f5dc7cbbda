// SPDX-License-Identifier: GPL-3.0-or-later
// Help-tag texts: "main", optionally "\" + byte 0xA4 + "extended" (or
// "\" + 0xA4 + "+extended" to show the main text above the extended one),
// optionally "\@" + a placement code. Texts are Mac Roman.
#pragma once

#include <string>
#include <string_view>

#include "support/pstring.h"

namespace ks {

struct HelpTag {
    // Which side of the control the tag stands on, and how it lines up with
    // the control along that side.
    enum Side {
        Default,             // the toolkit's own choice
        TopCentred,          // "T"
        LeftCentred,         // "L", "CL", "LC"
        BottomCentred,       // "B"
        RightCentred,        // "R", "CR", "RC"
        TopLeftAligned,      // "LT": above, left edges aligned
        TopRightAligned,     // "RT": above, right edges aligned
        LeftTopAligned,      // "TL": to the left, top edges aligned
        LeftBottomAligned,   // "BL": to the left, bottom edges aligned
        BottomLeftAligned,   // "LB": below, left edges aligned
        BottomRightAligned,  // "RB": below, right edges aligned
        RightTopAligned,     // "TR": to the right, top edges aligned
        RightBottomAligned,  // "BR": to the right, bottom edges aligned
    };

    PStr main, extended;
    // The extended tag shows main, a carriage return, then extended.
    bool extendedShowsMain = false;
    Side side = Default;

    // What the extended tag shows, carriage return included.
    std::string ExtendedContent() const;
};

inline constexpr char kHelpTagDelimiter[] = "\\\xA4";

HelpTag ParseHelpTag(std::string_view text);

// The placement code after "\@" (already upper-cased or not: it is read
// upper-cased). Unknown codes give Default.
HelpTag::Side HelpTagSideFromCode(std::string_view code);

}  // namespace ks
