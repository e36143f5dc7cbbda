// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/excursion.h"

#include <cmath>
#include <numbers>

namespace ks {

namespace {
f64 W(f32 v) { return static_cast<f64>(v); }
}  // namespace

ExcursionNeeds ExcursionNeedsCal(const Design& d)
{
    ExcursionNeeds n;
    n.sd = !(W(d.SD) > 0.0);
    n.xmax = !(W(d.XMAX) > 0.0);
    n.pemax = !(W(d.PEMX) > 0.0);
    n.sensitivity = !std::isfinite(d.SPL);
    return n;
}

ExcursionDriver ExcursionDriverCal(const Design& d)
{
    ExcursionDriver c;
    c.spl = W(d.SPL);
    c.pemax = W(d.PEMX);
    c.xmax = W(d.XMAX);
    c.pemaxGain = 10.0 * std::log10(c.pemax);
    c.rootPemax = std::sqrt(c.pemax);
    // From the peak pressure a piston radiates into half space at r = 1 m,
    // p = ρ0·Sd·ω²·x / (2π·r), with Sd from cm² to m² and x in mm.
    c.mmPerPascal = 1000.0 / (2.0 * std::numbers::pi * kAirDensity * (W(d.SD) * 1e-4));
    const f64 pascalsAtXmax = c.xmax / c.mmPerPascal / std::numbers::sqrt2;  // rms, at 1 Hz
    c.xmaxLevel = 20.0 * std::log10(pascalsAtXmax / kReferencePressure);
    return c;
}

Excursion ExcursionCal(const ExcursionDriver& c, f64 hz, f64 attenuation)
{
    Excursion e;
    e.level = c.spl - attenuation;
    e.thermal = e.level + c.pemaxGain;
    const f64 peakPascals = std::numbers::sqrt2 * kReferencePressure * std::exp(e.level * (std::numbers::ln10 / 20.0));
    e.peak1W = peakPascals * c.mmPerPascal / (hz * hz);
    e.peak = e.peak1W * c.rootPemax;
    // The pressure that moves the cone by Xmax grows with the square of the
    // frequency, whatever the input.
    e.excursion = c.xmaxLevel + 40.0 * std::log10(hz);
    e.maxSpl = e.excursion < e.thermal ? e.excursion : e.thermal;
    const f64 ratio = c.xmax / e.peak;
    e.maxPower = ratio < 1.0 ? c.pemax * ratio * ratio : c.pemax;
    return e;
}

}  // namespace ks
