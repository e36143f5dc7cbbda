// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/dispatch.h"

#include <limits>

#include "graphs/amp.h"
#include "graphs/canvas.h"
#include "graphs/excursion.h"
#include "graphs/group_delay.h"
#include "graphs/imp.h"
#include "graphs/max_spl.h"
#include "graphs/nyquist.h"
#include "graphs/phase.h"
#include "graphs/step_graph.h"
#include "graphs/system_profile.h"

namespace ks {

void ResponsePlot(Kestrova& k)
{
    Canvas* target = k.target();
    if (target) target->beginBatch();
    if (!k.ds.doPrint && k.screen) k.screen->erase(0.0f, 0.0f, 540.0f, 380.0f);
    const PStr& r = k.d.s_Resp;
    // What a design file keeps to give this box again (see Design::QTCplot);
    // the profile shows the box without solving it.
    if (k.d.boxSys == 1 && !(r == "sys")) k.d.QTCplot = k.d.alin == 3 ? k.d.QTC : std::numeric_limits<f32>::quiet_NaN();
    if (r == "amp") {
        AmpGraph(k);
        AmpPlot(k);
    } else if (r == "imp") {
        ImpOpt(k);
        ImpGraph(k);
        ImpPlot(k);
    } else if (r == "ph") {
        PhGraph(k);
        PhPlot(k);
    } else if (r == "gd") {
        GdOpt(k);
        GdGraph(k);
        GdPlot(k);
    } else if (r == "nq") {
        NqGraph(k);
        NqPlot(k);
    } else if (r == "st") {
        StepGraph(k);
        StepPlot(k);
    } else if (r == "sys") {
        SystemProfile(k);
    } else if (r == "ex") {
        const std::vector<LimitSample> samples = LimitsSweep(k);
        ExOpt(k, samples);
        ExGraph(k);
        ExPlot(k, samples);
    } else if (r == "ms") {
        const std::vector<LimitSample> samples = LimitsSweep(k);
        MsOpt(k, samples);
        MsGraph(k);
        MsPlot(k, samples);
    }
    if (target) target->endBatch();
}

PStr SetResponseTitle(const Design& d)
{
    const PStr& r = d.s_Resp;
    if (r == "amp") return "Amplitude";
    if (r == "imp") return "Impedance";
    if (r == "ph") return "Phase";
    if (r == "gd") return "Group Delay";
    if (r == "nq") return "Nyquist Diagram";
    if (r == "st") return "Step Response";
    if (r == "sys") return "System Profile";
    if (r == "ex") return "Cone Excursion";
    if (r == "ms") return "Maximum SPL";
    return PStr();
}

bool IsViewKey(std::string_view key)
{
    Design d;
    d.s_Resp = key;
    return key.size() <= PStr::kMax && !SetResponseTitle(d).empty();
}

}  // namespace ks
