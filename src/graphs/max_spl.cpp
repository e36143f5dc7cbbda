#include "graphs/max_spl.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "graphs/evaluate_at.h"
#include "graphs/excursion.h"
#include "graphs/freq_axis.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/excursion.h"
#include "model/ib.h"
#include "model/response.h"

namespace ks {

namespace {

float LevelY(double db, double top) { return static_cast<float>(50.0 + 4.0 * (top - db)); }

bool InFrame(float y) { return y >= 50.0f && y <= 330.0f; }

}  // namespace

std::string MsCrossText(float hz)
{
    if (!(hz > 0.0f)) return {};
    char text[48];
    std::snprintf(text, sizeof text, "Xmax limits below %.0f Hz", static_cast<double>(hz));
    return text;
}

void MsOpt(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    CofCal(d);
    double highest = -INFINITY, cross = 0.0;
    double lastK = 0.0, lastRatio = 0.0;
    SweepFrequencies(k, false, CBFRcal, IBFRcal, [&] {
        const Excursion e = ExcursionCal(d, static_cast<double>(d.ff), static_cast<double>(d.yy));
        if (std::isfinite(e.maxSpl) && e.maxSpl > highest) highest = e.maxSpl;
        // Where the excursion at Pemax falls through Xmax, between two
        // samples, in log-log proportion.
        const double kNow = static_cast<double>(s.k), ratio = std::log10(e.peak / static_cast<double>(d.XMAX));
        if (s.k != s.k2 && lastRatio > 0.0 && ratio <= 0.0)
            cross = std::pow(10.0, lastK + (kNow - lastK) * lastRatio / (lastRatio - ratio));
        lastK = kNow;
        lastRatio = ratio;
    });
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
    SetFont(k, 1, 12.0f);
    DrawTextAt(k, 352.0f, 39.0f, MsCrossText(k.ds.MSCross));
}

void MsPlot(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    if (ExcursionNeedsCal(d).any()) return;
    const double top = static_cast<double>(s.MSTop);
    struct Point {
        float x, maxSpl, thermal, excursion;
    };
    std::vector<Point> points;
    points.reserve(310);
    CofCal(d);
    SweepFrequencies(k, false, CBFRcal, IBFRcal, [&] {
        const Excursion e = ExcursionCal(d, static_cast<double>(d.ff), static_cast<double>(d.yy));
        points.push_back({static_cast<float>(LogFreqToX(s.k)), LevelY(e.maxSpl, top), LevelY(e.thermal, top),
                          LevelY(e.excursion, top)});
    });

    // The limits in dashes of two sample steps with gaps as long, each dash
    // left out unless it lies in the frame: they leave it over most of the
    // range, and drawn there they would cover the titles.
    const LegendRow legend[] = {{kThermalRed, 1.0f, true, "thermal limit"}, {kXmaxBlue, 1.0f, true, "excursion limit"}};
    for (int c = 0; c < 2; ++c) {
        float Point::*curve = c == 0 ? &Point::thermal : &Point::excursion;
        SetLimitStyle(k, legend[c].colour, 1.0f);
        for (std::size_t i = 2; i < points.size(); i += 4) {
            const Point &a = points[i - 2], &b = points[i];
            if (InFrame(a.*curve) && InFrame(b.*curve)) DrawLineAt(k, a.x, a.*curve, b.x, b.*curve);
        }
    }
    DrawLegend(k, 306.0f, legend, 2);

    // The maximum as the amplitude curve is drawn: a segment ending below
    // the frame is left out. It never rises above the top line.
    SetLimitStyle(k, kCurveOrange, 2.0f);
    for (std::size_t i = 1; i < points.size(); ++i)
        if (points[i].maxSpl <= 330.0f)
            DrawLineAt(k, points[i - 1].x, points[i - 1].maxSpl, points[i].x, points[i].maxSpl);
}

}  // namespace ks
