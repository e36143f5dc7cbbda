#include <gtest/gtest.h>

#include <cmath>

#include "graphs/display_list.h"
#include "graphs/group_delay.h"
#include "graphs/phase.h"
#include "model/ib.h"

using namespace ks;
using namespace ks::test;

namespace {

TEST(PhGraph, TwelveDottedRowsThreeSolidAndLabels)
{
    Kestrova k;
    SetUpDriver(k);
    auto p = Record(k, [&] { PhGraph(k); });
    auto dotted = Filter(p, [](const Prim& q) { return q.kind == "line" && q.v[8] == 1; });
    const double rows[] = {50.5, 74.5, 97.5, 120.5, 144.5, 167.5, 190.5, 214.5, 237.5, 260.5, 284.5, 307.5};
    ASSERT_EQ(dotted.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(dotted[i].y(), rows[i]);
        EXPECT_EQ(dotted[i].x(), 45);
        EXPECT_EQ(dotted[i].v[2], 505);
    }
    auto solid = Filter(p, [](const Prim& q) {
        return q.kind == "line" && q.v[8] == 0 && q.y() == q.v[3] && q.x() == 45;
    });
    ASSERT_EQ(solid.size(), 3u);
    EXPECT_EQ(solid[0].y(), 120.5);
    EXPECT_EQ(solid[1].y(), 190.5);
    EXPECT_EQ(solid[2].y(), 260.5);
    const std::tuple<const char*, double, double> labels[] = {{"Phase", 251, 20}, {"Degrees", 7, 35}, {"+360", 7, 55},
                                                              {"+270", 7, 125},   {"+180", 7, 195},   {"+90", 15, 265},
                                                              {"0", 33, 335}};
    for (const auto& [t, x, y] : labels) {
        const Prim* l = FindText(p, t);
        ASSERT_NE(l, nullptr) << t;
        EXPECT_EQ(l->x(), x);
        EXPECT_EQ(l->y(), y);
    }
}

TEST(PhPlot, ThreeHundredSamplesFromTwentyKilohertzDown)
{
    Kestrova k;
    SetUpDriver(k);
    auto curve = Filter(Record(k, [&] { PhPlot(k); }), IsCurve);
    ASSERT_EQ(curve.size(), 299u);
    // The first sample stands at 20 kHz, just right of the frame edge.
    EXPECT_NEAR(curve.front().v[2], 506.17, 0.01);
    EXPECT_NEAR(curve.back().x(), 46.5, 0.05);
    for (const Prim& s : curve) {
        EXPECT_GE(s.y(), 190.0 - 1e-3);  // 0 .. 180 degrees: the lower half
        EXPECT_LE(s.y(), 330.0 + 1e-3);
    }
    EXPECT_LT(k.ds.k, std::log10(20.0));
}

TEST(GdOpt2, ElevenRangesClosedBelow)
{
    Kestrova k;
    const std::pair<float, float> cases[] = {
        {0.0f, 0.005f}, {0.049f, 0.005f}, {0.05f, 0.01f}, {0.099f, 0.01f}, {0.1f, 0.025f}, {0.25f, 0.05f},
        {0.5f, 0.1f},   {1.0f, 0.25f},    {2.5f, 0.5f},   {5.0f, 1.0f},    {10.0f, 2.5f},  {24.9f, 2.5f},
        {25.0f, 5.0f},  {49.0f, 5.0f},    {50.0f, 10.0f}, {60.0f, 10.0f},  {200.0f, 10.0f}};
    for (const auto& [g2, scl] : cases) {
        k.ds.G2 = g2;
        GdOpt2(k);
        EXPECT_EQ(k.ds.GDscl, scl) << g2;
    }
    k.ds.G2 = std::nanf("");
    GdOpt2(k);
    EXPECT_EQ(k.ds.GDscl, 10.0f);
}

struct GdRange {
    float scl;
    double unitX;
    std::vector<std::pair<std::string, double>> labels;
};

class GdLabels : public ::testing::TestWithParam<GdRange> {};

TEST_P(GdLabels, UnitAndElevenValues)
{
    const GdRange r = GetParam();
    Kestrova k;
    SetUpDriver(k);
    k.ds.GDscl = r.scl;
    auto p = Record(k, [&] { GdGraph(k); });
    const Prim* unit = FindText(p, "msec");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->x(), r.unitX);
    EXPECT_EQ(unit->y(), 40);
    const std::size_t at = unit - p.data();
    ASSERT_EQ(p.size(), at + 12);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(p[at + 1 + i].text, r.labels[i].first);
        EXPECT_EQ(p[at + 1 + i].x(), r.labels[i].second) << r.labels[i].first;
        EXPECT_EQ(p[at + 1 + i].y(), 55 + 28 * i);
    }
}

std::vector<std::pair<std::string, double>> L(std::initializer_list<std::pair<std::string, double>> l) { return l; }

