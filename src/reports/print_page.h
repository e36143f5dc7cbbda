// SPDX-License-Identifier: GPL-3.0-or-later
// The printed page: the system profile sheet, or the current graph with the
// printed parameter list below it; then the optional date stamp.
#pragma once

#include "context/kestrova.h"

namespace ks {

struct DateStamp {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The figure and the parameter list below the graph.
void PrintParam(Kestrova& k);
// "Kestrova  " + s_SP + "  " + "Dec/05/2026 14:30:00".
PStr DateTimeText(const Kestrova& k, const DateStamp& when);
void DrawDateTime(Kestrova& k, const DateStamp& when);
// The whole page; the caller sets ds.doPrint around it.
void DrawPrintPage(Kestrova& k, const DateStamp& when);

}  // namespace ks
