// SPDX-License-Identifier: GPL-3.0-or-later
// The designs kept for comparison, on the frequency views and the step
// response: each one's curve behind the current design's, in a muted colour
// of its own and a thin line, on the current view's axes and scale, kept
// inside the plot frame; then a legend naming every design shown.
#pragma once

#include <string>

#include "context/kestrova.h"
#include "graphs/canvas.h"

namespace ks {

// The colour of kept design colour 1 .. kMaxKept (grey for any other).
Rgb KeptColour(int colour);

// What a view's sampler runs: `curve` for each kept design (that design in
// k.d for the while, with the current view's settings), then `style` and
// `curve` for the current design, then the legend when any design is kept.
// `curve` evaluates and draws one curve in the style already set.
void PlotCurves(Kestrova& k, void (*curve)(Kestrova&), void (*style)(Kestrova&));

// PlotCurves' two halves, for a view that draws its current design itself:
// `curve` for each kept design, in its colour and a thin line, cut to the
// plot frame; and the legend, when any design is kept: at the frame's top
// right, or standing on `bottom` where a view's curves fill the top. The
// legend's lower edge at the top, or the frame's top when nothing is kept.
void PlotKeptCurves(Kestrova& k, void (*curve)(Kestrova&));
void DrawKeptLegend(Kestrova& k, float bottom = 0.0f);
float KeptLegendBottom(const Kestrova& k);

// A design's line of the legend (Mac Roman): model, "Vb 12.35 l" or "IB",
// the Qtc (Qts on a baffle) and F3, for the box its curves show.
std::string LegendText(const Design& d);

}  // namespace ks