INSTANTIATE_TEST_SUITE_P(
    Ranges, GdLabels,
    ::testing::Values(
        GdRange{0.005f, 13, L({{"+0.05", 3}, {"+0.04", 3}, {"+0.03", 3}, {"+0.02", 3}, {"+0.01", 3}, {"0", 33},
                               {"-0.01", 6}, {"-0.02", 6}, {"-0.03", 6}, {"-0.04", 6}, {"-0.05", 6}})},
        GdRange{0.01f, 13, L({{"+0.10", 3}, {"+0.08", 3}, {"+0.06", 3}, {"+0.04", 3}, {"+0.02", 3}, {"0", 33},
                              {"-0.02", 6}, {"-0.04", 6}, {"-0.06", 6}, {"-0.08", 6}, {"-0.10", 6}})},
        GdRange{0.025f, 13, L({{"+0.25", 3}, {"+0.20", 3}, {"+0.15", 3}, {"+0.10", 3}, {"+0.05", 3}, {"0", 33},
                               {"-0.05", 6}, {"-0.10", 6}, {"-0.15", 6}, {"-0.20", 6}, {"-0.25", 6}})},
        GdRange{0.05f, 13, L({{"+0.5", 11}, {"+0.4", 11}, {"+0.3", 11}, {"+0.2", 11}, {"+0.1", 11}, {"0", 33},
                              {"-0.1", 14}, {"-0.2", 14}, {"-0.3", 14}, {"-0.4", 14}, {"-0.5", 14}})},
        GdRange{0.1f, 13, L({{"+1.0", 11}, {"+0.8", 11}, {"+0.6", 11}, {"+0.4", 11}, {"+0.2", 11}, {"0", 33},
                             {"-0.2", 14}, {"-0.4", 14}, {"-0.6", 14}, {"-0.8", 14}, {"-1.0", 14}})},
        GdRange{0.25f, 13, L({{"+2.5", 11}, {"+2.0", 11}, {"+1.5", 11}, {"+1.0", 11}, {"+0.5", 11}, {"0", 33},
                              {"-0.5", 14}, {"-1.0", 14}, {"-1.5", 14}, {"-2.0", 14}, {"-2.5", 14}})},
        GdRange{0.5f, 18, L({{"+5", 23}, {"+4", 23}, {"+3", 23}, {"+2", 23}, {"+1", 23}, {"0", 33},
                             {"-1", 26}, {"-2", 26}, {"-3", 26}, {"-4", 26}, {"-5", 26}})},
        GdRange{1.0f, 13, L({{"+10", 15}, {"+8", 23}, {"+6", 23}, {"+4", 23}, {"+2", 23}, {"0", 33},
                             {"-2", 26}, {"-4", 26}, {"-6", 26}, {"-8", 26}, {"-10", 18}})},
        GdRange{2.5f, 13, L({{"+25", 15}, {"+20", 15}, {"+15", 15}, {"+10", 15}, {"+5", 23}, {"0", 33},
                             {"-5", 26}, {"-10", 18}, {"-15", 18}, {"-20", 18}, {"-25", 18}})},
        GdRange{5.0f, 13, L({{"+50", 15}, {"+40", 15}, {"+30", 15}, {"+20", 15}, {"+10", 15}, {"0", 33},
                             {"-10", 18}, {"-20", 18}, {"-30", 18}, {"-40", 18}, {"-50", 18}})},
        GdRange{10.0f, 8, L({{"+100", 7}, {"+80", 15}, {"+60", 15}, {"+40", 15}, {"+20", 15}, {"0", 33},
                             {"-20", 18}, {"-40", 18}, {"-60", 18}, {"-80", 18}, {"-100", 10}})}));

TEST(GdOpt, DefaultDriverScanAndCurve)
{
    Kestrova k;
    SetUpDriver(k);
    auto p = Record(k, [&] { GdOpt(k), GdGraph(k), GdPlot(k); });
    // A rising delay up to 1 kHz: G2 is a sample near the top of the scan.
    EXPECT_GT(k.ds.G2, 0.25f);
    EXPECT_LT(k.ds.G2, 0.5f);
    EXPECT_EQ(k.ds.GDscl, 0.05f);
    auto curve = Filter(p, IsCurve);
    ASSERT_EQ(curve.size(), 299u);
    auto grid = Filter(p, [](const Prim& q) { return q.kind == "line" && q.x() == 45 && q.y() == q.v[3]; });
    ASSERT_EQ(grid.size(), 11u);
    EXPECT_EQ(grid[5].y(), 190.5);
    EXPECT_EQ(FindText(p, "Group Delay")->x(), 231);
}

TEST(GdOpt, FallingMagnitudeKeepsTheValueAtTenHertz)
{
    Kestrova k;
    SetUpDriver(k);
    k.d.FS = 2.0f;  // resonance far below 10 Hz: the delay only falls over the scan
    k.d.QTS = 0.5f;
    GdOpt(k);
    k.d.ff = 10.0f;
    k.d.f = k.d.ff / k.d.FS;
    CofCal(k.d);
    IBGDcal(k.d);
    EXPECT_EQ(k.ds.G2, std::fabs(k.d.yy));
    EXPECT_EQ(k.ds.GdOptFlg, 1);
}

}  // namespace
