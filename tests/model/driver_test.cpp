// Adoption of a driver, the derived quantities and the selectors' reset.
#include <gtest/gtest.h>

#include <cmath>

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
    EXPECT_DOUBLE_EQ(Shown(d.SPL, 3), 89.998);
    EXPECT_EQ(RoundedText(d.SPL, 3), " 89.998");
}

TEST(DefaultDriver, StartsAsARearClosedUnit)
{
    Design d = kt::DefaultDesign();
    EXPECT_EQ(d.boxSys, 3);
    EXPECT_EQ(d.CBactive, 0);
    EXPECT_EQ(d.s_Resp, "amp");
    EXPECT_EQ(d.respID, 1);
    EXPECT_EQ(d.alin, 1);
    EXPECT_EQ(d.scale, 5);
    EXPECT_EQ(d.magni, 1);
    EXPECT_EQ(d.s_SP, "Test2.5-07");
    EXPECT_EQ(d.s_RANG, "Dome Tw");
}

TEST(DriverSetUp, DriverWithVasStartsAsClosedBoxAndResetsEverySelector)
{
    Design d = kt::WorkedBox();
    d.s_Resp = "st";
    d.respID = 6;
    d.alin = 3;
    d.scale = 10;
    d.magni = 2;
    d.boxSys = 2;
    InitSetUpMenuParam(d);
    EXPECT_EQ(d.boxSys, 1);
    EXPECT_EQ(d.CBactive, 1);
    EXPECT_EQ(d.s_Resp, "amp");
    EXPECT_EQ(d.respID, 1);
    EXPECT_EQ(d.alin, 1);
    EXPECT_EQ(d.scale, 5);
    EXPECT_EQ(d.magni, 1);
}

TEST(DriverSetUp, NegativeVasCountsAsNone)
{
    Design d;
    d.VAS2 = -3.0f;
    ParameterPass(d);
    InitSetUpMenuParam(d);
    EXPECT_EQ(d.boxSys, 3);
    EXPECT_EQ(d.CBactive, 0);
}

TEST(ComputedEfficiency, MissingQesIsSuppliedAndWrittenBack)
{
    Design d = kt::WorkedBox();
    d.EFI = 0.0f;
    d.QES = 0.0f;
    N0cal(d);
    EXPECT_EQ(d.QES, static_cast<float>(0.35f * 1.1));
    EXPECT_NEAR(d.N0, 0.0031214f, 1e-7f);  // Fs 50 Hz, Vas 10 l, Qes 0.385
    // Stays replaced until a driver is adopted again.
    QEScal(d);
    EXPECT_EQ(d.QES, static_cast<float>(0.35f * 1.1));
    ParameterPass(d);
    EXPECT_EQ(d.QES, 0.4f);
}

TEST(ComputedEfficiency, NoEfficiencyAndNoVasGiveMinusInfinity)
{
    Design d = kt::DefaultDesign();
    d.EFI = 0.0f;
    d.VAS = 0.0f;
    SPLcal(d);
    EXPECT_EQ(d.N0, 0.0f);
    EXPECT_TRUE(std::isinf(d.SPL) && d.SPL < 0);
    EXPECT_EQ(RoundedText(d.SPL, 3), "-inf");
}

TEST(ComputedEfficiency, QesOnlyReplacedWhenNotPositive)
{
    Design d = kt::WorkedBox();
    d.QES = 0.5f;
    QEScal(d);
    EXPECT_EQ(d.QES, 0.5f);
    d.QES = -1.0f;
    QEScal(d);
    EXPECT_EQ(d.QES, static_cast<float>(0.35f * 1.1));
}

TEST(ParameterPass, CopiesTheDriverOnly)
{
    Design d = kt::WorkedBox();
    d.alin = 2;
    d.VB = 7.5f;
    d.boxSys = 2;
    d.s_Resp = "gd";
    d.s_SP2 = "Other";
    d.FS2 = 75.0f;
    d.LE2 = 0.5f;
    ParameterPass(d);
    EXPECT_EQ(d.s_SP, "Other");
    EXPECT_EQ(d.FS, 75.0f);
    EXPECT_EQ(d.LE, 0.5f);
    EXPECT_EQ(d.alin, 2);
    EXPECT_EQ(d.VB, 7.5f);
    EXPECT_EQ(d.boxSys, 2);
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
        EXPECT_EQ(d.VB, 0.0f);
        EXPECT_EQ(d.FC, 0.0f);
        EXPECT_EQ(d.QTC, 0.0f);
        EXPECT_EQ(d.VBbak, 0.0f);
        EXPECT_EQ(d.QTCbak, 0.0f);
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
    d.boxSys = 1;
    CofCal(d);
    EXPECT_GT(d.VB, 0.0f);
}

// Choosing the impedance view reshapes only the coefficients that carry Q.
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
        if (sys == 1) {
            EXPECT_NE(d.B01, amp.B01);
            EXPECT_FLOAT_EQ(d.B01, 1.0f / 3.0f);
        } else {
            EXPECT_FLOAT_EQ(d.A01, 1.0f / 3.0f);
        }
    }
}

TEST(ImpedanceSubstitution, OnlyTheWholeKeyCounts)
{
    Design d;
    d.s_Resp = "imp";
    EXPECT_TRUE(ImpedanceSubstitution(d));
    d.s_Resp = "imp ";
    EXPECT_FALSE(ImpedanceSubstitution(d));
    d.s_Resp = "im";
    EXPECT_FALSE(ImpedanceSubstitution(d));
}

}  // namespace
}  // namespace ks
