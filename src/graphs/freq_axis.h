// The logarithmic frequency axis shared by the amplitude, impedance, phase
// and group-delay graphs, and the system caption drawn above every graph.
#pragma once

#include "kestrova.h"

namespace ks {

// 200 points per factor of 20: 20 Hz at x = 45, 20 kHz near 506.2.
double FreqToX(double freq);
// The same mapping from k = log10(f).
double LogFreqToX(float k);

// Vertical grid (colour and width the caller's), then the plot frame.
void FreqDrawLine(Kestrova& k);
// The frequency labels in the caller's font, size and colour.
void FreqScale(Kestrova& k);
// "'Closed Box System'" ... in black 13 points, the caller's font.
void BoxType(Kestrova& k);
// The title of a graph: black, 13 points, font 1, baseline 20.
void DrawGraphTitle(Kestrova& k, float x, std::string_view title);

}  // namespace ks
