// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/max_spl.h"

#include <cmath>
#include <cstdio>

#include "graphs/freq_axis.h"
#include "graphs/kept_curves.h"
#include "graphs/primitives.h"

namespace ks {

namespace {

bool InFrame(float y) { return y >= 50.0f && y <= 330.0f; }

// Half the thick curve's width, in dB: a limit this close to the maximum
// lies under it.
constexpr double kUnderCurve = 0.25;

// The top line's level at y 50, 10 dB a division of 40 points.
float MsY(double top, double db) { return static_cast<float>(50.0 + 4.0 * (top - db)); }

// A kept design's maximum SPL, on the current view's levels.
void MsKeptCurve(Kestrova& k)
{
    const double top = static_cast<double>(k.ds.MSTop);
    DrawLimitCurve(
        k, LimitsSweep(k), [top](const Excursion& e) { return MsY(top, e.maxSpl); },
        [](const Excursion&, float, const Excursion&, float) { return true; });
}

// The frequency of a point on the axis, from x.
double HzAt(double x) { return std::pow(10.0, (x - 45.0 + 200.0) * std::log10(20.0) / 200.0); }

}  // namespace

std::string MsCrossText(float hz)
{
    if (!(hz > 0.0f)) return {};
    char text[48];
    std::snprintf(text, sizeof text, "Xmax limits below %.0f Hz", static_cast<double>(hz));
    return text;
}

void MsOpt(Kestrova& k, const std::vector<LimitSample>& samples)
{
    DrawState& s = k.ds;
    const double xmax = static_cast<double>(k.d.XMAX);
    double highest = -INFINITY, cross = 0.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const Excursion& e = samples[i].at;
        if (std::isfinite(e.maxSpl) && e.maxSpl > highest) highest = e.maxSpl;
        // Where the excursion at Pemax falls through Xmax between two
        // samples, in log-log proportion.
        if (i == 0 || !(samples[i - 1].at.peak > xmax && e.peak <= xmax)) continue;
        const double before = std::log10(samples[i - 1].at.peak / xmax), now = std::log10(e.peak / xmax);
        const double x0 = samples[i - 1].x, x1 = samples[i].x;
        cross = HzAt(x0 + (x1 - x0) * before / (before - now));
    }
    // A top line every level label can show, also for a design whose levels
    // are not numbers.
    const double top = std::isfinite(highest) ? 10.0 * (std::floor(highest / 10.0) + 1.0) : 120.0;
    s.MSTop = static_cast<float>(std::fmin(std::fmax(top, -100.0), 300.0));
    s.MSCross = static_cast<float>(cross);
}

void MsGraph(Kestrova& k)
{
    if (!LimitsFrame(k, 40, 228.0f, "Maximum SPL")) return;
    DrawTextAt(k, 7.0f, 40.0f, "dBSPL1m");
    const int top = static_cast<int>(k.ds.MSTop);
    for (int i = 0; i < 8; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%+d", top - 10 * i);
        const std::string_view t(text);
        DrawTextAt(k, 39.0f - 8.0f * static_cast<float>(t.size()), 55.0f + 40.0f * i, t);
    }
    DrawTextAt(k, 345.0f, 39.0f, MsCrossText(k.ds.MSCross));
}

void MsPlot(Kestrova& k, const std::vector<LimitSample>& samples)
{
    if (samples.empty()) return;
    const double top = static_cast<double>(k.ds.MSTop);
    const auto y = [top](double db) { return MsY(top, db); };
    PlotKeptCurves(k, MsKeptCurve);

    // The limits dashed. A segment is left out unless it lies in the frame
    // (the limits leave it over most of the range, and drawn there they
    // would cover the titles), and where the limit is the maximum, under the
    // thick curve.
    const LegendRow legend[] = {{kThermalRed, 1.0f, 1, "thermal limit"}, {kXmaxBlue, 1.0f, 1, "excursion limit"}};
    for (double Excursion::*limit : {&Excursion::thermal, &Excursion::excursion}) {
        SetLimitStyle(k, limit == &Excursion::thermal ? kThermalRed : kXmaxBlue, 1.0f);
        DrawLimitCurve(
            k, samples, [&](const Excursion& e) { return y(e.*limit); },
            [&](const Excursion& a, float ya, const Excursion& b, float yb) {
                const bool hidden = a.*limit - a.maxSpl < kUnderCurve && b.*limit - b.maxSpl < kUnderCurve;
                return InFrame(ya) && InFrame(yb) && !hidden;
            },
            1);
    }
    DrawLegend(k, 306.0f, legend, 2);

    // The maximum as the amplitude curve is drawn: a segment ending below
    // the frame is left out. It never rises above the top line.
    SetLimitStyle(k, kCurveOrange, 2.0f);
    DrawLimitCurve(
        k, samples, [&](const Excursion& e) { return y(e.maxSpl); },
        [](const Excursion&, float, const Excursion&, float end) { return end <= 330.0f; });
    // The maximum runs along the top: the kept designs' legend stands above
    // the limits' legend at the bottom right, where the curves never are.
    DrawKeptLegend(k, 292.0f);
}

}  // namespace ks
