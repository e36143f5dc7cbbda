// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/step_graph.h"

#include <cmath>
#include <vector>

#include "graphs/freq_axis.h"
#include "graphs/kept_curves.h"
#include "graphs/primitives.h"
#include "model/response.h"
#include "model/step.h"

namespace ks {

namespace {

struct Label {
    float x;
    const char* text;
};

struct TimeRange {
    double lower;  // r from this value up (closed below)
    float timeScale;
    Label labels[6];
};

constexpr TimeRange kRanges[] = {
    {17500, 1000, {{38, "0"}, {125, "0.02"}, {216, "0.04"}, {308, "0.06"}, {401, "0.08"}, {493, "0.10"}}},
    {7000, 400, {{38, "0"}, {125, "0.05"}, {216, "0.10"}, {308, "0.15"}, {401, "0.20"}, {493, "0.25"}}},
    {3500, 200, {{41, "0"}, {128, "0.1"}, {219, "0.2"}, {311, "0.3"}, {404, "0.4"}, {496, "0.5"}}},
    {1750, 100, {{41, "0"}, {128, "0.2"}, {219, "0.4"}, {311, "0.6"}, {404, "0.8"}, {496, "1.0"}}},
    {700, 40, {{41, "0"}, {128, "0.5"}, {219, "1.0"}, {311, "1.5"}, {404, "2.0"}, {496, "2.5"}}},
    {350, 20, {{41, "0"}, {133, "1"}, {225, "2"}, {317, "3"}, {410, "4"}, {501, "5"}}},
    {175, 10, {{41, "0"}, {133, "2"}, {225, "4"}, {317, "6"}, {410, "8"}, {497, "10"}}},
    {70, 4, {{41, "0"}, {133, "5"}, {221, "10"}, {313, "15"}, {405, "20"}, {497, "25"}}},
    {35, 2, {{41, "0"}, {129, "10"}, {221, "20"}, {313, "30"}, {405, "40"}, {497, "50"}}},
    {17.5, 1, {{41, "0"}, {129, "20"}, {221, "40"}, {313, "60"}, {405, "80"}, {493, "100"}}},
    {-INFINITY, 0.5f, {{41, "0"}, {129, "40"}, {221, "80"}, {309, "120"}, {401, "160"}, {493, "200"}}},
};

// Below 17.5, and a quotient that is not a number, take the longest range.
const TimeRange& RangeFor(const Design& d)
{
    const double r = static_cast<double>(d.FS / d.QTS);
    for (const TimeRange& t : kRanges)
        if (r >= t.lower) return t;
    return kRanges[std::size(kRanges) - 1];
}

}  // namespace

float StepTimeScale(const Design& d) { return RangeFor(d).timeScale; }

void StepGraph(Kestrova& k)
{
    k.ds.LineW = GridWidth(k);
    SetGrey(k, 0.534f);
    for (int i = 64; i <= 316; i += 14) {
        const float y = static_cast<float>(std::rint(i + 0.5) + 0.5);
        k.ds.DashLineType = 1;
        DrawLineAt(k, 45.0f, y, 505.0f, y);
    }
    for (int i : {120, 190, 260}) DrawLineAt(k, 45.0f, i + 0.5f, 505.0f, i + 0.5f);
    for (int i = 45; i <= 505; i += 46) DrawLineAt(k, i + 0.5f, 50.0f, i + 0.5f, 330.0f);
    SetGrey(k, 0.229f);
    DrawRectAt(k, 45.5f, 50.5f, 505.5f, 330.5f);
    DrawGraphTitle(k, 224.0f, "Step Response");
    BoxType(k);
    DrawTextAt(k, 20, 35, "F(t)");
    DrawTextAt(k, 11, 55, "+1.0");
    DrawTextAt(k, 11, 125, "+0.5");
    DrawTextAt(k, 33, 195, "0");
    DrawTextAt(k, 13, 265, "-0.5");
    DrawTextAt(k, 13, 335, "-1.0");
    const TimeRange& range = RangeFor(k.d);
    k.d.timeScale = range.timeScale;
    for (const Label& l : range.labels) DrawTextAt(k, l.x, 347.0f, l.text);
    DrawTextAt(k, 442.0f, 347.0f, "msec");
}

namespace {

void StepStyle(Kestrova& k)
{
    k.ds.LineW = 2.0f;
    SetColor(k, 1.0f, 0.531f, 0.0f);
}

void StepCurve(Kestrova& k)
{
    Design& d = k.d;
    CofCal(d);
    EulerTransform(d);
    if (d.boxSys == 1)
        CBStepSubstitution(d);
    else if (d.boxSys == 2 || d.boxSys == 3)
        IBStepSubstitution(d);
    StepResponsePlot(k);
}

}  // namespace

void StepPlot(Kestrova& k) { PlotCurves(k, StepCurve, StepStyle); }

void StepResponsePlot(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    const double fs = d.FS, ts = d.timeScale;
    const float tauMax = static_cast<float>(std::rint((fs * 2.0 / 3.0 / ts) * 100.0 + 0.6) / 100.0);
    // Any real driver needs a few thousand points; an absurd Fs from a
    // received record would ask for millions, more than the 460 points of
    // the axis could ever show.
    constexpr int kMaxPoints = 100000;
    std::vector<float> taus;
    for (float tau = 0.0f; tauMax >= tau && static_cast<int>(taus.size()) < kMaxPoints;) {
        taus.push_back(tau);
        const float next = static_cast<float>(static_cast<double>(tau) + 0.01);
        // An absurd end time (a huge FS) would leave tau stuck where 0.01 is
        // below half a unit in the last place: stop instead of hanging.
        if (next == tau) break;
        tau = next;
    }
    std::vector<double> g(taus.size());
    InverseLaplaceTransforms(d, taus, g);
    for (std::size_t i = 0; i < taus.size(); ++i) {
        s.xx = static_cast<float>(46.0 + static_cast<double>(taus[i]) * 23.0 * 30.0 * ts / fs);
        s.yy = static_cast<float>(190.0 - 140.0 * g[i]);
        if (i != 0) QuartzDrawLine(k, 1);
        s.xx1 = s.xx;
        s.yy1 = s.yy;
    }
}

}  // namespace ks
