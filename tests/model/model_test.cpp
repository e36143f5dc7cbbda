// SPDX-License-Identifier: GPL-3.0-or-later
// The driver's adoption, the worked closed-box alignments as quoted, the evaluations against independent formulas.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <tuple>
#include <vector>

#include "common/drivers.h"
#include "model/cb.h"
#include "model/excursion.h"
#include "model/ib.h"
#include "model/response.h"
#include "model/step.h"

namespace ks {
namespace {

using kt::Shown;

// alin 1 (optimum) when requested is 0, else alin 3 (Qtc) for that Qtc.
Design Box(float qts, float qa, float requested)
{
    Design d = kt::WorkedBox(qts);
    d.QA = qa, d.alin = requested > 0.0f ? 3 : 1, d.QTC = requested;
    CofCal(d);
    return d;
}

// A value equals its quoted figure when shown with the figure's decimals.
void ExpectQuoted(float v, const char* quoted)
{
    if (!*quoted) return;
    const char* point = std::strchr(quoted, '.');
    const int decimals = point ? static_cast<int>(std::strlen(point + 1)) : 0;
    EXPECT_DOUBLE_EQ(Shown(v, decimals), std::strtod(quoted, nullptr)) << quoted;
}

TEST(Alignment, WorkedBoxesAndTheLossFactor)
{
    // clang-format off
    const struct { const char* name; float qts, qa, requested; const char *hh, *fc, *vb, *qtc; int alart; } rows[] = {
        {"optimum", 0.35f, 10, 0, "2.1381", "106.905", "2.79998", "0.707", 1},
        // The first optimum pass (Qtc 0.1) is not above 0.707: the 0.707 box.
        {"first pass, Qts 0.65", 0.65f, 10, 0.1f, "", "", "", "0.7062", 0},
        {"optimum, Qts 0.65", 0.65f, 10, 0, "", "", "", "0.707", 1},
        {"first pass reaches 0.1", 0.05f, 10, 0.1f, "2.015", "", "", "0.1", 1},
        {"optimum, Qts 0.05", 0.05f, 10, 0, "", "", "", "0.707", 1},
        {"optimum, Qts 0.9", 0.9f, 10, 0, "1.1", "", "", "", 0},  // above 0.707 at once: the smallest box stays
        {"Qtc reachable", 0.35f, 10, 1.0f, "", "", "", "1.0", 1},
        {"Qtc too small", 0.35f, 10, 0.3f, "1.1", "55.0", "47.619", "0.382", 0},
        {"negative discriminant", 0.35f, 10, 0.01f, "1.1", "", "", "", 0},  // b² < 4ac: no root, too small too
        // The box of a hundredth of Vas (Vb 0.1 l, Fc 502.5 Hz) has Qtc 2.6089.
        {"Qtc too large", 0.35f, 10, 6.0f, "", "502.3", "0.10", "2.608", -1},
        {"Qtc with Qa 5", 0.35f, 5, 0.9f, "", "", "", "0.9", 1},
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const Design d = Box(r.qts, r.qa, r.requested);
        for (const auto& [v, quoted] : {std::pair{d.HH, r.hh}, {d.FC, r.fc}, {d.VB, r.vb}, {d.QTC, r.qtc}})
            ExpectQuoted(v, quoted);
        EXPECT_EQ(d.CBAlart, r.alart);
        EXPECT_EQ(std::tuple(d.VBbak, d.QTCbak), std::tuple(d.VB, d.QTC));
    }
    // With alignment 3 the loss factor is in the quadratic: another box.
    EXPECT_NE(Box(0.35f, 10, 0.9f).HH, Box(0.35f, 5, 0.9f).HH);
    // A too-small request's correction is where the next recalculation starts.
    Design d = Box(0.35f, 10, 0.3f);
    d.CBAlart = 1;
    CofCal(d);
    EXPECT_EQ(std::pair(int(d.CBAlart), Shown(d.QTC, 3)), std::pair(1, 0.382));
    // The box-volume alignment's Vab is the loss factor's share of Vb; a loss factor off the list leaves it.
    for (const auto& [qa, vab] :
         {std::pair{5.0f, 12.0f}, {7.0f, 11.0f}, {10.0f, 10.0f}, {15.0f, 10.0f}, {20.0f, 10.0f}}) {
        d = kt::WorkedBox();
        d.alin = 2, d.VB = 10.0f, d.QA = qa;
        CofCal(d);
        EXPECT_EQ(std::tuple(d.VB, d.VAB, d.CBAlart), std::tuple(10.0f, vab, 1)) << qa;
    }
    d.QA = 10.5f, d.CP = 9.0f;
    CPopt(d);
    EXPECT_EQ(d.CP, 9.0f);
}

// Too large a Qtc gives a buildable box (Vb >= Vas/100, Fc < 10 Fs) whose Qtc (at most 5, below Qa) is offered
// rounded down and taken when entered; the next valid request is met at once.
TEST(QtcAlignment, LargeRequestsGiveABoxABuilderCanMake)
{
    for (const float qts : {0.35f, 1.0f}) {
        for (const float qa : {5.0f, 7.0f, 10.0f, 15.0f, 20.0f}) {
            SCOPED_TRACE(testing::Message() << "Qts " << qts << ", Qa " << qa);
            const double offered = Shown(Box(qts, qa, 100.0f).QTC, 3);
            EXPECT_EQ(offered == 5.0, qts == 1.0f && qa >= 10.0f) << offered;
            EXPECT_TRUE(offered <= 5.0 && offered < qa) << offered;
            for (const float requested : {static_cast<float>(offered), 5.0f, 7.0f, 100.0f}) {
                const Design d = Box(qts, qa, requested);
                EXPECT_TRUE(d.VB >= 0.1f * (1.0f - 1e-5f) && d.FC > d.FS && d.FC < 10.1f * d.FS)  // Vb: Vas/100
                    << requested << ": Vb " << d.VB << ", Fc " << d.FC;
                EXPECT_EQ(std::pair(int(d.CBAlart), Shown(d.QTC, 3)),
                          std::pair(requested > static_cast<float>(offered) ? -1 : 1, offered));
            }
            Design next = Box(qts, qa, 100.0f);  // the next valid request is met at once
            next.QTC = qts < 0.5f ? 0.8f : 1.5f;
            CofCal(next);
            EXPECT_EQ(next.CBAlart, 1);
        }
    }
}

// The sensitivity from the efficiency, else from Vas with a missing Qes supplied till the next driver, else -inf.
TEST(Sensitivity, FromTheEfficiencyElseFromVasWithAMissingQesSupplied)
{
    Design d = kt::DefaultDesign();  // no Vas
    for (const auto& [efi, n0, spl] : {std::tuple{d.EFI, 0.00628f, " 89.998"}, {0.0f, 0.0f, "-inf"}}) {
        d.EFI = efi;
        SPLcal(d);
        EXPECT_FLOAT_EQ(d.N0, n0);
        EXPECT_EQ(RoundedText(d.SPL, 3).str(), spl);
    }
    d = kt::WorkedBox();
    d.EFI = 0.0f, d.QES = 0.0f;
    N0cal(d);
    const float supplied = static_cast<float>(0.35f * 1.1);
    EXPECT_EQ(d.QES, supplied);
    EXPECT_NEAR(d.N0, 0.0031214f, 1e-7f);  // Fs 50 Hz, Vas 10 l, Qes 0.385
    for (const auto& [entered, kept] : {std::pair{0.5f, 0.5f}, std::pair{-1.0f, supplied}}) {
        d.QES = entered;
        QEScal(d);
        EXPECT_EQ(d.QES, kept);
    }
    ParameterPass(d);
    EXPECT_EQ(d.QES, 0.4f);
}

// A missing Qms comes from Qts and Qes (after a missing Qes is supplied); where they allow none (Qes not above
// Qts), or without Re, the impedance is not known.
TEST(Impedance, MissingQmsIsSuppliedWhereQtsAndQesAllow)
{
    // clang-format off
    const struct { float qes, qms, re, after; bool known; } rows[] = {
        {0.4f, 0.0f, 6.0f, 2.8f, true}, {0.35f, 0.0f, 6.0f, 0.0f, false},
        {0.0f, 0.0f, 6.0f, 3.85f, true},  // Qes 1.1·Qts, so Qms 11·Qts
        {0.4f, 3.0f, 6.0f, 3.0f, true}, {0.4f, 3.0f, 0.0f, 3.0f, false},  // given: kept; without Re
    };
    // clang-format on
    for (const auto& r : rows) {
        Design d = kt::WorkedBox();
        d.QES = r.qes, d.QMS = r.qms, d.RE = r.re, d.s_Resp = "imp";
        EXPECT_EQ(ImpedanceKnown(d), r.known) << r.qes << " " << r.qms << " " << r.re;
        ImpPrepare(d);
        EXPECT_NEAR(d.QMS, r.after, 1e-5f * r.after) << r.qes << " " << r.qms;
    }
}

// Only the driver is copied; a driver without Vas has no box, so none of the previous driver's is shown as its;
// Vas decides the system and every selector goes back to its start.
TEST(DriverAdoption, CopiesOnlyTheDriverAndVasDecidesTheSystemAndTheBox)
{
    for (const auto& [vas, sys] : {std::pair{10.0f, 1}, std::pair{0.0f, 3}, std::pair{-3.0f, 3}}) {
        Design d = kt::WorkedBox();
        CofCal(d);  // the previous driver's box
        d.VAS2 = vas;
        ParameterPass(d);
        for (const float v : {d.VB, d.FC, d.QTC, d.VBbak, d.QTCbak}) EXPECT_EQ(v == 0.0f, vas <= 0.0f) << vas;
        d.s_Resp = "st", d.respID = 6, d.alin = 3, d.scale = 10, d.magni = 2, d.boxSys = 2;
        InitSetUpMenuParam(d);
        EXPECT_EQ(std::tuple(d.boxSys, d.CBactive), std::tuple(sys, sys == 1 ? 1 : 0)) << vas;
        EXPECT_EQ(std::tuple(d.s_Resp, d.respID, d.alin, d.scale, d.magni), std::tuple("amp", 1, 1, 5, 1));
    }
    Design d = kt::WorkedBox();
    d.alin = 2, d.VB = 7.5f, d.QTC = 0.8f, d.QA = 5, d.boxSys = 2, d.s_Resp = "gd";
    d.s_SP2 = "Other", d.FS2 = 75.0f, d.LE2 = 0.5f;
    ParameterPass(d);
    EXPECT_EQ(std::tuple(d.FS, d.LE, d.VB, d.QTC, d.QA), std::tuple(75.0f, 0.5f, 7.5f, 0.8f, 5.0f));
    EXPECT_EQ(std::tuple(d.s_SP, d.alin, d.boxSys, d.s_Resp), std::tuple("Other", 2, 2, "gd"));
}

// Nothing for an unknown system, no box for the baffle; the impedance view reshapes only the coefficients with Q.
TEST(CofCal, DispatchesOnTheSystemAndTheImpedanceViewKeepsQtsAndTheBox)
{
    Design none = kt::WorkedBox();
    none.boxSys = 7;
    CofCal(none);
    EXPECT_EQ(std::tuple(none.A01, none.VB), std::tuple(0.0f, 0.0f));
    for (short sys : {1, 2}) {
        Design d = kt::WorkedBox();
        d.boxSys = sys;
        CofCal(d);
        const Design amp = d;
        EXPECT_EQ(amp.VB == 0.0f, sys == 2);  // no box for the baffle
        if (sys == 2) {
            EXPECT_FLOAT_EQ(amp.A01, 1.0f / 0.35f);  // 1 / Qts
        }
        d.s_Resp = "imp";
        CofCal(d);
        EXPECT_EQ(std::tuple(d.QTS, d.VB, d.FC, d.QTC, d.A02), std::tuple(0.35f, amp.VB, amp.FC, amp.QTC, amp.A02));
        EXPECT_NE(d.A01, amp.A01);
        EXPECT_FLOAT_EQ(sys == 1 ? d.B01 : d.A01, 1.0f / 3.0f);  // 1 / Qms
    }
}

// The default driver (Fs 1000 Hz, Qts 0.707) at hz.
Design At(float hz, float qts = 0.707f)
{
    Design d = kt::DefaultDesign();
    d.QTS = qts;
    CofCal(d);
    d.ff = hz;
    d.f = d.ff / d.FS;
    return d;
}

// The worked values at 500, 1000 and 2000 Hz (the impedance is the complex sum's test); at resonance
// 20 log10(1 / Qts) of attenuation, a peak when Qts > 1, and the Nyquist point on the imaginary axis.
TEST(InfiniteBaffle, WorkedValuesAndResonance)
{
    // clang-format off
    const struct { float hz; double amp, phase, gd; int gdDecimals; } rows[] = {
        {500, 12.305, 136.682, 0.2648, 4}, {1000, 3.012, 90.0, 0.22505, 5}, {2000, 0.264, 43.318, 0.0662, 4}};
    // clang-format on
    for (const auto& w : rows) {
        SCOPED_TRACE(w.hz);
        Design d = At(w.hz);
        IBFRcal(d);
        EXPECT_DOUBLE_EQ(Shown(d.yy, 3), w.amp);
        IBPHcal(d);
        EXPECT_DOUBLE_EQ(Shown(d.yy, 3), w.phase);
        IBGDcal(d);
        EXPECT_DOUBLE_EQ(Shown(d.yy, w.gdDecimals), w.gd);
    }
    Design peak = At(1000.0f, 2.0f);
    IBFRcal(peak);
    EXPECT_DOUBLE_EQ(Shown(peak.yy, 3), -6.021);
    Design d = At(1000.0f);
    IBNQcal(d);
    EXPECT_FLOAT_EQ(d.fai, static_cast<float>(std::numbers::pi / 2));
    EXPECT_NEAR(d.xx, 0.0, 1e-7);
}

// |Re + jωLe + RES·B01·s / (s² + A01·s + A02)| over the sweep, box and baffle, with a coil and without; at
// resonance, with a coil too small to count there, the height is the coil's added to the motional term's.
TEST(Impedance, IsTheMagnitudeOfTheComplexSum)
{
    for (const auto& [sys, le] : {std::pair{1, 0.5f}, {2, 0.5f}, {1, 0.0f}, {2, 0.01f}}) {
        SCOPED_TRACE(testing::Message() << "system " << sys << ", Le " << le);
        Design d = kt::WorkedBox();  // Fs 50, Re 6, Qms 3, Qes 0.4: Res 45
        d.LE = le, d.boxSys = static_cast<i16>(sys), d.s_Resp = "imp";
        ImpPrepare(d);
        const double a02 = sys == 1 ? d.A02 : 1.0, b01 = sys == 1 ? d.B01 : d.A01;
        const auto at = [&](double hz) {
            d.ff = static_cast<float>(hz);
            d.f = d.ff / d.FS;
            sys == 1 ? CBIMPcal(d) : IBIMPcal(d);
            const std::complex<double> s(0.0, d.ff / 50.0);
            return std::abs(6.0 + s * 50.0 * 2.0 * std::numbers::pi * double(le) / 1000.0 +
                            45.0 * b01 * s / (s * s + double(d.A01) * s + a02));
        };
        for (double hz = 20.0; hz <= 20000.0; hz *= 1.1) EXPECT_NEAR(d.yyLinea, at(hz), 1e-5 * at(hz)) << hz;
        at(50.0 * std::sqrt(a02));
        if (le < 0.1f) {
            EXPECT_NEAR(d.yyLinea, d.RE + d.RES * d.ZVC + d.ZL * d.ff, 1e-3 * d.yyLinea);
        }
    }
}

// x = (f3/Fs)² solves (1 - g)x² + g(2·A02 - A01²)x - g·A02² = 0 with g = 10^-0.3; a Qtc box is solved for the
// Qtc it was drawn with.
TEST(F3, ThreeDecibelsDownFromTheModelToAThousandthOfAHertz)
{
    const auto closedForm = [](const Design& d) {
        const double a02 = d.boxSys == 1 ? d.A02 : 1.0, a01 = d.A01, g = std::pow(10.0, -0.3);
        const double b = g * (2.0 * a02 - a01 * a01), c = -g * a02 * a02;
        return d.FS * std::sqrt((-b + std::sqrt(b * b - 4.0 * (1.0 - g) * c)) / (2.0 * (1.0 - g)));
    };
    // clang-format off
    const struct { const char* name; short system, alin; float qtc, shownQtc; } rows[] = {
        {"optimum", 1, 1, 0, NAN}, {"qtc 1.2", 1, 3, 1.2f, NAN}, {"resumed", 1, 3, 5.0f, 0.9f},
        {"baffle", 2, 1, 0, NAN}, {"rear-closed", 3, 1, 0, NAN}};
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Design d = kt::WorkedBox();
        d.boxSys = r.system, d.alin = r.alin, d.QTC = r.qtc, d.QTCplot = r.shownQtc;
        d.s_Resp = "imp";  // F3 is the amplitude's, whatever the view
        Design solved = d;
        ResumeShownQtc(solved);
        solved.s_Resp = "amp";
        CofCal(solved);
        EXPECT_NEAR(F3Frequency(d), closedForm(solved), 1e-3);
    }
    Design noFs = kt::WorkedBox();
    noFs.FS = 0.0f;
    for (const Design& none : {noFs, kt::WorkedBox(0.0f)}) EXPECT_TRUE(std::isnan(F3Frequency(none)));  // or Qts
}

Design Baffle(float qts)
{
    Design d = At(0.0f, qts);
    EulerTransform(d);
    IBStepSubstitution(d);
    return d;
}

double Exact(double a01, double tau)
{
    const double z = a01 / 2.0, w = std::sqrt(1.0 - z * z);
    return std::exp(-z * tau) * (std::cos(w * tau) - z / w * std::sin(w * tau));
}

// From exactly one along the exact response, a closed box whose A02 is one as the baffle; the step view's batched
// values are exactly the one-at-a-time ones: every lane, tail length, and τ = 0 anywhere.
TEST(StepResponse, MatchesTheExactResponseOneAtATimeAndManyAtOnce)
{
    Design d = Baffle(0.707f);
    for (const auto& [tau, v] : {std::pair{0.5f, 0.41558}, {1.0f, 0.05451}, {2.0f, -0.20219}})
        EXPECT_NEAR(InverseLaplaceTransform(d, tau), v, 1e-4);
    for (float tau = 0.01f; tau < 16.67f; tau += 0.25f)
        EXPECT_NEAR(InverseLaplaceTransform(d, tau), Exact(d.A01, tau), 1e-4) << tau;
    Design c = d;
    c.A02 = 1.0f;
    CBStepSubstitution(c);
    for (float tau : {0.3f, 1.0f, 4.0f, 12.0f})
        EXPECT_EQ(InverseLaplaceTransform(c, tau), InverseLaplaceTransform(d, tau));
    std::vector<Design> designs = {c};
    for (int digt : {0, 6, 19}) {
        Design b = Baffle(1.2f);
        b.DIGT = static_cast<i16>(digt);
        EulerTransform(b);
        designs.push_back(b);
    }
    Design box = kt::WorkedBox();
    CofCal(box);
    EulerTransform(box);
    CBStepSubstitution(box);
    designs.push_back(box);
    d.DET.fill(std::nanf(""));  // nothing may be evaluated at τ = 0
    EXPECT_EQ(InverseLaplaceTransform(d, 0.0f), 1.0);
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

// The worked driver (Pemax 50 W, Sd 100 cm², Xmax 3 mm, efficiency from Vas) in its box or on a baffle, or the
// built-in tweeter (rear-closed: Pemax 10 W, Sd 5 cm², Xmax 0.2 mm).
Design Limits(i16 sys)
{
    Design d = sys == 3 ? kt::DefaultDesign() : kt::WorkedBox();
    if (sys != 3) d.PEMX = 50.0f, d.SD = 100.0f, d.XMAX = 3.0f, d.EFI = 0.0f, d.boxSys = sys;
    SPLcal(d);
    return d;
}

// The amplitude evaluation at hz, then the limits there.
Excursion LimitsAt(Design d, float hz)
{
    d.ff = hz;
    d.f = d.ff / d.FS;
    d.boxSys == 1 ? CBFRcal(d) : IBFRcal(d);
    return ExcursionCal(d, hz, d.yy);
}

// A piston into half space: U = √2·p·2πr / (ρ0·ω), x = U / (Sd·ω). The maximum is the lesser limit: Xmax's
// below the crossing (above Fc in every design here), Pemax's above.
TEST(Excursion, MatchesAnIndependentEvaluationAtTwentyHzResonanceAndTenKilohertz)
{
    for (i16 sys : {1, 2, 3}) {
        const Design d = Limits(sys);
        for (double hz : {20.0, sys == 1 ? double(d.FC) : double(d.FS), 10000.0}) {
            const double phi = double(float(hz)) / d.FS, a02 = sys == 1 ? d.A02 : 1.0, w = 2.0 * std::numbers::pi * hz;
            const double a =
                10.0 * std::log10((std::pow(a02 - phi * phi, 2) + std::pow(d.A01 * phi, 2)) / std::pow(phi, 4));
            const double pascals1W = 20e-6 * std::pow(10.0, (d.SPL - a) / 20.0);
            const double mmPerPascal = 1000.0 * std::sqrt(2.0) * 2.0 * std::numbers::pi / (1.18 * w * w * d.SD / 1e4);
            const double thermal = d.SPL - a + 10.0 * std::log10(d.PEMX);
            const double byXmax = 20.0 * std::log10(d.XMAX / mmPerPascal / 20e-6);
            const Excursion e = LimitsAt(d, float(hz));
            EXPECT_NEAR(e.peak1W, pascals1W * mmPerPascal, 1e-3 * e.peak1W) << sys << " " << hz;
            EXPECT_NEAR(e.peak, pascals1W * mmPerPascal * std::sqrt(d.PEMX), 1e-3 * e.peak) << sys << " " << hz;
            EXPECT_NEAR(e.thermal, thermal, 0.01) << sys << " " << hz;
            EXPECT_NEAR(e.excursion, byXmax, 0.01) << sys << " " << hz;
            EXPECT_EQ(e.maxSpl, hz < 10000.0 ? e.excursion : e.thermal) << sys << " " << hz;
            EXPECT_NEAR(e.maxSpl, std::min(thermal, byXmax), 0.01) << sys << " " << hz;
            const double pmax = std::min<double>(d.PEMX, std::pow(10.0, (byXmax - d.SPL + a) / 10.0));
            EXPECT_NEAR(e.maxPower, pmax, 1e-3 * pmax) << sys << " " << hz;
        }
    }
}

// Above resonance the excursion falls 12 dB an octave; far below a closed box's Fc it is flat.
TEST(Excursion, FallsTwelveDbPerOctaveAboveResonanceAndIsFlatFarBelowTheBox)
{
    for (i16 sys : {1, 2, 3}) {
        const Design d = Limits(sys);
        EXPECT_NEAR(20.0 * std::log10(LimitsAt(d, 8000.0f).peak / LimitsAt(d, 16000.0f).peak), 12.04, 0.05) << sys;
    }
    const Design box = Limits(1);
    EXPECT_NEAR(20.0 * std::log10(LimitsAt(box, 5.0f).peak / LimitsAt(box, 10.0f).peak), 0.0, 0.05);
}

}  // namespace
}  // namespace ks
