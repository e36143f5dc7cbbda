// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ib.h"

#include "model/response.h"
#include "model/second_order.h"

namespace ks {

void IBcofCal(Design& d)
{
    const bool sub = ImpedanceSubstitution(d);
    if (sub) {
        d.QTSbak = d.QTS;
        d.QTS = d.QMS;
    }
    d.A01 = static_cast<f32>(1.0 / static_cast<f64>(d.QTS));
    if (sub) d.QTS = d.QTSbak;
}

// The baffle is the closed box with A02 = 1 and B01 = A01.
void IBFRcal(Design& d) { second_order::Amplitude(d, 1.0f); }
void IBIMPcal(Design& d) { second_order::Impedance(d, 1.0f, d.A01); }
void IBPHcal(Design& d) { second_order::Phase(d, 1.0f); }
void IBGDcal(Design& d) { second_order::GroupDelay(d, 1.0f); }
void IBNQcal(Design& d) { second_order::Nyquist(d, 1.0f); }

}  // namespace ks
