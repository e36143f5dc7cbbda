#include "graphs/amp.h"

#include <gtest/gtest.h>

#include <set>

#include "graphs/dispatch.h"
#include "graphs/display_list.h"
#include "graphs/freq_axis.h"
#include "graphs/primitives.h"

using namespace ks;
using namespace ks::test;

namespace {

TEST(FreqAxis, GridLinesStandAtTheListedPositionsWithNoLineAt20kHz)
{
    Kestrova k;
    auto p = Record(k, [&] { FreqDrawLine(k); });
    std::set<double> xs;
    for (const Prim& q : p)
        if (q.kind == "line") xs.insert(q.x());
    const std::set<double> expected = {45.5,  72.5,  91.5,  106.5, 118.5, 128.5, 137.5, 145.5, 152.5,
                                       198.5, 225.5, 245.5, 259.5, 272.5, 282.5, 291.5, 299.5, 306.5,
                                       352.5, 379.5, 398.5, 413.5, 425.5, 436.5, 445.5, 452.5, 459.5};
    EXPECT_EQ(xs, expected);
    // The frame comes last, in its own grey, one pixel on screen.
    ASSERT_FALSE(p.empty());
    const Prim& frame = p.back();
    EXPECT_EQ(frame.kind, "frame");
    EXPECT_EQ(frame.v, (std::vector<double>{45.5, 50.5, 505.5, 330.5, 0.229, 0.229, 0.229, 1.0}));
}

TEST(FreqAxis, FrequencyMappingEnds)
{
    EXPECT_DOUBLE_EQ(FreqToX(20.0), 45.0);
    EXPECT_NEAR(FreqToX(20000.0), 506.2, 0.05);
    EXPECT_NEAR(LogFreqToX(3.0f), FreqToX(1000.0), 1e-4);
}

TEST(FreqAxis, LabelsAndCaptions)
{
    Kestrova k;
    auto p = Record(k, [&] { FreqScale(k); });
    ASSERT_EQ(p.size(), 9u);
    EXPECT_EQ(p[0].text, "[ Hz ]");
    EXPECT_EQ(p[0].x(), 345);
    const Prim* k20 = FindText(p, "20k");
    ASSERT_NE(k20, nullptr);
    EXPECT_EQ(k20->x(), 494);
    EXPECT_EQ(k20->y(), 347);

    const std::pair<int, std::pair<std::string, double>> captions[] = {
        {1, {"'Closed Box System'", 208}}, {2, {"'Infinit Baffle System'", 203}}, {3, {"'Rear Closed Type Unit'", 198}}};
    for (const auto& [sys, c] : captions) {
        k.d.boxSys = static_cast<i16>(sys);
        auto q = Record(k, [&] { BoxType(k); });
        ASSERT_EQ(q.size(), 1u);
        EXPECT_EQ(q[0].text, c.first);
        EXPECT_EQ(q[0].x(), c.second);
        EXPECT_EQ(q[0].y(), 39);
        EXPECT_EQ(q[0].v[3], 13);
    }
    k.d.boxSys = 4;
    EXPECT_TRUE(Record(k, [&] { BoxType(k); }).empty());
}

struct AbsBand {
    int scale;
    float spl;
    float sift;
    const char* top;
};

class AmpAbsolute : public ::testing::TestWithParam<AbsBand> {};

TEST_P(AmpAbsolute, BandChoosesShiftAndLabels)
{
    const AbsBand b = GetParam();
    Kestrova k;
    SetUpDriver(k);
    k.d.magni = 2;
    k.d.scale = static_cast<i16>(b.scale);
    k.d.SPL = b.spl;
    auto p = Record(k, [&] { AmpGraph(k); });
    EXPECT_EQ(k.ds.sift, b.sift);
    const Prim* unit = FindText(p, "dBSPL1W1m");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->x(), 7);
    EXPECT_EQ(unit->y(), 40);
    const int top = std::stoi(b.top + 1);
    for (int i = 0; i < 8; ++i) {
        const std::string t = "+" + std::to_string(top - i * b.scale);
        const Prim* l = FindText(p, t);
        ASSERT_NE(l, nullptr) << t;
        EXPECT_EQ(l->y(), 55 + 40 * i) << t;
        EXPECT_EQ(l->x(), t.size() == 4 ? 7 : 15) << t;
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, AmpAbsolute,
                         ::testing::Values(AbsBand{5, 75.99f, -15, "+85"}, AbsBand{5, 76.0f, -10, "+90"},
                                           AbsBand{5, 85.99f, -5, "+95"}, AbsBand{5, 89.998f, 0, "+100"},
                                           AbsBand{5, 100.99f, 10, "+110"}, AbsBand{5, 101.0f, 15, "+115"},
                                           AbsBand{5, 120.0f, 20, "+120"}, AbsBand{10, 80.99f, -10, "+100"},
                                           AbsBand{10, 81.0f, 0, "+110"}, AbsBand{10, 100.99f, 10, "+120"},
                                           AbsBand{10, 101.0f, 20, "+130"}));

TEST(AmpGraph, RelativeLabelsForBothScales)
{
    Kestrova k;
    SetUpDriver(k);
    auto p5 = Record(k, [&] { AmpGraph(k); });
    const char* texts5[] = {"+10", "+5", "0", "-5", "-10", "-15", "-20", "-25"};
    const double xs5[] = {15, 22, 32, 25, 17, 17, 17, 17};
    for (int i = 0; i < 8; ++i) {
        const Prim* l = FindText(p5, texts5[i]);
        ASSERT_NE(l, nullptr) << texts5[i];
        EXPECT_EQ(l->x(), xs5[i]);
        EXPECT_EQ(l->y(), 55 + 40 * i);
    }
    ASSERT_NE(FindText(p5, "dB"), nullptr);
    EXPECT_EQ(FindText(p5, "dB")->x(), 26);
    EXPECT_EQ(FindText(p5, "Amplitude")->x(), 238);
    k.d.scale = 10;
    auto p10 = Record(k, [&] { AmpGraph(k); });
    EXPECT_NE(FindText(p10, "-50"), nullptr);
    EXPECT_NE(FindText(p10, "+20"), nullptr);
    EXPECT_EQ(FindText(p10, "-25"), nullptr);
    // Eight horizontal grid lines 40 points apart.
    auto horizontal = Filter(p10, [](const Prim& q) { return q.kind == "line" && q.v[1] == q.v[3] && q.x() == 45; });
    ASSERT_EQ(horizontal.size(), 8u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(horizontal[i].y(), 50.5 + 40 * i);
}

TEST(AmpPlot, ThreeHundredSamplesMakeTwoHundredNinetyNineSegments)
{
    Kestrova k;
    SetUpDriver(k);  // a tweeter: flat from about 2 kHz, never below the frame edge there
    k.d.FS = 20.0f;  // resonance at the left edge: the whole curve lies in the frame
    auto p = Record(k, [&] { AmpPlot(k); });
    auto curve = Filter(p, IsCurve);
    ASSERT_EQ(curve.size(), 299u);
    // Each segment runs from the new point back to the previous one.
    EXPECT_NEAR(curve.front().v[2], 45.0, 1e-4);
    EXPECT_NEAR(curve.back().x(), 504.6, 0.05);
    for (std::size_t i = 1; i < curve.size(); ++i) EXPECT_EQ(curve[i].v[2], curve[i - 1].x());
    EXPECT_NEAR(k.ds.k, 4.3010345f, 1e-6);
    // The flat passband lies on the zero line.
    EXPECT_NEAR(curve.back().y(), 130.0, 0.05);
}

TEST(AmpPlot, SegmentsEndingBelowTheFrameAreSkippedAndTheNextCrossesTheEdge)
{
    Kestrova k;
    SetUpDriver(k);  // Fs 1 kHz: below about 250 Hz the response is more than 25 dB down
    auto curve = Filter(Record(k, [&] { AmpPlot(k); }), IsCurve);
    ASSERT_GT(curve.size(), 10u);
    ASSERT_LT(curve.size(), 299u);
    for (const Prim& s : curve) EXPECT_LE(s.y(), 330.0);
    // The first segment drawn starts at the last point below the frame.
    EXPECT_GT(curve.front().v[3], 330.0);
    EXPECT_LE(curve.front().y(), 330.0);
}

TEST(AmpPlot, AbsoluteMappingFollowsShiftAndSensitivity)
{
    Kestrova k;
    SetUpDriver(k);
    k.d.FS = 20.0f;
    k.d.magni = 2;
    k.d.scale = 5;
    k.ds.sift = 0;
    auto curve = Filter(Record(k, [&] { AmpGraph(k), AmpPlot(k); }), IsCurve);
    ASSERT_FALSE(curve.empty());
    // SPL 89.998 dB in the 100 dB band: passband at 850 - 8 * SPL.
    EXPECT_NEAR(curve.back().y(), 850.0 - 8.0 * static_cast<double>(k.d.SPL), 0.05);
    k.d.scale = 10;
    curve = Filter(Record(k, [&] { AmpGraph(k), AmpPlot(k); }), IsCurve);
    EXPECT_NEAR(curve.back().y(), 490.0 - 4.0 * static_cast<double>(k.d.SPL), 0.05);
}

TEST(AmpGraph, PrintWidths)
{
    Kestrova k;
    SetUpDriver(k);
    k.ds.doPrint = 1;
    auto p = Record(k, [&] { AmpGraph(k); });
    auto grid = Filter(p, [](const Prim& q) { return q.kind == "line"; });
    ASSERT_EQ(grid.size(), 8u + 30u);
    for (const Prim& g : grid) EXPECT_EQ(g.v[7], 0.5);
    auto frames = Filter(p, [](const Prim& q) { return q.kind == "frame"; });
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].v[7], 1.0);
}

