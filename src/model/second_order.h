// SPDX-License-Identifier: GPL-3.0-or-later
// The normalised second-order high-pass both system types share, evaluated
// at the design's current f. The closed box passes its A02 and B01; the
// infinite baffle passes 1 and A01. Double precision from the f32 fields,
// the product A01·f in single precision, each result stored as f32.
#pragma once

#include <cmath>
#include <complex>
#include <numbers>

#include "model/design.h"

namespace ks::second_order {

inline f64 W(f32 v) { return static_cast<f64>(v); }

// (A02 − f²)² + (A01·f)²
inline f64 Denominator(f32 a02, f32 a01f, f32 f)
{
    return std::pow(W(a02) - std::pow(W(f), 2.0), 2.0) + std::pow(W(a01f), 2.0);
}

inline void Amplitude(Design& d, f32 a02)
{
    const f32 a01f = d.A01 * d.f;
    const f64 D = Denominator(a02, a01f, d.f);
    d.yy = static_cast<f32>(-10.0 * std::log10(std::pow(W(d.f), 4.0) / D));
}

// The electrical impedance Re + j·ZL·ff + RES·b01·jf / (a02 − f² + j·A01·f):
// the motional part and the voice coil's inductance are complex terms of
// one sum, so its magnitude is the impedance at every frequency, not only
// at resonance. A01·f, b01·f and ZL·ff are formed in single precision.
inline std::complex<f64> ElectricalImpedance(const Design& d, f32 a02, f32 b01)
{
    const f32 a01f = d.A01 * d.f;
    const f32 b01f = b01 * d.f;
    const f32 zlff = d.ZL * d.ff;
    const std::complex<f64> motional =
        W(d.RES) * std::complex<f64>(0.0, W(b01f)) / std::complex<f64>(W(a02) - std::pow(W(d.f), 2.0), W(a01f));
    return std::complex<f64>(W(d.RE), W(zlff)) + motional;
}

inline void Impedance(Design& d, f32 a02, f32 b01)
{
    const f32 a01f = d.A01 * d.f;
    const f32 b01f = b01 * d.f;
    const f64 D = Denominator(a02, a01f, d.f);
    d.ZVC = static_cast<f32>(std::pow(std::pow(W(b01f), 2.0) / D, 0.5));
    d.yyLinea = static_cast<f32>(std::abs(ElectricalImpedance(d, a02, b01)));
    d.yy = static_cast<f32>(std::log10(W(d.yyLinea)));
}

inline void Phase(Design& d, f32 a02)
{
    const f32 a01f = d.A01 * d.f;
    const f64 q = W(a01f) / (W(a02) - std::pow(W(d.f), 2.0));
    d.yy = static_cast<f32>(-std::atan(q) * 180.0 / std::numbers::pi);
    if (W(d.yy) < 0.0) d.yy = static_cast<f32>(W(d.yy) + 180.0);
}

inline void GroupDelay(Design& d, f32 a02)
{
    const f32 a01f = d.A01 * d.f;
    const f64 re = W(a02) - std::pow(W(d.f), 2.0);
    const f64 num = W(d.A01) * re - W(a01f) * (-2.0 * W(d.f));
    const f64 den = std::pow(W(a01f), 2.0) + std::pow(re, 2.0);
    d.yy = static_cast<f32>(num / den / (W(d.FS) * d.PI2) * 1000.0);
}

inline void Nyquist(Design& d, f32 a02)
{
    const f32 a01f = d.A01 * d.f;
    const f64 D = Denominator(a02, a01f, d.f);
    d.gg = static_cast<f32>(std::pow(std::pow(W(d.f), 4.0) / D, 0.5));
    const f64 q = W(a01f) / (W(a02) - std::pow(W(d.f), 2.0));
    d.fai = static_cast<f32>(-std::atan(q));
    if (W(d.fai) < 0.0) d.fai = static_cast<f32>(W(d.fai) + std::numbers::pi);
    d.xx = static_cast<f32>(W(d.gg) * std::cos(W(d.fai)));
    d.yy = static_cast<f32>(W(d.gg) * std::sin(W(d.fai)));
}

}  // namespace ks::second_order
