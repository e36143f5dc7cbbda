// SPDX-License-Identifier: GPL-3.0-or-later
// The cone excursion view: the peak excursion at Pemax (thick) and at 1 W
// (thin) against the driver's Xmax, on a linear millimetre axis.
#pragma once

#include <vector>

#include "context/kestrova.h"
#include "graphs/limit_views.h"

namespace ks {

// Chooses EXscl from the sweep's largest excursion at Pemax and from Xmax.
void ExOpt(Kestrova& k, const std::vector<LimitSample>& samples);
void ExGraph(Kestrova& k);
void ExPlot(Kestrova& k, const std::vector<LimitSample>& samples);
// The smallest of 0.1, 0.2, 0.5 ... 50 mm that holds `largest`; 50 above.
float ExcursionFullScale(double largest);

}  // namespace ks
