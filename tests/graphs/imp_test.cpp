#include "graphs/imp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "graphs/display_list.h"

using namespace ks;
using namespace ks::test;

namespace {

std::vector<Prim> HorizontalGrid(const std::vector<Prim>& p)
{
    return Filter(p, [](const Prim& q) { return q.kind == "line" && q.x() == 45 && q.v[2] == 505 && q.y() == q.v[3]; });
}

TEST(ImpSetScale, BandsAreClosedBelow)
{
    Kestrova k;
    const std::pair<float, float> cases[] = {{0.0f, 10},  {9.99f, 10}, {10.0f, 4},  {24.99f, 4}, {25.0f, 2},
                                             {49.9f, 2},  {50.0f, 1},  {99.99f, 1}, {100.0f, 0.1f}, {5000.0f, 0.1f}};
    for (const auto& [g1, scl] : cases) {
        k.ds.G1 = g1;
        impSetScale(k);
        EXPECT_EQ(k.ds.IMPscal, scl) << g1;
    }
    k.ds.IMPscal = 2;
    k.ds.G1 = std::nanf("");
    impSetScale(k);
    EXPECT_EQ(k.ds.IMPscal, 2);  // not a number: unchanged
}

TEST(ImpGraph, LogarithmicAxisGridRows)
{
    Kestrova k;
    SetUpDriver(k);
    k.ds.IMPscal = 0.1f;
    auto grid = HorizontalGrid(Record(k, [&] { ImpGraph(k); }));
    std::set<double> ys;
    for (const Prim& g : grid) ys.insert(g.y());
    const std::set<double> expected = {330.5, 302.5, 286.5, 274.5, 265.5, 258.5, 252.5, 246.5, 241.5, 237.5,
                                       209.5, 193.5, 181.5, 172.5, 165.5, 158.5, 153.5, 148.5, 144.5, 116.5,
                                       99.5,  88.5,  79.5,  71.5,  65.5,  60.5,  55.5,  50.5};
    EXPECT_EQ(ys, expected);
}

TEST(ImpGraph, PreferenceOtherThanOneGivesTheLogAxisForAnyRange)
{
    Kestrova k;
    SetUpDriver(k);
    k.prefs.ImpVertScale = 2;
    k.ds.IMPscal = 10;
    auto p = Record(k, [&] { ImpGraph(k); });
    EXPECT_NE(FindText(p, "1 k"), nullptr);
    EXPECT_EQ(FindText(p, "9"), nullptr);
    EXPECT_FALSE(ImpLinearAxis(k));
}

struct LinearRange {
    float scl;
    std::vector<std::pair<std::string, double>> labels;  // top to bottom
};

class ImpLinear : public ::testing::TestWithParam<LinearRange> {};

TEST_P(ImpLinear, ElevenLabelsAndGridLines)
{
    const LinearRange r = GetParam();
    Kestrova k;
    SetUpDriver(k);
    k.ds.IMPscal = r.scl;
    auto p = Record(k, [&] { ImpGraph(k); });
    auto grid = HorizontalGrid(p);
    ASSERT_EQ(grid.size(), 11u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(grid[i].y(), 50.5 + 28 * i);
    const Prim* ohms = FindText(p, "Ohms");
    ASSERT_NE(ohms, nullptr);
    EXPECT_EQ(ohms->x(), 13);
    EXPECT_EQ(ohms->y(), 40);
    // The labels follow "Ohms" in order.
    std::size_t at = ohms - p.data();
    ASSERT_LE(at + 11, p.size() - 1);
    for (int i = 0; i < 11; ++i) {
        const Prim& l = p[at + 1 + i];
        EXPECT_EQ(l.text, r.labels[i].first);
        EXPECT_EQ(l.x(), r.labels[i].second) << l.text;
        EXPECT_EQ(l.y(), 55 + 28 * i) << l.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ImpLinear,
    ::testing::Values(
        LinearRange{10, {{"10", 25}, {"9", 33}, {"8", 33}, {"7", 33}, {"6", 33}, {"5", 33}, {"4", 33}, {"3", 33},
                         {"2", 33}, {"1", 33}, {"0", 33}}},
        LinearRange{4, {{"25.0", 14}, {"22.5", 14}, {"20.0", 14}, {"17.5", 14}, {"15.0", 14}, {"12.5", 14},
                        {"10.0", 14}, {"7.5", 21}, {"5.0", 21}, {"2.5", 21}, {"0", 33}}},
        LinearRange{2, {{"50", 25}, {"45", 25}, {"40", 25}, {"35", 25}, {"30", 25}, {"25", 25}, {"20", 25},
                        {"15", 25}, {"10", 25}, {"5", 33}, {"0", 33}}},
        LinearRange{1, {{"100", 17}, {"90", 25}, {"80", 25}, {"70", 25}, {"60", 25}, {"50", 25}, {"40", 25},
                        {"30", 25}, {"20", 25}, {"10", 25}, {"0", 33}}}));

TEST(ImpGraph, LogLabels)
{
    Kestrova k;
    SetUpDriver(k);
    k.ds.IMPscal = 0.1f;
    auto all = Record(k, [&] { ImpGraph(k); });
    // The frequency labels share some texts: look after "Ohms" only.
    const Prim* ohms = FindText(all, "Ohms");
    ASSERT_NE(ohms, nullptr);
    const std::vector<Prim> p(all.begin() + (ohms - all.data()), all.end());
    ASSERT_EQ(p.size(), 8u);
    const std::tuple<const char*, double, double> labels[] = {{"1 k", 17, 55}, {"500", 17, 83}, {"100", 17, 147},
                                                              {"50", 25, 176}, {"10", 25, 240}, {"5", 33, 269},
                                                              {"1", 33, 335}};
    for (const auto& [t, x, y] : labels) {
        const Prim* l = FindText(p, t);
        ASSERT_NE(l, nullptr) << t;
        EXPECT_EQ(l->x(), x) << t;
        EXPECT_EQ(l->y(), y) << t;
    }
    EXPECT_EQ(FindText(all, "Impedance")->x(), 235);
}

TEST(ImpOpt, DefaultDriverPeaksInTheTwentyFiveOhmRange)
{
    Kestrova k;
    SetUpDriver(k);
    k.d.s_Resp = "imp";
    ImpOpt(k);
    // Re 6 ohm, Qms/Qes = 2.57: the resonance peak is about 21 ohms.
    EXPECT_GT(k.ds.G1, 15.0f);
    EXPECT_LT(k.ds.G1, 25.0f);
    EXPECT_EQ(k.ds.IMPscal, 4.0f);
}

TEST(ImpPlot, CurveMapsOhmsOnTheLinearAxisAndLogOhmsOnTheOther)
{
    Kestrova k;
    SetUpDriver(k);
    k.d.s_Resp = "imp";
    ImpOpt(k);
    auto lin = Filter(Record(k, [&] { ImpPlot(k); }), IsCurve);
    ASSERT_EQ(lin.size(), 299u);
    // At 20 Hz the impedance is a little above Re (6 .. 6.3 ohms).
    EXPECT_LT(lin.front().v[3], 330.0 - 2.81 * 4 * 6.0);
    EXPECT_GT(lin.front().v[3], 330.0 - 2.81 * 4 * 6.3);
    k.prefs.ImpVertScale = 2;
    auto log = Filter(Record(k, [&] { ImpPlot(k); }), IsCurve);
    ASSERT_EQ(log.size(), 299u);
    EXPECT_LT(log.front().v[3], 330.0 - 93.33333333333333 * std::log10(6.0));
    EXPECT_GT(log.front().v[3], 330.0 - 93.33333333333333 * std::log10(6.3));
}

TEST(ImpPlot, TenOhmsPlotsOnePointAboveTheTopLine)
{
    // The linear factor is 2.81: full scale lands at y = 49.
    Kestrova k;
    SetUpDriver(k);
    k.d.RE = 10.0f;  // a flat 10 ohms: no inductance, a vanishing motional part
    k.d.QES = 1e30f;
    k.d.LE = 0.0f;
    k.d.s_Resp = "imp";
    k.ds.IMPscal = 10.0f;
    auto curve = Filter(Record(k, [&] { ImpPlot(k); }), IsCurve);
    ASSERT_FALSE(curve.empty());
    for (const Prim& s : curve) EXPECT_NEAR(s.y(), 49.0, 1e-3);
}

}  // namespace
