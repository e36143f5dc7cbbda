// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/step.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ks {

namespace {
constexpr f64 kAbscissa = 6.0;  // a: distance of the inversion line
constexpr int kPlainTerms = 8;  // n: terms summed with full weight

// The Euler weights fill 21 places: at most 19 weighted terms.
int EulerTerms(const Design& d) { return std::clamp<int>(d.DIGT, 0, 19); }
}  // namespace

void EulerTransform(Design& d)
{
    std::array<f32, 21> b{};
    const int digt = EulerTerms(d);
    b[0] = 1.0f;
    for (int i = 1; i <= digt; ++i) b[i] = static_cast<f32>(static_cast<f64>(b[i - 1]) * (digt + 1 - i) / i);
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
    const int digt = EulerTerms(d);
    for (int j = 1; j <= digt; ++j) {
        S += d.Euler[j] * SubroutineInverseLaplaceTransform(d, x, y, w);
        y = y + h;
        w = -w;
    }
    return static_cast<f64>(E) * S / d.Euler[0];
}

namespace {

// Four times at once in the vector registers. Each lane does the scalar
// routine's operations in its order, so the values do not change.
using V4d = f64 __attribute__((vector_size(4 * sizeof(f64))));
using V4f = f32 __attribute__((vector_size(4 * sizeof(f32))));
constexpr int kLanes = 4;

struct Polynomial {
    std::array<f64, 21> c{};
    int terms = 0;  // coefficients c[1] .. c[terms]
};

Polynomial Widen(const std::array<f32, 21>& c, int order)
{
    Polynomial p;
    p.terms = std::clamp(order + 1, 0, 20);
    for (int i = 1; i <= p.terms; ++i) p.c[i] = c[i];
    return p;
}

void FourAtOnce(const Design& d, const Polynomial& nu, const Polynomial& de, int digt, const f32* tau, f64* out)
{
    V4d X{}, E{};
    V4f y{}, h{};
    for (int l = 0; l < kLanes; ++l) {
        const f64 t = tau[l];
        X[l] = static_cast<f32>(kAbscissa / t);
        h[l] = static_cast<f32>(std::numbers::pi / t);
        y[l] = static_cast<f32>(static_cast<f64>(h[l]) / 2.0);
        E[l] = static_cast<f32>(std::exp(kAbscissa) / t);
    }
    f32 w = 1.0f;
    // Out through a reference: a vector return would change the ABI without AVX.
    auto term = [&](V4d& q) {
        const V4d Y = __builtin_convertvector(y, V4d);
        V4d nr{}, ni{}, dr{}, di{};
        for (int i = 1; i <= nu.terms; ++i) {
            const V4d r = X * nr - Y * ni + nu.c[i];
            ni = X * ni + Y * nr;
            nr = r;
        }
        for (int i = 1; i <= de.terms; ++i) {
            const V4d r = X * dr - Y * di + de.c[i];
            di = X * di + Y * dr;
            dr = r;
        }
        q = static_cast<f64>(w) * (nr * di - ni * dr) / (dr * dr + di * di);
        y = y + h;
        w = -w;
    };
    V4d S{}, q;
    for (int i = 0; i < kPlainTerms; ++i) {
        term(q);
        S += q;
    }
    S *= static_cast<f64>(d.Euler[0]);
    for (int j = 1; j <= digt; ++j) {
        term(q);
        S += static_cast<f64>(d.Euler[j]) * q;
    }
    const V4d g = E * S / static_cast<f64>(d.Euler[0]);
    for (int l = 0; l < kLanes; ++l) out[l] = tau[l] == 0.0f ? 1.0 : g[l];
}

}  // namespace

void InverseLaplaceTransforms(const Design& d, std::span<const f32> taus, std::span<f64> out)
{
    const Polynomial nu = Widen(d.NUT, d.NUO), de = Widen(d.DET, d.DEO);
    const int digt = EulerTerms(d);
    const std::size_t n = std::min(taus.size(), out.size());
    std::size_t i = 0;
    for (; i + kLanes <= n; i += kLanes) FourAtOnce(d, nu, de, digt, &taus[i], &out[i]);
    if (i == n) return;
    // The last few, padded with a harmless time.
    f32 tail[kLanes] = {1.0f, 1.0f, 1.0f, 1.0f};
    f64 result[kLanes];
    std::copy(taus.begin() + static_cast<std::ptrdiff_t>(i), taus.begin() + static_cast<std::ptrdiff_t>(n), tail);
    FourAtOnce(d, nu, de, digt, tail, result);
    std::copy(result, result + (n - i), out.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace ks
