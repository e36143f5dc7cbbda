// SPDX-License-Identifier: GPL-3.0-or-later
// What kestrova-render does to the design before the picture is made: the
// program's own steps for the options given, in the program's order, with
// every intermediate redraw on a canvas that draws nothing.
#pragma once

#include <string>
#include <vector>

#include "context/kestrova.h"
#include "document/design_document.h"
#include "render_options.h"

namespace ks {

struct RenderRun {
    bool ok = true;
    std::string error;                // one line, when !ok
    std::vector<std::string> alerts;  // "MESSAGE | INFORMATIVE TEXT", UTF-8
};

// Start values, the driver, the set-up sequence, then system, Qa, alignment,
// View settings and Response view as given. A design (--design, read by
// the caller) brings the driver, its kept designs, and its box and view,
// applied before the options. k.screen and k.page point at `scratch`
// afterwards.
RenderRun RunRenderSequence(Kestrova& k, const RenderOptions& o, Canvas& scratch,
                            const DesignDocument* design = nullptr);
// The last redraw, onto `out`: the screen view, or the printed page.
void DrawFinalView(Kestrova& k, const RenderOptions& o, Canvas& out, const DateStamp& when);

}  // namespace ks
