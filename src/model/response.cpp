// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/response.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "model/cb.h"
#include "model/ib.h"
#include "model/second_order.h"

namespace ks {

void InitSetUpMenuParam(Design& d)
{
    d.s_Resp = "amp";
    d.boxSys = 1;
    d.scale = 5;
    d.magni = 1;
    d.respID = 1;
    d.alin = 1;
    // A driver without Vas cannot be boxed: it is designed as a unit with its
    // own closed rear.
    if (d.VAS <= 0.0f) {
        d.CBactive = 0;
        d.boxSys = 3;
    } else {
        d.CBactive = 1;
        d.boxSys = 1;
    }
}

void ParameterPass(Design& d)
{
    d.s_SP = d.s_SP2;
    d.s_RANG = d.s_RANG2;
    for (const DriverNumber& n : kDriverNumbers) d.*n.value = d.*n.incoming;
    // A driver without Vas has no box: nothing of the previous driver's box
    // may stay behind to be shown or copied as this one's.
    if (!(d.VAS > 0.0f)) {
        d.VB = d.FC = d.QTC = 0.0f;
        d.VBbak = d.QTCbak = 0.0f;
    }
}

void QEScal(Design& d)
{
    if (d.QES <= 0.0f) d.QES = static_cast<f32>(static_cast<f64>(d.QTS) * 1.1);
}

void QMScal(Design& d)
{
    const f64 qts = static_cast<f64>(d.QTS), qes = static_cast<f64>(d.QES);
    if (d.QMS <= 0.0f && qts > 0.0 && qes > qts) d.QMS = static_cast<f32>(qts * qes / (qes - qts));
}

bool ImpedanceKnown(const Design& d)
{
    Design supplied = d;
    QEScal(supplied);
    QMScal(supplied);
    return supplied.RE > 0.0f && supplied.QMS > 0.0f && std::isfinite(supplied.QMS);
}

void N0cal(Design& d)
{
    if (d.EFI > 0.0f) {
        d.N0 = static_cast<f32>(static_cast<f64>(d.EFI) / 100.0);
        return;
    }
    QEScal(d);
    const f64 pi = std::numbers::pi;
    // Left to right, as the formula is written: 4π²/C³ · Fs³ · Vas[m³] / Qes.
    f64 n0 = (4.0 * std::pow(pi, 2.0)) / std::pow(static_cast<f64>(d.C), 3.0);
    n0 = n0 * std::pow(static_cast<f64>(d.FS), 3.0);
    n0 = n0 * static_cast<f64>(d.VAS);
    n0 = n0 / 1000.0;
    n0 = n0 / static_cast<f64>(d.QES);
    d.N0 = static_cast<f32>(n0);
}

void SPLcal(Design& d)
{
    CofCal(d);
    N0cal(d);
    d.SPL = static_cast<f32>(10.0 * std::log10(static_cast<f64>(d.N0) / (1e-12 * d.PI2)));
}

void CofCal(Design& d)
{
    switch (d.boxSys) {
    case 1: CBcofCal(d); break;
    case 2:
    case 3: IBcofCal(d); break;
    default: break;
    }
}

void ImpPrepare(Design& d)
{
    QEScal(d);
    QMScal(d);
    d.RES = d.RE * d.QMS / d.QES;
    d.ZL = static_cast<f32>(d.PI2 * static_cast<f64>(d.LE) / 1000.0);
    CofCal(d);
}

std::complex<f64> ElectricalImpedance(const Design& d)
{
    // The baffle is the closed box with A02 = 1 and B01 = A01, as in ib.cpp.
    switch (d.boxSys) {
    case 1: return second_order::ElectricalImpedance(d, d.A02, d.B01);
    case 2:
    case 3: return second_order::ElectricalImpedance(d, 1.0f, d.A01);
    default: return {std::nan(""), std::nan("")};
    }
}

bool ImpedanceSubstitution(const Design& d) { return d.s_Resp == "imp"; }

bool UsableBoxValue(f32 v) { return std::isfinite(v) && static_cast<f64>(v) > 0.0; }

void ResumeShownQtc(Design& d)
{
    if (d.boxSys == 1 && d.alin == 3 && std::isfinite(d.QTCplot)) d.QTC = d.QTCplot;
}

f64 F3Frequency(Design d)
{
    constexpr f64 kNone = std::numeric_limits<f64>::quiet_NaN();
    if (d.boxSys < 1 || d.boxSys > 3 || !std::isfinite(d.FS) || !(d.FS > 0.0f)) return kNone;
    d.s_Resp = "amp";
    ResumeShownQtc(d);
    CofCal(d);
    // Attenuation in dB at hz, as the amplitude curve evaluates it.
    const auto loss = [&d](f64 hz) {
        d.ff = static_cast<f32>(hz);
        d.f = d.ff / d.FS;
        if (d.boxSys == 1)
            CBFRcal(d);
        else
            IBFRcal(d);
        return static_cast<f64>(d.yy);
    };
    // A second-order high-pass crosses 3 dB once, on its way up: below it the
    // loss is larger, above it smaller (a peak only dips below 0 dB).
    f64 lo = static_cast<f64>(d.FS) * 1e-4, hi = static_cast<f64>(d.FS) * 1e4;
    if (!(loss(lo) > 3.0) || !(loss(hi) < 3.0)) return kNone;
    for (int i = 0; i < 200 && hi - lo > 0.001; ++i) {
        const f64 mid = std::sqrt(lo * hi);
        if (static_cast<f32>(mid) == static_cast<f32>(lo) || static_cast<f32>(mid) == static_cast<f32>(hi)) break;
        (loss(mid) > 3.0 ? lo : hi) = mid;
    }
    return (lo + hi) / 2.0;
}

}  // namespace ks
