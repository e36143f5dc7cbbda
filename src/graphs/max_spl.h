// SPDX-License-Identifier: GPL-3.0-or-later
// The maximum SPL view: the level the design reaches before the coil passes
// Pemax or the cone passes Xmax (thick), with the two limits (thin, dashed),
// in dB SPL at 1 m, 10 dB per division.
#pragma once

#include <string>
#include <vector>

#include "context/kestrova.h"
#include "graphs/limit_views.h"

namespace ks {

// Chooses MSTop, the first multiple of 10 dB above the highest maximum SPL,
// and MSCross, the highest frequency where Xmax takes over from Pemax.
void MsOpt(Kestrova& k, const std::vector<LimitSample>& samples);
void MsGraph(Kestrova& k);
void MsPlot(Kestrova& k, const std::vector<LimitSample>& samples);
// "Xmax limits below 312 Hz", empty when Xmax takes over nowhere.
std::string MsCrossText(float hz);

}  // namespace ks
