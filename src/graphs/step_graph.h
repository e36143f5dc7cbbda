// SPDX-License-Identifier: GPL-3.0-or-later
// The step-response graph: frame with one of eleven time ranges chosen from
// FS / QTS, and the curve from the numerical inverse Laplace transform.
#pragma once

#include "context/kestrova.h"

namespace ks {

// Frame; also sets timeScale.
void StepGraph(Kestrova& k);
// Prepares the step model, then StepResponsePlot, for each kept design and
// the current one (orange, 2 points).
void StepPlot(Kestrova& k);
// The curve of the prepared model, in the style already set; time runs on
// the current axis (timeScale) whatever the design's own Fs.
void StepResponsePlot(Kestrova& k);
// The time-range factor for FS / QTS.
float StepTimeScale(const Design& d);

}  // namespace ks
