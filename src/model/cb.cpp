// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/cb.h"

#include <cmath>

#include "model/response.h"

namespace ks {

namespace {

// Single-precision arithmetic is written with float operands so that every
// intermediate is rounded to float; double steps widen explicitly.
f64 W(f32 v) { return static_cast<f64>(v); }

// Qtc of the box from its acoustic volume, in single precision.
f32 BoxQtc(const Design& d)
{
    f32 num = (d.QTS * d.QA) * (d.VAS + d.VAB);
    f32 den = (d.HH * d.VAB) * d.QA + d.VAS * d.QTS;
    return num / den;
}

void VatAl2(Design& d)
{
    d.VAT = static_cast<f32>(1.0 / (1.0 / W(d.VAS) + 1.0 / W(d.VAB)));
    d.AL2 = d.VAS / d.VAT;
}

// The box that follows from HH.
void BoxChain(Design& d)
{
    d.AL1 = static_cast<f32>(std::pow(W(d.HH), 2.0) - 1.0);
    d.VAB = d.VAS / d.AL1;
    d.VB = d.VAB / d.CP;
    d.FC = d.HH * d.FS;
    VatAl2(d);
    d.QTC = BoxQtc(d);
}

// The root of a·HH² + b·HH + c = 0 for the requested QTC; a negative
// discriminant gives not-a-number, which the caller treats as unreachable.
void SolveHH(Design& d)
{
    f32 a = d.QTS * d.QTC - d.QTS * d.QA;
    f32 b = d.QTC * d.QA;
    f32 c = (-d.QTS) * d.QTC;
    f64 disc = std::pow(W(b), 2.0) - 4.0 * W(a) * W(c);
    d.HH = static_cast<f32>((-W(b) - std::pow(disc, 0.5)) / (2.0 * W(a)));
}

bool FiniteBox(const Design& d)
{
    return std::isfinite(d.HH) && W(d.HH) > 1.0 && std::isfinite(d.AL1) && std::isfinite(d.AL2) &&
           std::isfinite(d.VB) && W(d.VB) > 0.0 && std::isfinite(d.FC) && std::isfinite(d.QTC) && W(d.QTC) > 0.0;
}

// The box of the largest Qtc at or below `qtc` that still gives a finite box:
// a safety net for drivers whose values break the quadratic.
void LargestFiniteBox(Design& d, f32 qtc)
{
    constexpr int kUlpSteps = 256, kSteps = 2000;
    for (int i = 0; i < kSteps; ++i) {
        d.QTC = qtc;
        SolveHH(d);
        BoxChain(d);
        if (FiniteBox(d)) return;
        // Single-unit steps first: the limit sits within a few units of QA.
        qtc = i < kUlpSteps ? std::nextafter(qtc, 0.0f) : qtc * 0.99f;
    }
}

// Near Qa the Qtc of a box only approaches its limit as the box shrinks to
// nothing, so the largest Qtc offered is one a builder can make: that of the
// box whose net volume is a hundredth of Vas (Fc then stays within about ten
// times Fs), or 5 when that is smaller.
f64 LargestQtc(const Design& d)
{
    Design box = d;
    box.VB = d.VAS / 100.0f;
    CBBValin(box);
    const f64 q = W(box.QTC);
    return std::isfinite(q) && q > 0.0 && q < 5.0 ? q : 5.0;
}

// The request of `limit`, rounded down to the thousandths the entry and the
// sheet show: entering the number the sheet names gives this box again.
void LimitedBox(Design& d, f64 limit)
{
    const f32 offered = static_cast<f32>(limit < 5.0 ? std::floor(limit * 1000.0) / 1000.0 : 5.0);
    LargestFiniteBox(d, offered);
}

// Alignment 3; the optimum's own passes are not held to the smallest box.
void QtcAlignment(Design& d, bool smallestBox)
{
    SolveHH(d);
    f32 a = d.QTS * d.QTC - d.QTS * d.QA;
    const f64 limit = smallestBox ? LargestQtc(d) : 5.0;
    if (W(a) >= 0.0 || W(d.QTC) > limit) {
        LimitedBox(d, limit);
        d.CBAlart = -1;
    } else if (W(d.HH) > 1.0) {
        BoxChain(d);
        d.CBAlart = 1;
    } else {
        d.HH = 1.1f;
        BoxChain(d);
        d.CBAlart = 0;
    }
}

}  // namespace

void CPopt(Design& d)
{
    const f64 qa = W(d.QA);
    if (qa == 5.0)
        d.CP = 1.2f;
    else if (qa == 7.0)
        d.CP = 1.1f;
    else if (qa == 10.0 || qa == 15.0 || qa == 20.0)
        d.CP = 1.0f;
}

void CBQTCalin(Design& d) { QtcAlignment(d, true); }

void CBopt(Design& d)
{
    d.QTC = 0.1f;
    QtcAlignment(d, false);
    if (!(W(d.QTC) > 0.707)) {
        d.QTC = 0.707f;
        QtcAlignment(d, false);
    }
}

void CBBValin(Design& d)
{
    d.VAB = d.CP * d.VB;
    d.AL1 = d.VAS / d.VAB;
    d.HH = static_cast<f32>(std::pow(W(d.AL1) + 1.0, 0.5));
    d.FC = d.HH * d.FS;
    d.QTC = BoxQtc(d);
    VatAl2(d);
    d.CBAlart = 1;
}

void CBcofCal(Design& d)
{
    CPopt(d);
    switch (d.alin) {
    case 1: CBopt(d); break;
    case 2: CBBValin(d); break;
    case 3: CBQTCalin(d); break;
    default: break;
    }
    d.VBbak = d.VB;
    d.QTCbak = d.QTC;
    const bool sub = ImpedanceSubstitution(d);
    if (sub) {
        d.QTSbak = d.QTS;
        d.QTS = d.QMS;
    }
    f32 loss = d.AL2 / (d.HH * d.QA);
    d.A01 = static_cast<f32>(1.0 / W(d.QTS) + W(loss));
    d.A02 = static_cast<f32>(1.0 + W(d.AL1));
    d.B01 = static_cast<f32>(1.0 / W(d.QTS));
    if (sub) d.QTS = d.QTSbak;
}

}  // namespace ks

#include "model/second_order.h"

namespace ks {

void CBFRcal(Design& d) { second_order::Amplitude(d, d.A02); }
void CBIMPcal(Design& d) { second_order::Impedance(d, d.A02, d.B01); }
void CBPHcal(Design& d) { second_order::Phase(d, d.A02); }
void CBGDcal(Design& d) { second_order::GroupDelay(d, d.A02); }
void CBNQcal(Design& d) { second_order::Nyquist(d, d.A02); }

int QaItemOf(f32 qa)
{
    for (int i = 0; i < 5; ++i)
        if (qa == kQaValues[i]) return i + 1;
    return 0;
}

}  // namespace ks
