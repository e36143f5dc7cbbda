// SPDX-License-Identifier: GPL-3.0-or-later
// The phase graph: fixed 0 .. +360 degree axis and the curve, sampled from
// 20 kHz downwards.
#pragma once

#include "context/kestrova.h"

namespace ks {

void PhGraph(Kestrova& k);
void PhPlot(Kestrova& k);

}  // namespace ks
