// The ten evaluation functions at the default driver's worked frequencies and
// at the points whose values follow from the formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/cb.h"
#include "common/drivers.h"
#include "model/ib.h"

namespace ks {
namespace {

using kt::Shown;

// The default driver (Fs 1000 Hz, Qts 0.707) at hz, the impedance view's
// preparation done when asked.
Design At(float hz, bool impedance = false, float qts = 0.707f, float qms = 2.5f)
{
    Design d = kt::DefaultDesign();
    d.QTS = qts;
    d.QMS = qms;
    if (impedance) d.s_Resp = "imp";
    impedance ? ImpPrepare(d) : CofCal(d);
    d.ff = hz;
    d.f = d.ff / d.FS;
    return d;
}

TEST(DefaultDriver, WorkedValuesAt500_1000_2000Hz)
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
}

// At resonance: 20 log10(1 / Qts) of attenuation, a peak when Qts > 1, a
// motional impedance of 1 whatever Qms is, and the Nyquist point on the
// imaginary axis.
TEST(InfiniteBaffle, AtResonance)
{
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

TEST(Asymptotes, FarAboveAndBelowResonance)
{
    for (short sys : {1, 3}) {
        Design d = sys == 1 ? kt::WorkedBox() : kt::DefaultDesign();
        CofCal(d);
        auto amp = sys == 1 ? CBFRcal : IBFRcal;
        auto ph = sys == 1 ? CBPHcal : IBPHcal;
        auto nq = sys == 1 ? CBNQcal : IBNQcal;
        d.f = 1000.0f;
        amp(d);
        EXPECT_NEAR(d.yy, 0.0, 1e-3);
        ph(d);
        EXPECT_NEAR(d.yy, 0.0, 0.5);
        nq(d);
        EXPECT_NEAR(d.xx, 1.0, 1e-3);
        EXPECT_NEAR(d.yy, 0.0, 1e-2);
        d.f = 0.001f;
        ph(d);
        EXPECT_NEAR(d.yy, 180.0, 0.1);
        nq(d);
        EXPECT_NEAR(std::hypot(d.xx, d.yy), 0.0, 1e-5);
    }
}

TEST(GroupDelay, PositiveEverywhereForBothSystems)
{
    for (short sys : {1, 3}) {
        Design d = sys == 1 ? kt::WorkedBox() : kt::DefaultDesign();
        CofCal(d);
        for (float hz = 10.0f; hz < 40000.0f; hz *= 1.1f) {
            d.f = hz / d.FS;
            sys == 1 ? CBGDcal(d) : IBGDcal(d);
            EXPECT_GT(d.yy, 0.0f) << hz;
        }
    }
}

}  // namespace
}  // namespace ks
