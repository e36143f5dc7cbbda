// Infinite baffle and rear-closed unit: coefficient and evaluation functions.
#pragma once

#include "model/design.h"

namespace ks {

void IBcofCal(Design& d);

void IBFRcal(Design& d);
void IBIMPcal(Design& d);
void IBPHcal(Design& d);
void IBGDcal(Design& d);
void IBNQcal(Design& d);

}  // namespace ks
