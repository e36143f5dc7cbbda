// Builders shared by the model tests: a design adopted the way the program
// adopts a driver, and the displayed form of a value.
#pragma once

#include "model/design.h"
#include "model/response.h"
#include "support/numtext.h"

namespace ks::test {

// The built-in default driver, adopted and set up.
inline Design DefaultDesign()
{
    Design d;
    ParameterPass(d);
    InitSetUpMenuParam(d);
    return d;
}

// The closed-box worked driver: Fs 50 Hz, Vas 10 l, Qts 0.35, Qa 10.
inline Design WorkedBox(float qts = 0.35f)
{
    Design d;
    d.FS2 = 50.0f;
    d.VAS2 = 10.0f;
    d.QTS2 = qts;
    d.QMS2 = 3.0f;
    d.QES2 = 0.4f;
    ParameterPass(d);
    InitSetUpMenuParam(d);
    return d;
}

// A value as the program shows it with the given decimals.
inline double Shown(float v, int decimals) { return RoundedValue(v, decimals); }

}  // namespace ks::test
