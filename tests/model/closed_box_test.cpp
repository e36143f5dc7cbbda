// The three closed-box alignments against the worked driver (Fs 50 Hz,
// Vas 10 l, Qts 0.35, Qa 10), compared at the decimals they are quoted with.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cb.h"
#include "common/drivers.h"

namespace ks {
namespace {

using kt::Shown;

Design Qtc(float requested, float qts = 0.35f, float qa = 10.0f)
{
    Design d = kt::WorkedBox(qts);
    d.QA = qa;
    d.alin = 3;
    d.QTC = requested;
    CofCal(d);
    return d;
}

TEST(OptimumAlignment, GivesTheQtc0707Box)
{
    Design d = kt::WorkedBox();
    CofCal(d);
    EXPECT_EQ(d.CP, 1.0f);
    EXPECT_DOUBLE_EQ(Shown(d.HH, 4), 2.1381);
    EXPECT_DOUBLE_EQ(Shown(d.FC, 3), 106.905);
    EXPECT_DOUBLE_EQ(Shown(d.VB, 5), 2.79998);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 0.707);
    EXPECT_EQ(d.CBAlart, 1);
    // The displayed box entries.
    EXPECT_EQ(RoundedText(d.VB, 2), " 2.8");
    // 106.905 × 100 is a tie in single precision and goes to the even 10690.
    EXPECT_EQ(RoundedText(d.FC, 2), " 106.9");
    EXPECT_EQ(RoundedText(d.QTC, 3), " 0.707");
    // Bookkeeping of the last accepted box.
    EXPECT_EQ(d.VBbak, d.VB);
    EXPECT_EQ(d.QTCbak, d.QTC);
}

TEST(OptimumAlignment, HigherQtsStillGivesThe0707Box)
{
    Design first = Qtc(0.1f, 0.65f);
    EXPECT_DOUBLE_EQ(Shown(first.QTC, 4), 0.7062);
    EXPECT_EQ(first.CBAlart, 0);
    Design d = kt::WorkedBox(0.65f);
    CofCal(d);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 0.707);
    EXPECT_EQ(d.CBAlart, 1);
    EXPECT_GT(d.HH, 1.1f);
}

TEST(OptimumAlignment, KeepsTheSmallestBoxWhenItsQtcIsAbove0707)
{
    Design d = kt::WorkedBox(0.9f);
    CofCal(d);
    EXPECT_EQ(d.HH, 1.1f);
    EXPECT_GT(d.QTC, 0.707f);
    EXPECT_EQ(d.CBAlart, 0);
}

TEST(OptimumAlignment, VeryLowQtsReachesQtc01OnTheFirstPass)
{
    Design first = Qtc(0.1f, 0.05f);
    EXPECT_DOUBLE_EQ(Shown(first.HH, 3), 2.015);
    EXPECT_DOUBLE_EQ(Shown(first.QTC, 3), 0.1);
    EXPECT_EQ(first.CBAlart, 1);
    // 0.1 is not above 0.707, so the optimum is still the 0.707 box.
    Design d = kt::WorkedBox(0.05f);
    CofCal(d);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 0.707);
    EXPECT_EQ(d.CBAlart, 1);
}

TEST(QtcAlignment, ReachableRequestIsMet)
{
    Design d = Qtc(1.0f);
    EXPECT_EQ(d.CBAlart, 1);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 1.0);
    EXPECT_GT(d.HH, 1.0f);
}

TEST(QtcAlignment, TooSmallUsesTheFc11FsBox)
{
    Design d = Qtc(0.3f);
    EXPECT_DOUBLE_EQ(Shown(d.VB, 3), 47.619);
    EXPECT_DOUBLE_EQ(Shown(d.FC, 1), 55.0);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 0.382);
    EXPECT_EQ(d.CBAlart, 0);
    // The corrected Qtc is what later recalculations start from: they succeed.
    d.CBAlart = 1;
    CofCal(d);
    EXPECT_EQ(d.CBAlart, 1);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 0.382);
}

TEST(QtcAlignment, TooLargeIsLimitedTo5)
{
    Design d = Qtc(6.0f);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 5.0);
    EXPECT_DOUBLE_EQ(Shown(d.HH, 3), 28.536);
    EXPECT_DOUBLE_EQ(Shown(d.FC, 1), 1426.8);
    EXPECT_DOUBLE_EQ(Shown(d.VB, 6), 0.012295);
    EXPECT_EQ(d.CBAlart, -1);
}

