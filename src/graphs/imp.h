// SPDX-License-Identifier: GPL-3.0-or-later
// The impedance graph: range scan, frame (four linear ranges or the
// logarithmic 1 ohm .. 1 kilohm axis) and curve.
#pragma once

#include "context/kestrova.h"

namespace ks {

void ImpOpt(Kestrova& k);
// IMPscal from G1; a value that fits no band (not a number) changes nothing.
void impSetScale(Kestrova& k);
void ImpGraph(Kestrova& k);
void ImpPlot(Kestrova& k);
// True when the current range and preference give the linear axis.
bool ImpLinearAxis(const Kestrova& k);

}  // namespace ks