TEST(ResponsePlot, ErasesTheScreenOnlyAndWrapsTheRedrawInABatch)
{
    struct CountingCanvas : RecordingCanvas {
        int begins = 0, ends = 0;
        void beginBatch() override { ++begins; }
        void endBatch() override { ++ends; }
    };
    Kestrova k;
    SetUpDriver(k);
    CountingCanvas screen, page;
    k.screen = &screen;
    k.page = &page;
    ResponsePlot(k);
    EXPECT_EQ(screen.begins, 1);
    EXPECT_EQ(screen.ends, 1);
    ASSERT_FALSE(screen.lines().empty());
    EXPECT_EQ(screen.lines()[0], "erase 0.0000 0.0000 540.0000 380.0000");
    k.ds.doPrint = 1;
    ResponsePlot(k);
    ASSERT_FALSE(page.lines().empty());
    EXPECT_EQ(page.lines()[0].rfind("erase", 0), std::string::npos);
    EXPECT_EQ(page.begins, 1);

    k.ds.doPrint = 0;
    k.d.s_Resp = "bogus";
    screen.clear();
    ResponsePlot(k);
    ASSERT_EQ(screen.lines().size(), 1u);  // the erased area only
}

TEST(ResponsePlot, TitlesOfTheViews)
{
    Design d;
    const std::pair<const char*, const char*> titles[] = {
        {"amp", "Amplitude"}, {"imp", "Impedance"},       {"ph", "Phase"},         {"gd", "Group Delay"},
        {"nq", "Nyquist Diagram"}, {"st", "Step Response"}, {"sys", "System Profile"}, {"amp ", ""}, {"", ""}};
    for (const auto& [key, title] : titles) {
        d.s_Resp = key;
        EXPECT_EQ(SetResponseTitle(d), title) << key;
    }
}

}  // namespace
