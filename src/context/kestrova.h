// SPDX-License-Identifier: GPL-3.0-or-later
// The application context: one design, one drawing state, one shell state and
// the preferences, passed by reference to every routine. Tests build as many
// as they like; two contexts never share anything.
#pragma once

#include <string>
#include <vector>

#include "context/draw_state.h"
#include "context/kept_design.h"
#include "context/prefs.h"
#include "context/shell_state.h"
#include "context/update_state.h"
#include "model/design.h"

namespace ks {

class Canvas;

struct Kestrova {
    Design d;
    DrawState ds;
    ShellState sh;
    Prefs prefs;
    UpdateState up;
    // The designs kept for comparison, oldest first.
    std::vector<KeptDesign> kept;

    // Surfaces the primitives draw on: the graph area of window 1, and the
    // current printing page while doPrint is set. Not owned.
    Canvas* screen = nullptr;
    Canvas* page = nullptr;

    Canvas* target() const { return ds.doPrint ? page : screen; }
};

}  // namespace ks
