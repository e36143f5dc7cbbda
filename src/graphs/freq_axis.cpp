// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/freq_axis.h"

#include <cmath>
#include <cstdint>

#include "graphs/primitives.h"

namespace ks {

double FreqToX(double freq) { return 200.0 * std::log10(freq) / std::log10(20.0) - 200.0 + 45.0; }

double LogFreqToX(float k) { return 200.0 * static_cast<double>(k) / std::log10(20.0) - 200.0 + 45.0; }

void FreqDrawLine(Kestrova& k)
{
    // Each decade runs to its end, so 100, 1000 and 10000 are drawn twice;
    // there is no line at 20 kHz.
    for (int d = 1; d <= 4; ++d) {
        std::int16_t step = static_cast<std::int16_t>(d == 1 ? 10 : d == 2 ? 100 : d == 3 ? 1000 : 10000);
        std::int16_t first = static_cast<std::int16_t>(d == 1 ? 2 * step : step);
        std::int16_t last = static_cast<std::int16_t>(d == 4 ? step : 10 * step);
        for (std::int16_t f = first; f <= last; f = static_cast<std::int16_t>(f + step)) {
            float xi = static_cast<float>(static_cast<int>(FreqToX(f)));
            DrawLineAt(k, xi + 0.5f, 50.0f, xi + 0.5f, 330.0f);
            if (f == last) break;  // 10 * 10000 would overflow 16 bits
        }
    }
    k.ds.LineW = k.ds.doPrint ? 1.0f : 0.0f;
    SetGrey(k, 0.229f);
    DrawRectAt(k, 45.5f, 50.5f, 505.5f, 330.5f);
}

void FreqScale(Kestrova& k)
{
    struct Label {
        float x;
        const char* text;
    };
    static constexpr Label kLabels[] = {{345, "[ Hz ]"}, {37, "20"},  {99, "50"},   {140, "100"}, {247, "500"},
                                        {299, "1k"},     {406, "5k"}, {449, "10k"}, {494, "20k"}};
    for (const Label& l : kLabels) DrawTextAt(k, l.x, 347.0f, l.text);
}

void BoxType(Kestrova& k)
{
    SetGrey(k, 0.0f);
    k.ds.fontSize = 13.0f;
    switch (k.d.boxSys) {
    case 1: DrawTextAt(k, 208.0f, 39.0f, "'Closed Box System'"); break;
    case 2: DrawTextAt(k, 203.0f, 39.0f, "'Infinit Baffle System'"); break;
    case 3: DrawTextAt(k, 198.0f, 39.0f, "'Rear Closed Type Unit'"); break;
    default: break;
    }
}

void DrawGraphTitle(Kestrova& k, float x, std::string_view title)
{
    SetGrey(k, 0.0f);
    SetFont(k, 1, 13.0f);
    DrawTextAt(k, x, 20.0f, title);
}

void HorizontalGrid(Kestrova& k, int step)
{
    k.ds.LineW = GridWidth(k);
    SetGrey(k, 0.534f);
    for (int y = 50; y <= 330; y += step) DrawLineAt(k, 45.0f, y + 0.5f, 505.0f, y + 0.5f);
}

void FrequencyFrame(Kestrova& k, float titleX, std::string_view title)
{
    FreqDrawLine(k);
    DrawGraphTitle(k, titleX, title);
    BoxType(k);
    FreqScale(k);
}

void CurveTo(Kestrova& k, float y, bool draw)
{
    DrawState& s = k.ds;
    s.yy = y;
    s.xx = static_cast<float>(LogFreqToX(s.k));
    if (s.k != s.k2 && draw) QuartzDrawLine(k, 1);
    s.xx1 = s.xx;
    s.yy1 = s.yy;
}

}  // namespace ks
