// SPDX-License-Identifier: GPL-3.0-or-later
// Derived driver quantities, the adoption of a driver and the single entry
// point that brings box and coefficients up to date before any evaluation.
#pragma once

#include <complex>

#include "model/design.h"

namespace ks {

// The selectors of a new design: the view, scale, level and alignment back
// to their first items, the system type picked from VAS.
void InitSetUpMenuParam(Design& d);
// Adopts the incoming driver: copies it (suffix 2) into the design set.
void ParameterPass(Design& d);
// A missing Qes supplied as 1.1 Qts.
void QEScal(Design& d);
// A missing Qms from Qts and Qes (1/Qts = 1/Qes + 1/Qms), once a missing Qes
// is supplied: without it the impedance would be not-a-number everywhere.
// Left missing when Qes is not above Qts, so that no Qms fits.
void QMScal(Design& d);
// Whether the driver's impedance can be modelled: it has an Re, and a Qms
// given or supplied as above.
bool ImpedanceKnown(const Design& d);
// The reference efficiency N0: Effi when given, else from Fs, Vas and Qes.
void N0cal(Design& d);
// The sensitivity SPL (dB, 1 W / 1 m) from N0, after the coefficients.
void SPLcal(Design& d);
// The coefficients of the current system (cb.h, ib.h); the one entry point
// before any evaluation.
void CofCal(Design& d);
// A missing Qes and Qms supplied, RES and ZL from the driver, then the
// coefficients (with s_Resp "imp" they come from the mechanical Q): what
// the impedance view and the response data export start from.
void ImpPrepare(Design& d);
// The complex electrical impedance at the design's current f and ff, of the
// system boxSys names (not a number for none): the value whose magnitude
// CBIMPcal and IBIMPcal leave in yyLinea.
std::complex<f64> ElectricalImpedance(const Design& d);
// True while the impedance view is chosen (the coefficient steps then use QMS).
bool ImpedanceSubstitution(const Design& d);

// A box volume or Qtc the Calc. button takes: finite and above 0.
bool UsableBoxValue(f32 v);
// For a closed box solved for a Qtc, QTC becomes the Qtc the box drawn last
// was solved for, so the next solve gives that box again, to the last bit.
void ResumeShownQtc(Design& d);
// The frequency in Hz where the amplitude of the design's system is 3 dB
// below the pass band, from its model to a thousandth of a hertz (the box of
// ResumeShownQtc); not a number when the model has none.
f64 F3Frequency(Design d);

}  // namespace ks
