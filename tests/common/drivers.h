// SPDX-License-Identifier: GPL-3.0-or-later
// The drivers every suite designs with: the built-in default driver, the worked closed-box driver (Fs 50 Hz,
// Vas 10 l, Qts 0.35), and drivers whose values break the formulas.
#pragma once

#include <cmath>

#include "model/design.h"
#include "model/response.h"
#include "support/numtext.h"

namespace kt {

// The worked driver as a received record (kestrova-render's --driver).
inline constexpr const char* kWooferRecord = "DUMMY#  W  Woofer  16  50  10  0.35  0.4  3  0  6  50  100  3  10  0.5  ";

// The incoming driver adopted and set up.
inline ks::Design SetUp(ks::Design d)
{
    ks::ParameterPass(d);
    ks::InitSetUpMenuParam(d);
    return d;
}
inline ks::Design DefaultDesign() { return SetUp({}); }

// The worked closed-box driver, adopted and set up.
inline ks::Design WorkedBox(float qts = 0.35f)
{
    ks::Design d;
    d.FS2 = 50.0f, d.VAS2 = 10.0f, d.QTS2 = qts, d.QMS2 = 3.0f, d.QES2 = 0.4f;
    return SetUp(d);
}

// A value as the program shows it with the given decimals.
inline double Shown(float v, int decimals) { return ks::RoundedValue(v, decimals); }

// Drivers whose values break the formulas: every view must still draw and every field show its text.
struct BadDriver {
    const char* name;
    float fs, vas, qts, qes, qms, re, le;
};

// clang-format off
inline constexpr BadDriver kBadDrivers[] = {
    {"fs0", 0.0f, 10.0f, 0.35f, 0.4f, 3.0f, 6.0f, 0.5f},
    {"qts0", 50.0f, 10.0f, 0.0f, 0.0f, 3.0f, 6.0f, 0.5f},
    {"vasNegative", 50.0f, -5.0f, 0.35f, 0.4f, 3.0f, 6.0f, 0.5f},
    {"allZero", 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f},
    {"huge", 3e38f, 3e38f, 3e38f, 3e38f, 3e38f, 3e38f, 3e38f},
    {"nan", NAN, NAN, NAN, NAN, NAN, NAN, NAN},
};
// clang-format on

}  // namespace kt

// The whole context, for suites that link it.
#if __has_include("context/kestrova.h")
#include "context/kestrova.h"

namespace kt {

// The built-in driver adopted as the program does at start, sensitivity too.
inline void SetUpDriver(ks::Kestrova& k)
{
    k.d = SetUp(k.d);
    ks::SPLcal(k.d);
}

// A driver of one's own (Vas > 0 gives the closed box).
inline void SetUpDriver(ks::Kestrova& k, float fs, float vas, float qts, float qes, float qms)
{
    k.d.FS2 = fs, k.d.VAS2 = vas, k.d.QTS2 = qts, k.d.QES2 = qes, k.d.QMS2 = qms;
    SetUpDriver(k);
}

inline ks::Kestrova Adopt(const BadDriver& b)
{
    ks::Kestrova k;
    k.d.RE2 = b.re, k.d.LE2 = b.le, k.d.EFI2 = 0.0f;
    SetUpDriver(k, b.fs, b.vas, b.qts, b.qes, b.qms);
    return k;
}

}  // namespace kt
#endif

// Drivers as the companion sends them, for suites that link the records.
#if __has_include("exchange/records.h")
#include <string>

#include "exchange/records.h"

namespace kt {

// The worked closed-box driver (Fs 50 Hz, Vas 10 litres, Qts 0.35), and a tweeter with a tiny Vas; the values
// in the record's order: Dia, Fs, Vas, Qts, Qes, Qms, efficiency, Re, Pemax, Sd, Xmax, Vd, Le.
inline std::string ClosedBoxRecord()
{
    return ks::MakeDriverRecord({"Mid-13W", "60-4000 Hz", 13, 50, 10, 0.35, 0.4, 2.8, 0.5, 6.2, 60, 85, 4, 34, 0.4})
        .str();
}
inline std::string TweeterRecord()
{
    return ks::MakeDriverRecord({"Tw-25", "2-20 kHz", 2.5, 900, 0.05, 0.6, 0.9, 2, 0.3, 5.6, 40, 7, 0.5, 0.4, 0.05})
        .str();
}

}  // namespace kt
#endif
