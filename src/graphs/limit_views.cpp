// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/limit_views.h"

#include <algorithm>
#include <cmath>

#include "graphs/evaluate_at.h"
#include "graphs/freq_axis.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/response.h"
#include "support/numtext.h"

namespace ks {

namespace {

// A text's width in points at 13 points, near enough to centre it.
float TextWidth(std::string_view text) { return 6.0f * static_cast<float>(text.size()); }

constexpr float kCurveTolerance = 0.05f;

}  // namespace

std::vector<LimitSample> LimitsSweep(Kestrova& k)
{
    Design& d = k.d;
    std::vector<LimitSample> samples;
    if (ExcursionNeedsCal(d).any()) return samples;
    samples.reserve(310);
    CofCal(d);
    const ExcursionDriver driver = ExcursionDriverCal(d);
    SweepFrequencies(k, false, CBFRcal, IBFRcal, [&] {
        samples.push_back({static_cast<float>(LogFreqToX(k.ds.k)),
                           ExcursionCal(driver, static_cast<double>(d.ff), static_cast<double>(d.yy))});
    });
    return samples;
}

std::string LimitsNeedText(const Design& d)
{
    const ExcursionNeeds n = ExcursionNeedsCal(d);
    std::vector<const char*> names;
    if (n.sd) names.push_back("Sd");
    if (n.xmax) names.push_back("Xmax");
    if (n.pemax) names.push_back("Pemax");
    if (n.sensitivity) names.push_back("sensitivity");
    if (names.empty()) return {};
    std::string text = "This view needs the driver's ";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

bool LimitsFrame(Kestrova& k, int step, float titleX, std::string_view title)
{
    HorizontalGrid(k, step);
    FrequencyFrame(k, titleX, title);
    const std::string need = LimitsNeedText(k.d);
    if (need.empty()) return true;
    DrawTextAt(k, 275.0f - TextWidth(need) / 2.0f, 195.0f, need);
    return false;
}

void SetLimitStyle(Kestrova& k, Rgb colour, float width)
{
    k.ds.LineW = width;
    SetColor(k, colour.r, colour.g, colour.b);
}

void DrawLegend(Kestrova& k, float y, const LegendRow* rows, int count)
{
    for (int i = 0; i < count; ++i, y += 16.0f) {
        const LegendRow& r = rows[i];
        SetLimitStyle(k, r.colour, r.width);
        k.ds.DashLineType = static_cast<std::int16_t>(r.dash);
        DrawLineAt(k, 380.0f, y - 4.0f, 400.0f, y - 4.0f);
        SetGrey(k, 0.0f);
        DrawTextAt(k, 405.0f, y, r.text);
    }
}

std::string ShownValue(float v, int decimals)
{
    std::string s = RoundedText(v, decimals).str();
    if (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

void DrawPolyline(Kestrova& k, const std::vector<CurvePoint>& points, int dash)
{
    // From each anchor the segment grows while its end keeps every point
    // passed within the tolerance: the slopes that do so narrow to a window,
    // and a point outside it ends the segment at the point before.
    std::size_t anchor = 0;
    float lo = -INFINITY, hi = INFINITY;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const CurvePoint a = points[anchor], p = points[i];
        const float dx = p.x - a.x, slope = (p.y - a.y) / dx;
        if (i > anchor + 1 && !(slope >= lo && slope <= hi)) {
            k.ds.DashLineType = static_cast<std::int16_t>(dash);
            DrawLineAt(k, a.x, a.y, points[i - 1].x, points[i - 1].y);
            anchor = i - 1;
            lo = -INFINITY, hi = INFINITY;
            --i;  // this point again, from the new anchor
            continue;
        }
        lo = std::max(lo, (p.y - kCurveTolerance - a.y) / dx);
        hi = std::min(hi, (p.y + kCurveTolerance - a.y) / dx);
    }
    if (points.size() < 2) return;
    k.ds.DashLineType = static_cast<std::int16_t>(dash);
    DrawLineAt(k, points[anchor].x, points[anchor].y, points.back().x, points.back().y);
}

}  // namespace ks
