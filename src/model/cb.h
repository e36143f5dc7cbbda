// Closed box: alignment, coefficients and the five evaluation functions.
#pragma once

#include "model/design.h"

namespace ks {

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
