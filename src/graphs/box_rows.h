// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a parameter list, as the system profile sheet and the printed
// page draw them, and the closed box's four rows that both end with.
#pragma once

#include "context/kestrova.h"

namespace ks {

// A row's label at x and its unit, if any, at the list's unit column.
void DrawRowLabel(Kestrova& k, float x, float y, const char* label, const char* unit);

// The closed box's rows (Vb, Fc, Qtc, Qa) under their title: the title's
// baseline at titleY, the rule below it, the four labelled rows 20 points
// apart from titleY + 30, each value in its frame. The frames and the rule
// are drawn `shift` lower and to the right (the sheet puts them on half
// points, the page on whole ones).
void DrawBoxRows(Kestrova& k, const char* title, float titleY, float shift);

}  // namespace ks
