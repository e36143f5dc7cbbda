// The step-response graph: frame with one of eleven time ranges chosen from
// FS / QTS, and the curve from the numerical inverse Laplace transform.
#pragma once

#include "context/kestrova.h"

namespace ks {

// Frame; also sets timeScale.
void StepGraph(Kestrova& k);
// Prepares the step model, then StepResponsePlot.
void StepPlot(Kestrova& k);
void StepResponsePlot(Kestrova& k);
// The time-range factor for FS / QTS.
float StepTimeScale(const Design& d);

}  // namespace ks
