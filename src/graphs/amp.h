// SPDX-License-Identifier: GPL-3.0-or-later
// The amplitude graph: frame with its four level axes, and the curve.
#pragma once

#include "context/kestrova.h"

namespace ks {

// Frame, grid and labels; in the absolute view it chooses sift from SPL.
void AmpGraph(Kestrova& k);
// 300 samples from 20 Hz; reads the sift the frame has just chosen. Kept
// designs are drawn first (PlotCurves).
void AmpPlot(Kestrova& k);
// The absolute axis shift for the current scale and SPL.
float AmpSift(const Design& d);

}  // namespace ks
