// SPDX-License-Identifier: GPL-3.0-or-later
// Step response by numerical inverse Laplace transform (Fourier series along a
// vertical line, alternating tail summed with Euler weights).
#pragma once

#include <span>

#include "model/design.h"

namespace ks {

void EulerTransform(Design& d);
void CBStepSubstitution(Design& d);
void IBStepSubstitution(Design& d);
f64 SubroutineInverseLaplaceTransform(const Design& d, f32 x, f32 y, f32 w);
f64 InverseLaplaceTransform(const Design& d, f32 tau);
// InverseLaplaceTransform for each of taus into out (as many), bit for bit the
// same values, several times at once: a step view asks for thousands.
void InverseLaplaceTransforms(const Design& d, std::span<const f32> taus, std::span<f64> out);

}  // namespace ks
