// SPDX-License-Identifier: GPL-3.0-or-later
// Closed box: alignment, coefficients and the five evaluation functions.
#pragma once

#include "model/design.h"

namespace ks {

// The five box loss factors the Qa pop-up offers, in its order.
inline constexpr f32 kQaValues[] = {5.0f, 7.0f, 10.0f, 15.0f, 20.0f};
// The pop-up's item (1 to 5) of a box loss factor, 0 for any other value.
int QaItemOf(f32 qa);

// The box of the chosen alignment, then the transfer coefficients A01, A02
// and B01 (from Qms in the impedance view).
void CBcofCal(Design& d);
// The compliance factor CP of the Qa chosen (1.2 at Qa 5, 1.1 at 7, else 1).
void CPopt(Design& d);
// Alignment 1, optimum: the box of Qtc 0.707, or of the smallest Qtc the
// driver allows when that is higher.
void CBopt(Design& d);
// Alignment 2, box volume: Fc and Qtc of the box volume VB entered.
void CBBValin(Design& d);
// Alignment 3, Qtc: the box of the Qtc entered.
void CBQTCalin(Design& d);

// The evaluations at the current f, each leaving the view's value in yy:
// amplitude (dB), impedance (also yyLinea, ohms), phase (degrees), group
// delay (ms) and the Nyquist point (xx, yy).
void CBFRcal(Design& d);
void CBIMPcal(Design& d);
void CBPHcal(Design& d);
void CBGDcal(Design& d);
void CBNQcal(Design& d);

}  // namespace ks
