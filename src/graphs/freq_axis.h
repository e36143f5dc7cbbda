// SPDX-License-Identifier: GPL-3.0-or-later
// The logarithmic frequency axis shared by the amplitude, impedance, phase
// and group-delay graphs, and the system caption drawn above every graph.
#pragma once

#include "context/kestrova.h"

namespace ks {

// 200 points per factor of 20: 20 Hz at x = 45, 20 kHz near 506.2.
double FreqToX(double freq);
// The same mapping from k = log10(f).
double LogFreqToX(float k);
// The next point of a frequency curve, at s.k and height y: the segment
// from the previous point is drawn unless this is the first point or draw
// is false; either way the point becomes the start of the next segment.
void CurveTo(Kestrova& k, float y, bool draw = true);

// Vertical grid (colour and width the caller's), then the plot frame.
void FreqDrawLine(Kestrova& k);
// The frequency labels in the caller's font, size and colour.
void FreqScale(Kestrova& k);
// "'Closed Box System'" ... in black 13 points, the caller's font.
void BoxType(Kestrova& k);
// The title of a graph: black, 13 points, font 1, baseline 20.
void DrawGraphTitle(Kestrova& k, float x, std::string_view title);
// Horizontal grid lines from y 50 to 330, every `step` points, in grid grey.
void HorizontalGrid(Kestrova& k, int step);
// What the four frequency graphs draw after their horizontal grid: the
// vertical grid and frame, the title, the system caption and the frequency
// labels (these last two in black 13-point font 1, as the title leaves it).
void FrequencyFrame(Kestrova& k, float titleX, std::string_view title);

}  // namespace ks
