// SPDX-License-Identifier: GPL-3.0-or-later
// The view dispatcher: erases the graph area (screen only) and draws the
// current view's frame and curve, or the system profile sheet.
#pragma once

#include "context/kestrova.h"

namespace ks {

// The redraw of the graph area: the current view, on screen or on the page.
void ResponsePlot(Kestrova& k);

// The title of the current view ("Amplitude" ... "Maximum SPL"), empty for
// an unknown key. Used by snapshots and printing.
PStr SetResponseTitle(const Design& d);
// Whether key names a view ("amp" ... "sys", "ex", "ms").
bool IsViewKey(std::string_view key);

}  // namespace ks
