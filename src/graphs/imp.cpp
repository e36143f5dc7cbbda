// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/imp.h"

#include <cmath>

#include "graphs/evaluate_at.h"
#include "graphs/freq_axis.h"
#include "graphs/kept_curves.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/response.h"

namespace ks {

namespace {

struct Label {
    float x;
    const char* text;
};

}  // namespace

bool ImpLinearAxis(const Kestrova& k) { return k.prefs.ImpVertScale == 1 && static_cast<double>(k.ds.IMPscal) >= 1.0; }

void ImpOpt(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    ImpPrepare(d);
    s.yy1 = 0.0f;
    s.G1 = 0.0f;
    float maxZ = 0.0f;
    SweepFrequencies(k, false, CBIMPcal, IBIMPcal, [&] {
        const float z = d.yyLinea;
        if (s.k == s.k2 || z > maxZ) maxZ = z;
    });
    s.G1 = maxZ;
    impSetScale(k);
}

void impSetScale(Kestrova& k)
{
    const double g = k.ds.G1;
    if (g < 10.0)
        k.ds.IMPscal = 10.0f;
    else if (g >= 10.0 && g < 25.0)
        k.ds.IMPscal = 4.0f;
    else if (g >= 25.0 && g < 50.0)
        k.ds.IMPscal = 2.0f;
    else if (g >= 50.0 && g < 100.0)
        k.ds.IMPscal = 1.0f;
    else if (g >= 100.0)
        k.ds.IMPscal = 0.1f;
}

void ImpGraph(Kestrova& k)
{
    const bool linear = ImpLinearAxis(k);
    k.ds.LineW = GridWidth(k);
    SetGrey(k, 0.534f);
    if (linear) {
        for (int y = 50; y <= 330; y += 28) DrawLineAt(k, 45.0f, y + 0.5f, 505.0f, y + 0.5f);
    } else {
        // 1 .. 10, 10 .. 100, 100 .. 1000 ohms: the decade ends are drawn twice.
        for (int d = 0; d <= 2; ++d) {
            const double decade = std::pow(10.0, d);
            for (int m = 1; m <= 10; ++m) {
                const float yv = static_cast<float>(330.0 - 93.33333333333333 * std::log10(m * decade));
                const float y = static_cast<float>(std::rint(static_cast<double>(yv) + 0.5) + 0.5);
                DrawLineAt(k, 45.0f, y, 505.0f, y);
            }
        }
    }
    FrequencyFrame(k, 235.0f, "Impedance");
    DrawTextAt(k, 13.0f, 40.0f, "Ohms");
    if (linear) {
        static constexpr Label k10[11] = {{25, "10"}, {33, "9"}, {33, "8"}, {33, "7"}, {33, "6"}, {33, "5"},
                                          {33, "4"},  {33, "3"}, {33, "2"}, {33, "1"}, {33, "0"}};
        static constexpr Label k4[11] = {{14, "25.0"}, {14, "22.5"}, {14, "20.0"}, {14, "17.5"},
                                         {14, "15.0"}, {14, "12.5"}, {14, "10.0"}, {21, "7.5"},
                                         {21, "5.0"},  {21, "2.5"},  {33, "0"}};
        static constexpr Label k2[11] = {{25, "50"}, {25, "45"}, {25, "40"}, {25, "35"}, {25, "30"}, {25, "25"},
                                         {25, "20"}, {25, "15"}, {25, "10"}, {33, "5"},  {33, "0"}};
        static constexpr Label k1[11] = {{17, "100"}, {25, "90"}, {25, "80"}, {25, "70"}, {25, "60"}, {25, "50"},
                                         {25, "40"},  {25, "30"}, {25, "20"}, {25, "10"}, {33, "0"}};
        const float sc = k.ds.IMPscal;
        const Label* set = sc == 10.0f ? k10 : sc == 4.0f ? k4 : sc == 2.0f ? k2 : sc == 1.0f ? k1 : nullptr;
        if (set)
            for (int i = 0; i < 11; ++i) DrawTextAt(k, set[i].x, 55.0f + 28.0f * i, set[i].text);
    } else {
        struct LogLabel {
            float x, y;
            const char* text;
        };
        static constexpr LogLabel kLog[] = {{17, 55, "1 k"}, {17, 83, "500"}, {17, 147, "100"}, {25, 176, "50"},
                                            {25, 240, "10"}, {33, 269, "5"},  {33, 335, "1"}};
        for (const LogLabel& l : kLog) DrawTextAt(k, l.x, l.y, l.text);
    }
}

namespace {

void ImpCurve(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    ImpPrepare(d);
    const bool linear = ImpLinearAxis(k);
    SweepFrequencies(k, false, CBIMPcal, IBIMPcal, [&] {
        CurveTo(k, linear ? static_cast<float>(330.0 -
                                               2.81 * static_cast<double>(s.IMPscal) * static_cast<double>(d.yyLinea))
                          : static_cast<float>(330.0 - 93.33333333333333 * static_cast<double>(d.yy)));
    });
}

}  // namespace

void ImpPlot(Kestrova& k) { PlotCurves(k, ImpCurve, SetCurveStyle); }

}  // namespace ks
