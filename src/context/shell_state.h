// SPDX-License-Identifier: GPL-3.0-or-later
// Shell state: flags and remembered places of the application shell.
#pragma once

#include <cstdint>

#include "support/pstring.h"

namespace ks {

// Rectangle of four 16-bit integers, points, origin top left.
struct Rect16 {
    std::int16_t top = 0, left = 0, bottom = 0, right = 0;
    friend bool operator==(const Rect16&, const Rect16&) = default;
};

struct ShellState {
    std::uint8_t RespWndCloseFlag = 0;
    std::uint8_t ClickOpenFlag = 0;
    std::uint8_t RePosiFlag = 0;
    std::uint8_t EditMenuFlag = 0;
    std::int16_t edtFldID = 0;
    std::uint8_t CheckForUpFlag = 0;
    std::uint8_t CheckByMenuFlag = 0;
    PStr s_Masg = "null";
    PStr s_MasgMenu;
    PStr s_Dummy;
    PStr ClipText;
    std::uint8_t copyFlag = 0;
    double GPrintScale = 100.0;
    std::int16_t SnapNum = 0;
};

}  // namespace ks
