// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/amp.h"

#include <cmath>
#include <cstdio>

#include "graphs/evaluate_at.h"
#include "graphs/freq_axis.h"
#include "graphs/kept_curves.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/response.h"

namespace ks {

float AmpSift(const Design& d)
{
    const double spl = d.SPL;
    if (d.scale == 10) {
        if (spl < 81.0) return -10.0f;
        if (spl < 91.0) return 0.0f;
        if (spl < 101.0) return 10.0f;
        return 20.0f;
    }
    if (spl < 76.0) return -15.0f;
    if (spl < 81.0) return -10.0f;
    if (spl < 86.0) return -5.0f;
    if (spl < 91.0) return 0.0f;
    if (spl < 96.0) return 5.0f;
    if (spl < 101.0) return 10.0f;
    if (spl < 106.0) return 15.0f;
    return 20.0f;
}

namespace {

constexpr float kLabelY[8] = {55, 95, 135, 175, 215, 255, 295, 335};

void RelativeLabels(Kestrova& k)
{
    struct Label {
        float x;
        const char* text;
    };
    static constexpr Label k5[8] = {{15, "+10"}, {22, "+5"},  {32, "0"},   {25, "-5"},
                                    {17, "-10"}, {17, "-15"}, {17, "-20"}, {17, "-25"}};
    static constexpr Label k10[8] = {{15, "+20"}, {15, "+10"}, {32, "0"},   {17, "-10"},
                                     {17, "-20"}, {17, "-30"}, {17, "-40"}, {17, "-50"}};
    const Label* set = k.d.scale == 5 ? k5 : k.d.scale == 10 ? k10 : nullptr;
    if (!set) return;
    DrawTextAt(k, 26.0f, 40.0f, "dB");
    for (int i = 0; i < 8; ++i) DrawTextAt(k, set[i].x, kLabelY[i], set[i].text);
}

void AbsoluteLabels(Kestrova& k)
{
    int top = 0;
    if (k.d.scale == 5)
        top = 100 + static_cast<int>(k.ds.sift);
    else if (k.d.scale == 10)
        top = 110 + static_cast<int>(k.ds.sift);
    else
        return;
    DrawTextAt(k, 7.0f, 40.0f, "dBSPL1W1m");
    for (int i = 0; i < 8; ++i) {
        int value = top - i * k.d.scale;
        char text[16];
        std::snprintf(text, sizeof text, "+%d", value);
        DrawTextAt(k, value >= 100 ? 7.0f : 15.0f, kLabelY[i], text);
    }
}

}  // namespace

void AmpGraph(Kestrova& k)
{
    HorizontalGrid(k, 40);
    FrequencyFrame(k, 238.0f, "Amplitude");
    if (k.d.magni == 1) {
        RelativeLabels(k);
    } else if (k.d.magni == 2) {
        if (k.d.scale == 5 || k.d.scale == 10) k.ds.sift = AmpSift(k.d);
        AbsoluteLabels(k);
    }
}

namespace {

void AmpCurve(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    CofCal(d);
    SweepFrequencies(k, false, CBFRcal, IBFRcal, [&] {
        const double a = d.yy;
        const double spl = d.SPL, sift = s.sift;
        double y = 0.0;
        if (d.scale == 5 && d.magni == 1)
            y = 130.0 + 8.0 * a;
        else if (d.scale == 5 && d.magni == 2)
            y = 850.0 - 8.0 * spl + 8.0 * sift + 8.0 * a;
        else if (d.scale == 10 && d.magni == 1)
            y = 130.0 + 4.0 * a;
        else if (d.scale == 10 && d.magni == 2)
            y = 490.0 - 4.0 * spl + 4.0 * sift + 4.0 * a;
        // A segment ending below the frame is left out; the next one drawn
        // starts from that point and so crosses the bottom edge.
        CurveTo(k, static_cast<float>(y), static_cast<float>(y) <= 330.0f);
    });
}

}  // namespace

void AmpPlot(Kestrova& k) { PlotCurves(k, AmpCurve, SetCurveStyle); }

}  // namespace ks
