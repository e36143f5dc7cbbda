// SPDX-License-Identifier: GPL-3.0-or-later
// The group-delay graph: the scan that picks one of eleven symmetric ranges,
// the frame for that range and the curve.
#pragma once

#include "context/kestrova.h"

namespace ks {

// Scans 10 Hz .. 1 kHz for the delay peak (G2), then GdOpt2.
void GdOpt(Kestrova& k);
// GDscl from G2 (not a number gives the widest range).
void GdOpt2(Kestrova& k);
void GdGraph(Kestrova& k);
void GdPlot(Kestrova& k);

}  // namespace ks
