// The ten evaluation functions at the default driver's worked frequencies and
// at the points whose values follow from the formulas; the step response by
// numerical inversion against the exact response of the second-order high-pass.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "common/drivers.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/step.h"

namespace ks {
namespace {

using kt::Shown;

// The default driver (Fs 1000 Hz, Qts 0.707) at hz, the impedance view's
// preparation done when asked.
Design At(float hz, bool impedance = false, float qts = 0.707f, float qms = 2.5f)
{
    Design d = kt::DefaultDesign();
    d.QTS = qts, d.QMS = qms;
    if (impedance) d.s_Resp = "imp";
    impedance ? ImpPrepare(d) : CofCal(d);
    d.ff = hz;
    d.f = d.ff / d.FS;
    return d;
}

// The worked values at 500, 1000 and 2000 Hz. At resonance: 20 log10(1 / Qts)
// of attenuation, a peak when Qts > 1, a motional impedance of 1 whatever Qms
// is, and the Nyquist point on the imaginary axis.
TEST(InfiniteBaffle, WorkedValuesAndResonance)
{
    const struct {
        float hz;
        double amp, phase, gd;
        int gdDecimals;
        double imp;
        int impDecimals;
    } rows[] = {{500, 12.305, 136.682, 0.2648, 4, 10.055, 3},
                {1000, 3.012, 90.0, 0.22505, 5, 21.589, 3},
                {2000, 0.264, 43.318, 0.0662, 4, 10.29, 2}};
    for (const auto& w : rows) {
        SCOPED_TRACE(w.hz);
        Design d = At(w.hz);
        IBFRcal(d);
        EXPECT_DOUBLE_EQ(Shown(d.yy, 3), w.amp);
        IBPHcal(d);
        EXPECT_DOUBLE_EQ(Shown(d.yy, 3), w.phase);
        IBGDcal(d);
        EXPECT_DOUBLE_EQ(Shown(d.yy, w.gdDecimals), w.gd);
        Design z = At(w.hz, true);
        IBIMPcal(z);
        EXPECT_DOUBLE_EQ(Shown(z.yyLinea, w.impDecimals), w.imp);
    }
    Design peak = At(1000.0f, false, 2.0f);
    IBFRcal(peak);
    EXPECT_DOUBLE_EQ(Shown(peak.yy, 3), -6.021);
    for (float qms : {0.5f, 40.0f}) {
        Design d = At(1000.0f, true, 0.707f, qms);
        IBIMPcal(d);
        EXPECT_FLOAT_EQ(d.ZVC, 1.0f);
        EXPECT_FLOAT_EQ(d.yyLinea, d.RE + d.RES + d.ZL * 1000.0f);
    }
    Design d = At(1000.0f);
    IBNQcal(d);
    EXPECT_FLOAT_EQ(d.fai, static_cast<float>(std::numbers::pi / 2));
    EXPECT_NEAR(d.xx, 0.0, 1e-7);
}

Design Baffle(float qts)
{
    Design d = kt::DefaultDesign();
    d.QTS = qts;
    CofCal(d);
    EulerTransform(d);
    IBStepSubstitution(d);
    return d;
}

double Exact(double a01, double tau)
{
    const double z = a01 / 2.0, w = std::sqrt(1.0 - z * z);
    return std::exp(-z * tau) * (std::cos(w * tau) - z / w * std::sin(w * tau));
}

TEST(StepResponse, EulerWeights)
{
    Design d;
    d.DIGT = 6;
    EulerTransform(d);
    const float weights[] = {64, 63, 57, 42, 22, 7, 1, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(d.Euler[i], weights[i]) << i;
}

TEST(StepResponse, MatchesTheExactResponseFromExactlyOne)
{
    Design d = Baffle(0.707f);
    for (const auto& [tau, v] : {std::pair{0.5f, 0.41558}, {1.0f, 0.05451}, {2.0f, -0.20219}})
        EXPECT_NEAR(InverseLaplaceTransform(d, tau), v, 1e-4);
    for (float tau = 0.01f; tau < 16.67f; tau += 0.25f)
        EXPECT_NEAR(InverseLaplaceTransform(d, tau), Exact(d.A01, tau), 1e-4) << tau;
    // A closed box whose A02 is one is the baffle.
    Design c = d;
    c.A02 = 1.0f;
    CBStepSubstitution(c);
    for (float tau : {0.3f, 1.0f, 4.0f, 12.0f})
        EXPECT_EQ(InverseLaplaceTransform(c, tau), InverseLaplaceTransform(d, tau));
    d.DET.fill(std::nanf(""));  // nothing may be evaluated at τ = 0
    EXPECT_EQ(InverseLaplaceTransform(d, 0.0f), 1.0);
}

// The step view draws from the batched routine; its curve must be exactly the
// one-at-a-time values, for every lane, every tail length and τ = 0 anywhere.
TEST(StepResponse, ManyAtOnceAreTheSameBitsAsOneAtATime)
{
    std::vector<Design> designs;
    for (int digt : {0, 6, 19}) {
        Design b = Baffle(1.2f);
        b.DIGT = static_cast<i16>(digt);
        EulerTransform(b);
        designs.push_back(b);
    }
    Design c = kt::WorkedBox();
    CofCal(c);
    EulerTransform(c);
    CBStepSubstitution(c);
    designs.push_back(c);

    std::vector<float> taus = {0.3f, 0.0f, 2.0f, 0.0f, 5.0f, 1e-6f, 33.33f, 16.67f, 0.01f};
    for (float tau = 0.0f; tau <= 16.67f; tau = static_cast<float>(tau + 0.01)) taus.push_back(tau);
    for (const Design& d : designs) {
        for (std::size_t n : std::initializer_list<std::size_t>{0, 1, 3, 4, 5, 9, taus.size()}) {
            std::vector<double> out(n + 1, -7.0);  // one more: nothing written past n
            InverseLaplaceTransforms(d, std::span(taus.data(), n), std::span(out.data(), n));
            for (std::size_t i = 0; i < n; ++i)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(out[i]),
                          std::bit_cast<std::uint64_t>(InverseLaplaceTransform(d, taus[i])))
                    << "n " << n << " i " << i << " tau " << taus[i] << " DIGT " << d.DIGT;
            EXPECT_EQ(out[n], -7.0);
        }
    }
}

}  // namespace
}  // namespace ks
