// SPDX-License-Identifier: GPL-3.0-or-later
// The Nyquist diagram: the response H in the complex plane, 10 kHz down to
// 10 Hz, on a frame spanning +-2 on both axes.
#pragma once

#include "context/kestrova.h"

namespace ks {

void NqGraph(Kestrova& k);
void NqPlot(Kestrova& k);

}  // namespace ks
