// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/phase.h"

#include <cmath>

#include "graphs/evaluate_at.h"
#include "graphs/freq_axis.h"
#include "graphs/kept_curves.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/response.h"

namespace ks {

void PhGraph(Kestrova& k)
{
    k.ds.LineW = GridWidth(k);
    SetGrey(k, 0.534f);
    // Dotted every 30 degrees; the step is summed in single precision and
    // each line put on the nearest pixel row.
    for (float y = 50.0f; y <= 310.0f; y = static_cast<float>(static_cast<double>(y) + 23.333)) {
        const float row = static_cast<float>(std::rint(static_cast<double>(y) + 0.5) + 0.5);
        k.ds.DashLineType = 1;
        DrawLineAt(k, 45.0f, row, 505.0f, row);
    }
    for (int y : {120, 190, 260}) DrawLineAt(k, 45.0f, y + 0.5f, 505.0f, y + 0.5f);
    FrequencyFrame(k, 251.0f, "Phase");
    DrawTextAt(k, 7, 35, "Degrees");
    DrawTextAt(k, 7, 55, "+360");
    DrawTextAt(k, 7, 125, "+270");
    DrawTextAt(k, 7, 195, "+180");
    DrawTextAt(k, 15, 265, "+90");
    DrawTextAt(k, 33, 335, "0");
}

namespace {

void PhCurve(Kestrova& k)
{
    Design& d = k.d;
    CofCal(d);
    SweepFrequencies(k, true, CBPHcal, IBPHcal,
                     [&] { CurveTo(k, static_cast<float>(330.0 - (7.0 / 9.0) * static_cast<double>(d.yy))); });
}

}  // namespace

void PhPlot(Kestrova& k) { PlotCurves(k, PhCurve, SetCurveStyle); }

}  // namespace ks
