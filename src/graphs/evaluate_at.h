// SPDX-License-Identifier: GPL-3.0-or-later
// One point of a curve: the frequency (hz, or 10^k) into the design (f as a
// ratio to Fs), then one quantity of the current system from its closed-box
// or its baffle routine; other systems leave the previous value.
#pragma once

#include <cmath>

#include "context/kestrova.h"

namespace ks {

inline void EvaluateAtHz(Design& d, f32 hz, void (*closed)(Design&), void (*baffle)(Design&))
{
    d.ff = hz;
    d.f = d.ff / d.FS;
    if (d.boxSys == 1)
        closed(d);
    else if (d.boxSys == 2 || d.boxSys == 3)
        baffle(d);
}

inline void EvaluateAt(Design& d, float k, void (*closed)(Design&), void (*baffle)(Design&))
{
    EvaluateAtHz(d, static_cast<f32>(std::pow(10.0, static_cast<double>(k))), closed, baffle);
}

// The sweep of every frequency curve: k = log10 of the frequency from 20 Hz
// to 20 kHz (or back down), in steps of 0.01 each rounded to float; s.k is
// the current point and s.k2 the first. At each point the design is
// evaluated, then `point` runs.
template <typename Point>
void SweepFrequencies(Kestrova& k, bool downward, void (*closed)(Design&), void (*baffle)(Design&), Point&& point)
{
    DrawState& s = k.ds;
    const double lo = std::log10(20.0), hi = std::log10(20000.0);
    const double step = downward ? -0.01 : 0.01;
    s.k2 = s.k = static_cast<float>(downward ? hi : lo);
    while (downward ? static_cast<double>(s.k) >= lo : hi >= static_cast<double>(s.k)) {
        EvaluateAt(k.d, s.k, closed, baffle);
        point();
        s.k = static_cast<float>(static_cast<double>(s.k) + step);
    }
}

}  // namespace ks
