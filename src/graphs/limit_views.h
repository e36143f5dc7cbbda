// SPDX-License-Identifier: GPL-3.0-or-later
// What the cone excursion and maximum SPL views share: one sweep of the
// limits, the frame with its notice for a driver that lacks what they need,
// the legend, and how their curves are drawn.
#pragma once

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "context/kestrova.h"
#include "graphs/canvas.h"
#include "model/excursion.h"

namespace ks {

struct LimitSample {
    float x;  // on the frequency axis
    Excursion at;
};

// The limits at every point of the frequency curves' sweep; nothing when the
// driver lacks what they need.
std::vector<LimitSample> LimitsSweep(Kestrova& k);

// "This view needs the driver's Sd, Xmax and Pemax": what the driver lacks
// for the limit views, empty when it lacks nothing.
std::string LimitsNeedText(const Design& d);
// The horizontal grid every `step` points and the frequency frame. When the
// driver lacks something, the notice centred in the frame, and false: the
// view draws nothing more.
bool LimitsFrame(Kestrova& k, int step, float titleX, std::string_view title);

// The pen of a limit view's curve or line.
void SetLimitStyle(Kestrova& k, Rgb colour, float width);

// A line sample in the row's pen and dash and a text for each row, top to
// bottom from y, at the frame's right.
struct LegendRow {
    Rgb colour;
    float width;
    int dash;
    std::string text;
};
void DrawLegend(Kestrova& k, float y, const LegendRow* rows, int count);

// A value as the driver's entry shows it, without the leading blank.
std::string ShownValue(float v, int decimals);

struct CurvePoint {
    float x, y;
};
// Consecutive points joined by segments in the current pen and `dash`
// (canvas.h). Where the curve runs straight one segment spans many points:
// no point lies further than a twentieth of a point from the line drawn,
// and a redraw strokes far fewer segments.
void DrawPolyline(Kestrova& k, const std::vector<CurvePoint>& points, int dash = 0);

// The curve y(sample) through the sweep. The segment between two samples is
// drawn when keep(from, y of from, to, y of to) holds and both ends are
// numbers; the segments drawn join up into polylines.
template <typename Y, typename Keep>
void DrawLimitCurve(Kestrova& k, const std::vector<LimitSample>& samples, Y&& y, Keep&& keep, int dash = 0)
{
    std::vector<CurvePoint> run;
    for (std::size_t i = 1; i <= samples.size(); ++i) {
        const bool inside = i < samples.size();
        const float from = static_cast<float>(y(samples[i - 1].at));
        const float to = inside ? static_cast<float>(y(samples[i].at)) : NAN;
        if (inside && std::isfinite(from) && std::isfinite(to) && keep(samples[i - 1].at, from, samples[i].at, to)) {
            if (run.empty()) run.push_back({samples[i - 1].x, from});
            run.push_back({samples[i].x, to});
        } else if (!run.empty()) {
            DrawPolyline(k, run, dash);
            run.clear();
        }
    }
}

inline constexpr Rgb kCurveOrange{1.0f, 0.5294f, 0.0f};
inline constexpr Rgb kThermalRed{0.8f, 0.1f, 0.1f};
inline constexpr Rgb kXmaxBlue{0.1f, 0.3f, 0.8f};

}  // namespace ks
