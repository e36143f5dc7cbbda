// SPDX-License-Identifier: GPL-3.0-or-later
// The system profile sheet: the system figure and the driver's parameters as
// a ruled list. The printed form adds the SPL row and, for a closed box, the
// box parameters.
#pragma once

#include <string_view>

#include "context/kestrova.h"

namespace ks {

// The sheet itself: the "sys" view.
void SystemProfile(Kestrova& k);
// Length of the text cut to 63 characters.
int CharactCheck(std::string_view text);
// Position (from 1) of the first "." in the text cut to 63 characters, 0 if none.
int CommaCheck(std::string_view text);
// The figure's panel (GetPictSysSpConBG) and the figure of the system
// (GetPictSysDisp); 320 points lower when printing a view other than "sys"
// (the printed parameter page).
void GetPictSysSpConBG(Kestrova& k);
void GetPictSysDisp(Kestrova& k);
// A value rounded to `decimals` and placed so that it ends near the frames'
// right edge (x = 444 - 4n, or 446 - 4n with a decimal point).
void DrawPlacedValue(Kestrova& k, float value, int decimals, float y);

}  // namespace ks
