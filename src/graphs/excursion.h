// The cone excursion view: the peak excursion at Pemax (thick) and at 1 W
// (thin) against the driver's Xmax, on a linear millimetre axis. Also the
// frame and the one-line notice both limit views share.
#pragma once

#include <string>
#include <string_view>

#include "context/kestrova.h"
#include "graphs/canvas.h"

namespace ks {

// Chooses EXscl from the sweep's largest excursion at Pemax and from Xmax.
void ExOpt(Kestrova& k);
void ExGraph(Kestrova& k);
void ExPlot(Kestrova& k);
// The smallest of 0.1, 0.2, 0.5 ... 50 mm that holds `largest`; 50 above.
float ExcursionFullScale(double largest);

// "This view needs the driver's Sd, Xmax and Pemax": what the driver lacks
// for the limit views, empty when it lacks nothing.
std::string LimitsNeedText(const Design& d);
// The horizontal grid every `step` points and the frequency frame. When the
// driver lacks something, the notice centred in the frame, and false: the
// view draws nothing more.
bool LimitsFrame(Kestrova& k, int step, float titleX, std::string_view title);
// A curve colour of the limit views, with its width.
void SetLimitStyle(Kestrova& k, Rgb colour, float width);
// A line sample and a text for each row, top to bottom from y, at the
// frame's right; a dashed sample as the limit curves are dashed.
struct LegendRow {
    Rgb colour;
    float width;
    bool dashed;
    std::string text;
};
void DrawLegend(Kestrova& k, float y, const LegendRow* rows, int count);
// A value as the driver's entry shows it, without the leading blank.
std::string ShownValue(float v, int decimals);

inline constexpr Rgb kCurveOrange{1.0f, 0.5294f, 0.0f};
inline constexpr Rgb kThermalRed{0.8f, 0.1f, 0.1f};
inline constexpr Rgb kXmaxBlue{0.1f, 0.3f, 0.8f};

}  // namespace ks
