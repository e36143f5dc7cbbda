// Adoption of a driver, the derived quantities and the selectors' reset.
#include <gtest/gtest.h>

#include <tuple>

#include "model/cb.h"
#include "common/drivers.h"

namespace ks {
namespace {

using kt::Shown;

TEST(DefaultDriver, SensitivityComesFromTheGivenEfficiency)
{
    Design d = kt::DefaultDesign();
    SPLcal(d);
    EXPECT_FLOAT_EQ(d.N0, 0.00628f);
    EXPECT_EQ(RoundedText(d.SPL, 3), " 89.998");
}

// Vas decides the system; every selector goes back to its start.
TEST(DriverSetUp, VasChoosesClosedBoxOrRearClosedAndResetsEverySelector)
{
    for (const auto& [vas, sys] : {std::pair{10.0f, 1}, std::pair{0.0f, 3}, std::pair{-3.0f, 3}}) {
        Design d = kt::WorkedBox();
        d.VAS2 = vas;
        ParameterPass(d);
        d.s_Resp = "st", d.respID = 6, d.alin = 3, d.scale = 10, d.magni = 2, d.boxSys = 2;
        InitSetUpMenuParam(d);
        EXPECT_EQ(d.boxSys, sys) << vas;
        EXPECT_EQ(d.CBactive, sys == 1 ? 1 : 0) << vas;
        EXPECT_EQ(d.s_Resp, "amp");
        EXPECT_EQ(std::tuple(d.respID, d.alin, d.scale, d.magni), std::tuple(1, 1, 5, 1));
    }
}

TEST(ComputedEfficiency, MissingQesIsSuppliedAndWrittenBackUntilTheNextDriver)
{
    Design d = kt::WorkedBox();
    d.EFI = 0.0f, d.QES = 0.0f;
    N0cal(d);
    const float supplied = static_cast<float>(0.35f * 1.1);
    EXPECT_EQ(d.QES, supplied);
    EXPECT_NEAR(d.N0, 0.0031214f, 1e-7f);  // Fs 50 Hz, Vas 10 l, Qes 0.385
    d.QES = 0.5f;
    QEScal(d);
    EXPECT_EQ(d.QES, 0.5f);
    d.QES = -1.0f;
    QEScal(d);
    EXPECT_EQ(d.QES, supplied);
    ParameterPass(d);
    EXPECT_EQ(d.QES, 0.4f);
}

TEST(ComputedEfficiency, NoEfficiencyAndNoVasGiveMinusInfinity)
{
    Design d = kt::DefaultDesign();
    d.EFI = 0.0f, d.VAS = 0.0f;
    SPLcal(d);
    EXPECT_EQ(d.N0, 0.0f);
    EXPECT_EQ(RoundedText(d.SPL, 3), "-inf");
}

TEST(ParameterPass, CopiesTheDriverOnly)
{
    Design d = kt::WorkedBox();
    d.alin = 2, d.VB = 7.5f, d.QTC = 0.8f, d.QA = 5, d.boxSys = 2, d.s_Resp = "gd";
    d.s_SP2 = "Other", d.FS2 = 75.0f, d.LE2 = 0.5f;
    ParameterPass(d);
    EXPECT_EQ(d.s_SP, "Other");
    EXPECT_EQ(std::tuple(d.FS, d.LE, d.VB, d.QTC, d.QA), std::tuple(75.0f, 0.5f, 7.5f, 0.8f, 5.0f));
    EXPECT_EQ(std::tuple(d.alin, d.boxSys), std::tuple(2, 2));
    EXPECT_EQ(d.s_Resp, "gd");
}

// A driver without Vas has no box of its own, so none of the previous
// driver's may be shown or copied as its.
TEST(ParameterPass, DriverWithoutVasStartsWithNoBox)
{
    for (const float vas : {0.0f, -1.0f}) {
        Design d = kt::WorkedBox();
        CofCal(d);
        ASSERT_GT(d.VB, 0.0f);
        d.VAS2 = vas;
        ParameterPass(d);
        for (const float v : {d.VB, d.FC, d.QTC, d.VBbak, d.QTCbak}) EXPECT_EQ(v, 0.0f) << vas;
    }
}

TEST(CofCal, DispatchesOnSystemType)
{
    Design d = kt::WorkedBox();
    d.boxSys = 7;
    CofCal(d);
    EXPECT_EQ(d.A01, 0.0f);
    EXPECT_EQ(d.VB, 0.0f);
    d.boxSys = 2;
    CofCal(d);
    EXPECT_FLOAT_EQ(d.A01, 1.0f / 0.35f);
    EXPECT_EQ(d.VB, 0.0f);  // no box for the baffle
}

// Choosing the impedance view reshapes only the coefficients that carry Q,
// and only for the whole key.
TEST(ImpedanceSubstitution, LeavesQtsAndTheBoxUntouched)
{
    for (short sys : {1, 2}) {
        Design d = kt::WorkedBox();
        d.boxSys = sys;
        CofCal(d);
        const Design amp = d;
        d.s_Resp = "imp";
        CofCal(d);
        EXPECT_EQ(d.QTS, 0.35f);
        EXPECT_EQ(d.VB, amp.VB);
        EXPECT_EQ(d.FC, amp.FC);
        EXPECT_EQ(d.QTC, amp.QTC);
        EXPECT_EQ(d.A02, amp.A02);
        EXPECT_NE(d.A01, amp.A01);
        EXPECT_FLOAT_EQ(sys == 1 ? d.B01 : d.A01, 1.0f / 3.0f);  // 1 / Qms
    }
    Design d;
    for (const char* key : {"imp ", "im"}) {
        d.s_Resp = key;
        EXPECT_FALSE(ImpedanceSubstitution(d)) << key;
    }
}

}  // namespace
}  // namespace ks