TEST(QtcAlignment, RequestAtOrAboveTheLossFactorIsLimited)
{
    // Qa 7: a Qtc of 7 makes a = 0.
    Design d = Qtc(7.0f, 0.35f, 7.0f);
    EXPECT_EQ(d.CBAlart, -1);
    EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 5.0);
    EXPECT_TRUE(std::isfinite(d.VB));
}

// A request at or above the limit, for every loss factor: the box shown is
// a real one, its Qtc below 5 and below Qa (at Qa 5 the quadratic has no
// root at 5 itself), and the next valid request is met at once.
TEST(QtcAlignment, LargeRequestsGiveAFiniteLimitForEveryQa)
{
    for (const float qa : {5.0f, 7.0f, 10.0f, 15.0f, 20.0f}) {
        for (const float requested : {4.9f, 5.0f, 6.0f, 100.0f}) {
            SCOPED_TRACE(testing::Message() << "Qa " << qa << ", Qtc " << requested);
            Design d = Qtc(requested, 0.35f, qa);
            for (const float v : {d.HH, d.VB, d.FC, d.QTC, d.A01, d.A02, d.B01}) EXPECT_TRUE(std::isfinite(v));
            EXPECT_GT(d.VB, 0.0f);
            EXPECT_GT(d.FC, d.FS);
            EXPECT_LE(Shown(d.QTC, 3), 5.0);
            EXPECT_LT(d.QTC, qa);
            EXPECT_EQ(d.CBAlart, requested <= 5.0f && requested < qa ? 1 : -1);
            d.QTC = 0.8f;
            CofCal(d);
            EXPECT_EQ(d.CBAlart, 1);
            EXPECT_DOUBLE_EQ(Shown(d.QTC, 3), 0.8);
        }
    }
}

TEST(QtcAlignment, NegativeDiscriminantCountsAsTooSmall)
{
    // For Qtc 0.01, b² = 0.01 is less than 4ac = 0.1911: the root is
    // not-a-number, which must land on the Fc = 1.1 Fs box.
    Design d = Qtc(0.01f);
    EXPECT_EQ(d.HH, 1.1f);
    EXPECT_EQ(d.CBAlart, 0);
}

TEST(BoxVolumeAlignment, FollowsTheEnteredVolume)
{
    Design d = kt::WorkedBox();
    d.alin = 2;
    d.VB = 10.0f;
    CofCal(d);
    EXPECT_EQ(d.VB, 10.0f);
    EXPECT_EQ(d.VAB, 10.0f);
    EXPECT_EQ(d.AL1, 1.0f);
    EXPECT_FLOAT_EQ(d.HH, std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(d.FC, 50.0f * std::sqrt(2.0f));
    EXPECT_EQ(d.CBAlart, 1);
}

TEST(BoxVolumeAlignment, LossFactor5EnlargesTheAcousticVolume)
{
    Design d = kt::WorkedBox();
    d.alin = 2;
    d.VB = 10.0f;
    d.QA = 5.0f;
    CofCal(d);
    EXPECT_EQ(d.CP, 1.2f);
    EXPECT_EQ(d.VAB, 1.2f * 10.0f);
    EXPECT_EQ(d.VB, 10.0f);
}

TEST(LossFactor, VolumeFactorTable)
{
    Design d;
    const std::pair<float, float> cases[] = {{5, 1.2f}, {7, 1.1f}, {10, 1}, {20, 1}, {10.5f, 9}};
    for (const auto& [qa, cp] : cases) {
        d.QA = qa;
        d.CP = 9.0f;  // a loss factor off the list leaves it as it was
        CPopt(d);
        EXPECT_EQ(d.CP, cp) << qa;
    }
}

TEST(LossFactor, ChangesTheQtcBoxToo)
{
    Design a = Qtc(0.9f, 0.35f, 10.0f);
    Design b = Qtc(0.9f, 0.35f, 5.0f);
    EXPECT_NE(a.HH, b.HH);
    EXPECT_NE(a.VAB, b.VAB);
    EXPECT_DOUBLE_EQ(Shown(b.QTC, 3), 0.9);
}

}  // namespace
}  // namespace ks
