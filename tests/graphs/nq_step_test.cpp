#include <gtest/gtest.h>

#include <cmath>

#include "graphs/display_list.h"
#include "graphs/nyquist.h"
#include "graphs/step_graph.h"

using namespace ks;
using namespace ks::test;

namespace {

TEST(NqGraph, AxesTicksFrameAndNoLabels)
{
    Kestrova k;
    SetUpDriver(k);
    auto p = Record(k, [&] { NqGraph(k); });
    ASSERT_GE(p.size(), 7u);
    EXPECT_EQ(p[0].v, (std::vector<double>{130, 190.5, 409, 190.5, 0.534, 0.534, 0.534, 1, 2}));
    EXPECT_EQ(p[1].v, (std::vector<double>{270.5, 50, 270.5, 330, 0.534, 0.534, 0.534, 1, 2}));
    for (int i = 2; i < 6; ++i) {
        EXPECT_EQ(p[i].v[8], 0) << i;  // ticks are solid
        EXPECT_TRUE(IsGrey(p[i], 0.229, 4));
    }
    EXPECT_EQ(p[6].kind, "frame");
    EXPECT_EQ(p[6].v, (std::vector<double>{130.5, 50.5, 410.5, 330.5, 0.229, 0.229, 0.229, 1}));
    auto texts = Filter(p, [](const Prim& q) { return q.kind == "text"; });
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Nyquist Diagram");
    EXPECT_EQ(texts[0].x(), 218);
}

TEST(NqPlot, ThreeHundredOneSamplesFromTenKilohertz)
{
    Kestrova k;
    SetUpDriver(k);
    k.d.FS = 100.0f;  // well below 10 kHz
    auto curve = Filter(Record(k, [&] { NqPlot(k); }), IsCurve);
    ASSERT_EQ(curve.size(), 300u);
    // Starts near H = 1 and ends near the centre.
    EXPECT_NEAR(curve.front().v[2], 340.0, 1.0);
    EXPECT_NEAR(curve.front().v[3], 190.0, 1.0);
    EXPECT_NEAR(curve.back().x(), 270.0, 1.5);
    EXPECT_NEAR(curve.back().y(), 190.0, 1.5);
    EXPECT_LT(k.ds.k, 1.0f);
}

TEST(PrintWidths, NyquistFrameIsOnePointAndStepFrameKeepsTheGridWidth)
{
    Kestrova k;
    SetUpDriver(k);
    k.ds.doPrint = 1;
    auto nq = Record(k, [&] { NqGraph(k); });
    auto nqFrame = Filter(nq, [](const Prim& q) { return q.kind == "frame"; });
    ASSERT_EQ(nqFrame.size(), 1u);
    EXPECT_EQ(nqFrame[0].v[7], 1.0);
    EXPECT_EQ(nq[0].v[7], 0.5);
    auto st = Record(k, [&] { StepGraph(k); });
    auto stFrame = Filter(st, [](const Prim& q) { return q.kind == "frame"; });
    ASSERT_EQ(stFrame.size(), 1u);
    EXPECT_EQ(stFrame[0].v[7], 0.5);
    k.ds.doPrint = 0;
    auto screen = Record(k, [&] { StepGraph(k); });
    EXPECT_EQ(Filter(screen, [](const Prim& q) { return q.kind == "frame"; })[0].v[7], 1.0);
}

TEST(StepGraph, GridRows)
{
    Kestrova k;
    SetUpDriver(k);
    auto p = Record(k, [&] { StepGraph(k); });
    auto dotted = Filter(p, [](const Prim& q) { return q.kind == "line" && q.v[8] == 1; });
    ASSERT_EQ(dotted.size(), 19u);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(dotted[i].y(), 64.5 + 14 * i);
    auto vertical = Filter(p, [](const Prim& q) { return q.kind == "line" && q.x() == q.v[2]; });
    ASSERT_EQ(vertical.size(), 11u);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(vertical[i].x(), 45.5 + 46 * i);
    const std::tuple<const char*, double, double> labels[] = {{"Step Response", 224, 20}, {"F(t)", 20, 35},
                                                              {"+1.0", 11, 55},         {"+0.5", 11, 125},
                                                              {"-0.5", 13, 265},        {"-1.0", 13, 335},
                                                              {"msec", 442, 347}};
    for (const auto& [t, x, y] : labels) {
        const Prim* l = FindText(p, t);
        ASSERT_NE(l, nullptr) << t;
        EXPECT_EQ(l->x(), x);
        EXPECT_EQ(l->y(), y);
    }
}

struct StepRange {
    float fs, qts, timeScale;
    std::vector<std::pair<std::string, double>> labels;
};

class StepRanges : public ::testing::TestWithParam<StepRange> {};

TEST_P(StepRanges, TimeScaleAndLabels)
{
    const StepRange r = GetParam();
    Kestrova k;
    SetUpDriver(k);
    k.d.FS = r.fs;
    k.d.QTS = r.qts;
    auto p = Record(k, [&] { StepGraph(k); });
    EXPECT_EQ(k.d.timeScale, r.timeScale);
    EXPECT_EQ(StepTimeScale(k.d), r.timeScale);
    // The six time labels come right before "msec".
    ASSERT_GE(p.size(), 7u);
    const std::size_t at = p.size() - 7;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p[at + i].text, r.labels[i].first);
        EXPECT_EQ(p[at + i].x(), r.labels[i].second) << r.labels[i].first;
        EXPECT_EQ(p[at + i].y(), 347);
    }
    EXPECT_EQ(p.back().text, "msec");
}

