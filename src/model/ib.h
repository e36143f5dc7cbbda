// SPDX-License-Identifier: GPL-3.0-or-later
// Infinite baffle and rear-closed unit: coefficient and evaluation functions.
#pragma once

#include "model/design.h"

namespace ks {

// The coefficient A01 (from Qms in the impedance view).
void IBcofCal(Design& d);

// The evaluations at the current f, as the closed box's (cb.h).
void IBFRcal(Design& d);
void IBIMPcal(Design& d);
void IBPHcal(Design& d);
void IBGDcal(Design& d);
void IBNQcal(Design& d);

}  // namespace ks
