// One point of a curve: the frequency 10^k into the design (f as a ratio to
// Fs), then one quantity of the current system from its closed-box or its
// baffle routine; other systems leave the previous value.
#pragma once

#include <cmath>

#include "context/kestrova.h"

namespace ks {

inline void EvaluateAt(Design& d, float k, void (*closed)(Design&), void (*baffle)(Design&))
{
    d.ff = static_cast<f32>(std::pow(10.0, static_cast<double>(k)));
    d.f = d.ff / d.FS;
    if (d.boxSys == 1)
        closed(d);
    else if (d.boxSys == 2 || d.boxSys == 3)
        baffle(d);
}

}  // namespace ks
