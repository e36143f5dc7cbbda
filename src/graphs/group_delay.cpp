// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/group_delay.h"

#include <cmath>

#include "graphs/evaluate_at.h"
#include "graphs/freq_axis.h"
#include "graphs/kept_curves.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/response.h"

namespace ks {

namespace {

struct Label {
    float x;
    const char* text;
};

struct RangeLabels {
    double step;
    float unitX;
    Label labels[11];
};

// clang-format off
constexpr RangeLabels kRanges[] = {
    {0.005, 13, {{3, "+0.05"}, {3, "+0.04"}, {3, "+0.03"}, {3, "+0.02"}, {3, "+0.01"}, {33, "0"},
                 {6, "-0.01"}, {6, "-0.02"}, {6, "-0.03"}, {6, "-0.04"}, {6, "-0.05"}}},
    {0.01, 13, {{3, "+0.10"}, {3, "+0.08"}, {3, "+0.06"}, {3, "+0.04"}, {3, "+0.02"}, {33, "0"},
                {6, "-0.02"}, {6, "-0.04"}, {6, "-0.06"}, {6, "-0.08"}, {6, "-0.10"}}},
    {0.025, 13, {{3, "+0.25"}, {3, "+0.20"}, {3, "+0.15"}, {3, "+0.10"}, {3, "+0.05"}, {33, "0"},
                 {6, "-0.05"}, {6, "-0.10"}, {6, "-0.15"}, {6, "-0.20"}, {6, "-0.25"}}},
    {0.05, 13, {{11, "+0.5"}, {11, "+0.4"}, {11, "+0.3"}, {11, "+0.2"}, {11, "+0.1"}, {33, "0"},
                {14, "-0.1"}, {14, "-0.2"}, {14, "-0.3"}, {14, "-0.4"}, {14, "-0.5"}}},
    {0.1, 13, {{11, "+1.0"}, {11, "+0.8"}, {11, "+0.6"}, {11, "+0.4"}, {11, "+0.2"}, {33, "0"},
               {14, "-0.2"}, {14, "-0.4"}, {14, "-0.6"}, {14, "-0.8"}, {14, "-1.0"}}},
    {0.25, 13, {{11, "+2.5"}, {11, "+2.0"}, {11, "+1.5"}, {11, "+1.0"}, {11, "+0.5"}, {33, "0"},
                {14, "-0.5"}, {14, "-1.0"}, {14, "-1.5"}, {14, "-2.0"}, {14, "-2.5"}}},
    {0.5, 18, {{23, "+5"}, {23, "+4"}, {23, "+3"}, {23, "+2"}, {23, "+1"}, {33, "0"},
               {26, "-1"}, {26, "-2"}, {26, "-3"}, {26, "-4"}, {26, "-5"}}},
    {1.0, 13, {{15, "+10"}, {23, "+8"}, {23, "+6"}, {23, "+4"}, {23, "+2"}, {33, "0"},
               {26, "-2"}, {26, "-4"}, {26, "-6"}, {26, "-8"}, {18, "-10"}}},
    {2.5, 13, {{15, "+25"}, {15, "+20"}, {15, "+15"}, {15, "+10"}, {23, "+5"}, {33, "0"},
               {26, "-5"}, {18, "-10"}, {18, "-15"}, {18, "-20"}, {18, "-25"}}},
    {5.0, 13, {{15, "+50"}, {15, "+40"}, {15, "+30"}, {15, "+20"}, {15, "+10"}, {33, "0"},
               {18, "-10"}, {18, "-20"}, {18, "-30"}, {18, "-40"}, {18, "-50"}}},
    {10.0, 8, {{7, "+100"}, {15, "+80"}, {15, "+60"}, {15, "+40"}, {15, "+20"}, {33, "0"},
               {18, "-20"}, {18, "-40"}, {18, "-60"}, {18, "-80"}, {10, "-100"}}},
};
// clang-format on

}  // namespace

void GdOpt(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    CofCal(d);
    s.GdOptFlg = 0;
    s.G1 = 0.0f;
    s.G2 = 0.0f;
    s.k = 1.0f;
    while (3.0f >= s.k) {
        EvaluateAt(d, s.k, CBGDcal, IBGDcal);
        const float a = std::fabs(d.yy);
        if (s.k == 1.0f) {
            s.yy1 = d.yy;
        } else {
            const float prev = std::fabs(s.yy1);
            if (s.GdOptFlg == 0 && a < prev) {
                s.G1 = prev;
                s.G2 = prev;
                s.GdOptFlg = 1;
            }
            if (a > s.G1 && a > prev && s.G1 > s.G2) s.G2 = prev;
            s.G1 = a;
            s.yy1 = d.yy;
        }
        s.k = static_cast<float>(static_cast<double>(s.k) + 0.01);
    }
    GdOpt2(k);
}

void GdOpt2(Kestrova& k)
{
    static constexpr double kUpper[] = {0.05, 0.1, 0.25, 0.5, 1.0, 2.5, 5.0, 10.0, 25.0, 50.0};
    // clang-format off
    static constexpr float kScl[] = {0.005f, 0.01f, 0.025f, 0.05f, 0.1f, 0.25f,
                                     0.5f,   1.0f,  2.5f,   5.0f,  10.0f};
    // clang-format on
    const double g = k.ds.G2;
    int band = 10;  // 50 ms and above, or not a number
    for (int i = 0; i < 10; ++i)
        if (g < kUpper[i]) {
            band = i;
            break;
        }
    k.ds.GDscl = kScl[band];
}

void GdGraph(Kestrova& k)
{
    HorizontalGrid(k, 28);
    FrequencyFrame(k, 231.0f, "Group Delay");
    const double step = std::rint(1000.0 * static_cast<double>(k.ds.GDscl)) / 1000.0;
    for (const RangeLabels& r : kRanges) {
        if (step != r.step) continue;
        DrawTextAt(k, r.unitX, 40.0f, "msec");
        for (int i = 0; i < 11; ++i) DrawTextAt(k, r.labels[i].x, 55.0f + 28.0f * i, r.labels[i].text);
        break;
    }
}

namespace {

void GdCurve(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    CofCal(d);
    SweepFrequencies(k, false, CBGDcal, IBGDcal, [&] {
        CurveTo(k, static_cast<float>(190.0 - 14.0 * static_cast<double>(d.yy) / static_cast<double>(s.GDscl)));
    });
}

}  // namespace

void GdPlot(Kestrova& k) { PlotCurves(k, GdCurve, SetCurveStyle); }

}  // namespace ks