using Labels = std::vector<std::pair<std::string, double>>;

INSTANTIATE_TEST_SUITE_P(
    Ranges, StepRanges,
    ::testing::Values(
        StepRange{17500, 1, 1000, Labels{{"0", 38}, {"0.02", 125}, {"0.04", 216}, {"0.06", 308}, {"0.08", 401}, {"0.10", 493}}},
        StepRange{17499, 1, 400, Labels{{"0", 38}, {"0.05", 125}, {"0.10", 216}, {"0.15", 308}, {"0.20", 401}, {"0.25", 493}}},
        StepRange{3500, 1, 200, Labels{{"0", 41}, {"0.1", 128}, {"0.2", 219}, {"0.3", 311}, {"0.4", 404}, {"0.5", 496}}},
        StepRange{1750, 1, 100, Labels{{"0", 41}, {"0.2", 128}, {"0.4", 219}, {"0.6", 311}, {"0.8", 404}, {"1.0", 496}}},
        StepRange{1000, 0.707f, 40, Labels{{"0", 41}, {"0.5", 128}, {"1.0", 219}, {"1.5", 311}, {"2.0", 404}, {"2.5", 496}}},
        StepRange{350, 1, 20, Labels{{"0", 41}, {"1", 133}, {"2", 225}, {"3", 317}, {"4", 410}, {"5", 501}}},
        StepRange{175, 1, 10, Labels{{"0", 41}, {"2", 133}, {"4", 225}, {"6", 317}, {"8", 410}, {"10", 497}}},
        StepRange{70, 1, 4, Labels{{"0", 41}, {"5", 133}, {"10", 221}, {"15", 313}, {"20", 405}, {"25", 497}}},
        StepRange{35, 1, 2, Labels{{"0", 41}, {"10", 129}, {"20", 221}, {"30", 313}, {"40", 405}, {"50", 497}}},
        StepRange{17.5f, 1, 1, Labels{{"0", 41}, {"20", 129}, {"40", 221}, {"60", 313}, {"80", 405}, {"100", 493}}},
        StepRange{17.4999f, 1, 0.5f, Labels{{"0", 41}, {"40", 129}, {"80", 221}, {"120", 309}, {"160", 401}, {"200", 493}}}));

TEST(StepPlot, TweeterMakes1667SamplesEndingAtTheRightEdge)
{
    Kestrova k;
    SetUpDriver(k);  // FS 1000, QTS 0.707
    auto p = Record(k, [&] { StepGraph(k), StepPlot(k); });
    auto curve = Filter(p, IsCurve);
    ASSERT_EQ(curve.size(), 1666u);  // 1667 samples, the first draws nothing
    EXPECT_NEAR(curve.front().v[2], 46.0, 1e-4);
    EXPECT_NEAR(curve.front().v[3], 50.0, 0.5);  // g(0) = 1
    EXPECT_NEAR(curve.back().x(), 505.8, 0.05);
    EXPECT_NEAR(curve.back().y(), 190.0, 2.0);  // settled
    EXPECT_NEAR(curve.front().v[5], 0.531, 1e-6);
}

}  // namespace
