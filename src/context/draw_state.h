// SPDX-License-Identifier: GPL-3.0-or-later
// The shared drawing state the four primitives read, and the range state the
// graphs choose on each redraw and keep while other views are shown.
#pragma once

#include <cstdint>

#include "support/pstring.h"

namespace ks {

struct DrawState {
    // --- primitive inputs ---
    float xx = 0, yy = 0, xx1 = 0, yy1 = 0;
    float RedCol = 0, GrnCol = 0, BleCol = 0;
    float LineW = 0;
    std::int16_t DashLineType = 0;  // reset to 0 after every line
    PStr s_RectDraw = "Frame";      // reset to "Frame" after every rectangle
    PStr QuartzText;
    std::int16_t QzFontNum = 0;
    float fontSize = 0;
    std::uint8_t doPrint = 0;  // non-zero while a print job draws

    // --- graph range state ---
    float sift = 0;        // absolute amplitude axis shift, dB
    float k = 0, k2 = 0;   // sampler: log10 of the frequency
    float G1 = 0, G2 = 0;  // impedance maximum / group-delay scan
    float IMPscal = 0;
    std::int16_t GdOptFlg = 0;
    float GDscl = 0;
    float EXscl = 0;    // cone excursion full scale, mm
    float MSTop = 0;    // maximum SPL top line, dB SPL
    float MSCross = 0;  // where Xmax takes over from Pemax, Hz; 0 for nowhere
};

}  // namespace ks
