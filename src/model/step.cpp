#include "model/step.h"

#include <cmath>
#include <numbers>

namespace ks {

namespace {
constexpr f64 kAbscissa = 6.0;  // a: distance of the inversion line
constexpr int kPlainTerms = 8;  // n: terms summed with full weight
}  // namespace

void EulerTransform(Design& d)
{
    std::array<f32, 21> b{};
    const int digt = d.DIGT < 0 ? 0 : (d.DIGT > 19 ? 19 : d.DIGT);
    b[0] = 1.0f;
    for (int i = 1; i <= digt; ++i)
        b[i] = static_cast<f32>(static_cast<f64>(b[i - 1]) * (digt + 1 - i) / i);
    d.Euler[digt + 1] = 0.0f;
    for (int i = digt; i >= 0; --i) d.Euler[i] = d.Euler[i + 1] + b[i];
}

void CBStepSubstitution(Design& d)
{
    d.NUO = 2;
    d.NUT[1] = 1.0f;
    d.NUT[2] = 0.0f;
    d.NUT[3] = 0.0f;
    d.DEO = 3;
    d.DET[1] = 1.0f;
    d.DET[2] = d.A01;
    d.DET[3] = d.A02;
    d.DET[4] = 0.0f;
}

void IBStepSubstitution(Design& d)
{
    CBStepSubstitution(d);
    d.DET[3] = 1.0f;
}

f64 SubroutineInverseLaplaceTransform(const Design& d, f32 x, f32 y, f32 w)
{
    const f64 X = x, Y = y;
    auto horner = [&](const std::array<f32, 21>& c, int order, f64& re, f64& im) {
        re = 0.0;
        im = 0.0;
        for (int i = 1; i <= order + 1 && i < 21; ++i) {
            const f64 r = X * re - Y * im + c[i];
            im = X * im + Y * re;
            re = r;
        }
    };
    f64 nr, ni, dr, di;
    horner(d.NUT, d.NUO, nr, ni);
    horner(d.DET, d.DEO, dr, di);
    return static_cast<f64>(w) * (nr * di - ni * dr) / (dr * dr + di * di);
}

f64 InverseLaplaceTransform(const Design& d, f32 tau)
{
    if (tau == 0.0f) return 1.0;
    const f64 t = tau;
    const f32 x = static_cast<f32>(kAbscissa / t);
    const f32 h = static_cast<f32>(std::numbers::pi / t);
    f32 y = static_cast<f32>(static_cast<f64>(h) / 2.0);
    const f32 E = static_cast<f32>(std::exp(kAbscissa) / t);
    f32 w = 1.0f;
    f64 S = 0.0;
    for (int i = 0; i < kPlainTerms; ++i) {
        S += SubroutineInverseLaplaceTransform(d, x, y, w);
        y = y + h;
        w = -w;
    }
    S *= d.Euler[0];
    const int digt = d.DIGT < 0 ? 0 : (d.DIGT > 19 ? 19 : d.DIGT);
    for (int j = 1; j <= digt; ++j) {
        S += d.Euler[j] * SubroutineInverseLaplaceTransform(d, x, y, w);
        y = y + h;
        w = -w;
    }
    return static_cast<f64>(E) * S / d.Euler[0];
}

}  // namespace ks
