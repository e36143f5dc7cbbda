// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/nyquist.h"

#include <cmath>

#include "graphs/evaluate_at.h"
#include "graphs/freq_axis.h"
#include "graphs/primitives.h"
#include "model/cb.h"
#include "model/ib.h"
#include "model/response.h"

namespace ks {

void NqGraph(Kestrova& k)
{
    k.ds.LineW = GridWidth(k);
    SetGrey(k, 0.534f);
    k.ds.DashLineType = 2;
    DrawLineAt(k, 130.0f, 190.5f, 409.0f, 190.5f);
    k.ds.DashLineType = 2;
    DrawLineAt(k, 270.5f, 50.0f, 270.5f, 330.0f);
    SetGrey(k, 0.229f);
    DrawLineAt(k, 268.0f, 260.5f, 273.0f, 260.5f);
    DrawLineAt(k, 268.0f, 120.5f, 273.0f, 120.5f);
    DrawLineAt(k, 200.5f, 188.0f, 200.5f, 193.0f);
    DrawLineAt(k, 340.5f, 188.0f, 340.5f, 193.0f);
    k.ds.LineW = k.ds.doPrint ? 1.0f : 0.0f;
    SetGrey(k, 0.229f);
    DrawRectAt(k, 130.5f, 50.5f, 410.5f, 330.5f);
    DrawGraphTitle(k, 218.0f, "Nyquist Diagram");
    BoxType(k);
}

void NqPlot(Kestrova& k)
{
    Design& d = k.d;
    DrawState& s = k.ds;
    SetCurveStyle(k);
    CofCal(d);
    s.k = 4.0f;
    while (s.k >= 1.0f) {
        EvaluateAt(d, s.k, CBNQcal, IBNQcal);
        s.xx = static_cast<float>(270.0 + 70.0 * static_cast<double>(d.xx));
        s.yy = static_cast<float>(190.0 - 70.0 * static_cast<double>(d.yy));
        if (s.k != 4.0f) QuartzDrawLine(k, 1);
        s.xx1 = s.xx;
        s.yy1 = s.yy;
        s.k = static_cast<float>(static_cast<double>(s.k) - 0.01);
    }
}

}  // namespace ks
