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

Excursion ExcursionCal(const Design& d, f64 hz, f64 attenuation)
{
    const f64 pemax = W(d.PEMX), xmax = W(d.XMAX);
    const f64 sd = W(d.SD) * 1e-4;  // cm² to m²
    Excursion e;
    e.level = W(d.SPL) - attenuation;
    e.thermal = e.level + 10.0 * std::log10(pemax);
    // The peak pressure at 1 m, p = ρ0·Sd·ω²·x / (2π·r), solved for x.
    const f64 perPascal = 1000.0 / (2.0 * std::numbers::pi * kAirDensity * sd * hz * hz);
    const f64 peakPressure1W = std::numbers::sqrt2 * kReferencePressure * std::pow(10.0, e.level / 20.0);
    e.peak1W = peakPressure1W * perPascal;
    e.peak = e.peak1W * std::sqrt(pemax);
    const f64 ratio = xmax / e.peak;
    e.excursion = e.thermal + 20.0 * std::log10(ratio);
    e.maxSpl = e.excursion < e.thermal ? e.excursion : e.thermal;
    e.maxPower = ratio < 1.0 ? pemax * ratio * ratio : pemax;
    return e;
}

}  // namespace ks
