// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/excursion.h"

#include <algorithm>
#include <cstdio>

#include "graphs/freq_axis.h"
#include "graphs/kept_curves.h"
#include "graphs/primitives.h"

namespace ks {

namespace {

// Full scale on the top line, 0 on the bottom one.
double ExY(double full, double mm) { return 330.0 - 280.0 * mm / full; }

bool Always(const Excursion&, float, const Excursion&, float) { return true; }

// A kept design's excursion at its own Pemax, on the current view's scale.
void ExKeptCurve(Kestrova& k)
{
    const double full = static_cast<double>(k.ds.EXscl);
    DrawLimitCurve(
        k, LimitsSweep(k), [full](const Excursion& e) { return ExY(full, e.peak); }, Always);
}

}  // namespace

float ExcursionFullScale(double largest)
{
    static constexpr float kScales[] = {0.1f, 0.2f, 0.5f, 1.0f, 2.0f, 5.0f, 10.0f, 20.0f, 50.0f};
    for (float s : kScales)
        if (largest <= static_cast<double>(s)) return s;
    return 50.0f;  // larger, or not a number
}

void ExOpt(Kestrova& k, const std::vector<LimitSample>& samples)
{
    double largest = static_cast<double>(k.d.XMAX);
    for (const LimitSample& s : samples)
        if (s.at.peak > largest) largest = s.at.peak;
    k.ds.EXscl = ExcursionFullScale(largest);
}

void ExGraph(Kestrova& k)
{
    if (!LimitsFrame(k, 56, 224.0f, "Cone Excursion")) return;
    DrawTextAt(k, 17.0f, 40.0f, "mm");
    // Five divisions: every full scale of the series then has a round step.
    const double full = static_cast<double>(k.ds.EXscl);
    const int decimals = full < 0.5 ? 2 : full < 5.0 ? 1 : 0;
    for (int i = 0; i < 6; ++i) {
        char text[16] = "0";
        if (i < 5) std::snprintf(text, sizeof text, "%.*f", decimals, full * (5 - i) / 5.0);
        const std::string_view t(text);
        const float dots = t.find('.') == std::string_view::npos ? 0.0f : 1.0f;
        DrawTextAt(k, 41.0f - 8.0f * (static_cast<float>(t.size()) - dots) - 4.0f * dots, 55.0f + 56.0f * i, t);
    }
}

void ExPlot(Kestrova& k, const std::vector<LimitSample>& samples)
{
    if (samples.empty()) return;
    const Design& d = k.d;
    const double full = static_cast<double>(k.ds.EXscl);
    const auto y = [full](double mm) { return ExY(full, mm); };
    const float xmaxY = static_cast<float>(y(static_cast<double>(d.XMAX)));
    PlotKeptCurves(k, ExKeptCurve);

    // Xmax as a dashed line across the frame with its value over the right
    // end, where the curves have fallen; the legend at the top right (below
    // the kept designs' legend), or under the line when the line is up there.
    SetLimitStyle(k, kXmaxBlue, 1.0f);
    k.ds.DashLineType = 2;
    DrawLineAt(k, 45.0f, xmaxY, 505.0f, xmaxY);
    const std::string xmaxText = "Xmax " + ShownValue(d.XMAX, 3) + " mm";
    DrawTextAt(k, 500.0f - 7.5f * static_cast<float>(xmaxText.size()), xmaxY - 4.0f, xmaxText);  // ends near 500
    const LegendRow legend[] = {{kCurveOrange, 2.0f, 0, "at Pemax " + ShownValue(d.PEMX, 2) + " W"},
                                {kCurveOrange, 1.0f, 0, "at 1 W"}};
    const float legendY = std::max(xmaxY < 110.0f ? xmaxY + 24.0f : 68.0f, KeptLegendBottom(k) + 18.0f);
    DrawLegend(k, legendY, legend, 2);

    // The thin curve first; a curve past the full scale runs over the frame,
    // as the other views' curves do.
    SetLimitStyle(k, kCurveOrange, 1.0f);
    DrawLimitCurve(
        k, samples, [&](const Excursion& e) { return y(e.peak1W); }, Always);
    SetLimitStyle(k, kCurveOrange, 2.0f);
    DrawLimitCurve(
        k, samples, [&](const Excursion& e) { return y(e.peak); }, Always);
    DrawKeptLegend(k);
}

}  // namespace ks
