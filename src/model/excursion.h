// SPDX-License-Identifier: GPL-3.0-or-later
// How far the cone moves and how loud the design can play: the level the
// amplitude evaluation gives at an input power, the peak excursion a piston
// of area Sd needs for it in half space at 1 m, and the lesser of the
// thermal (Pemax) and excursion (Xmax) limits. Double precision from the
// single-precision fields.
#pragma once

#include "model/design.h"

namespace ks {

inline constexpr f64 kAirDensity = 1.18;          // kg/m³
inline constexpr f64 kReferencePressure = 20e-6;  // Pa, 0 dB SPL

// What a driver record lacks for the limits: Sd, Xmax and Pemax not above 0,
// or a sensitivity that is not a number of dB (no efficiency and no Vas).
struct ExcursionNeeds {
    bool sd = false, xmax = false, pemax = false, sensitivity = false;
    bool any() const { return sd || xmax || pemax || sensitivity; }
};
ExcursionNeeds ExcursionNeedsCal(const Design& d);

struct Excursion {
    f64 level = 0;      // at 1 W, dB SPL at 1 m
    f64 peak = 0;       // peak excursion at Pemax, mm
    f64 peak1W = 0;     // peak excursion at 1 W, mm
    f64 thermal = 0;    // the level at Pemax, dB SPL
    f64 excursion = 0;  // the level that moves the cone by Xmax, dB SPL
    f64 maxSpl = 0;     // the lesser of the two
    f64 maxPower = 0;   // the input that reaches neither limit, W
};

// What the limits take from the design, worked out once for a sweep.
struct ExcursionDriver {
    f64 spl = 0, pemax = 0, xmax = 0;
    f64 pemaxGain = 0;    // 10·log10(Pemax), dB
    f64 rootPemax = 0;    // √Pemax
    f64 mmPerPascal = 0;  // peak excursion per pascal of peak pressure at 1 m, at 1 Hz
    f64 xmaxLevel = 0;    // the level that moves the cone by Xmax, at 1 Hz
};
ExcursionDriver ExcursionDriverCal(const Design& d);

// At hz (Hz) with the amplitude evaluation's attenuation a (dB, positive
// below the pass band), for the design's SPL, PEMX, SD and XMAX.
Excursion ExcursionCal(const ExcursionDriver& c, f64 hz, f64 attenuation);
inline Excursion ExcursionCal(const Design& d, f64 hz, f64 attenuation)
{
    return ExcursionCal(ExcursionDriverCal(d), hz, attenuation);
}

}  // namespace ks
