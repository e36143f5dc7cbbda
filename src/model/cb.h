// Closed box: alignment, coefficients and the five evaluation functions.
#pragma once

#include "model/design.h"

namespace ks {

// The five box loss factors the Qa pop-up offers, in its order.
inline constexpr f32 kQaValues[] = {5.0f, 7.0f, 10.0f, 15.0f, 20.0f};
// The pop-up's item (1 to 5) of a box loss factor, 0 for any other value.
int QaItemOf(f32 qa);

void CBcofCal(Design& d);
void CPopt(Design& d);
void CBopt(Design& d);
void CBBValin(Design& d);
void CBQTCalin(Design& d);

void CBFRcal(Design& d);
void CBIMPcal(Design& d);
void CBPHcal(Design& d);
void CBGDcal(Design& d);
void CBNQcal(Design& d);

}  // namespace ks
