// The step response by numerical inversion against the exact response of the
// second-order high-pass.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/drivers.h"
#include "model/step.h"

namespace ks {
namespace {

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
    EXPECT_NEAR(InverseLaplaceTransform(d, 0.5f), 0.41558, 1e-4);
    EXPECT_NEAR(InverseLaplaceTransform(d, 1.0f), 0.05451, 1e-4);
    EXPECT_NEAR(InverseLaplaceTransform(d, 2.0f), -0.20219, 1e-4);
    for (float tau = 0.01f; tau < 16.67f; tau += 0.25f)
        EXPECT_NEAR(InverseLaplaceTransform(d, tau), Exact(d.A01, tau), 1e-4) << tau;
    d.DET.fill(std::nanf(""));  // nothing may be evaluated at τ = 0
    EXPECT_EQ(InverseLaplaceTransform(d, 0.0f), 1.0);
}

TEST(StepResponse, ClosedBoxWithA02OneIsTheBaffle)
{
    Design b = Baffle(0.5f);
    Design c = b;
    c.A02 = 1.0f;
    CBStepSubstitution(c);
    for (float tau : {0.3f, 1.0f, 4.0f, 12.0f})
        EXPECT_EQ(InverseLaplaceTransform(c, tau), InverseLaplaceTransform(b, tau));
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
        for (std::size_t n : {std::size_t{0}, std::size_t{1}, std::size_t{3}, std::size_t{4}, std::size_t{5},
                              std::size_t{9}, taus.size()}) {
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
