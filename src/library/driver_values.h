// SPDX-License-Identifier: GPL-3.0-or-later
// What a driver's values mean beyond their syntax: the range in which the
// value of a real driver lies, so that a slip of units (a diameter in metres
// read as centimetres, Fs 1e300) is caught before it reaches the design
// program, and the Qts that follows from Qes and Qms.
#pragma once

#include <optional>
#include <string>

#include "library/driver.h"

namespace ks::lib {

struct Plausible {
    double low, high;
};
// The range of a numeric field; 0 (not given) lies outside every range and
// is the caller's to allow. Nothing for the texts.
std::optional<Plausible> PlausibleRange(Field f);
// Whether a given value lies in its field's range (0, not given, does).
bool IsPlausible(Field f, double v);
// A value outside its range said with the range, e.g. "Fs 1e+300 Hz lies
// outside 1 to 20000 Hz"; nothing when it lies inside.
std::optional<std::string> Implausible(Field f, double v);
// The first of the driver's values outside its range.
std::optional<std::string> Implausible(const Driver& d);

// 1/Qts = 1/Qes + 1/Qms.
double QtsFrom(double qes, double qms);
// Whether the driver's Qts is the one its Qes and Qms give, as it is when
// it was left out and computed: it follows them when they change.
bool QtsIsComputed(const Driver& d);
// Decimals the design program shows Qts with.
inline constexpr int kQtsDecimals = 3;

}  // namespace ks::lib
