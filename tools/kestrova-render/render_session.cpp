// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_session.h"

#include "app/design_apply.h"
#include "app/design_commands.h"
#include "exchange/records.h"
#include "graphs/dispatch.h"
#include "model/response.h"
#include "support/macroman.h"

namespace ks {

namespace {

RenderRun Fail(RenderRun run, std::string why)
{
    run.ok = false;
    run.error = std::move(why);
    return run;
}

}  // namespace

RenderRun RunRenderSequence(Kestrova& k, const RenderOptions& o, Canvas& scratch, const DesignDocument* design)
{
    RenderRun run;
    k.screen = &scratch;
    k.page = &scratch;
    k.ds.doPrint = 0;
    k.ds.s_RectDraw = "Frame";
    if (o.impLog) k.prefs.ImpVertScale = 2;
    HeadlessDesign view(k);
    const auto takeAlerts = [&] {
        run.alerts.insert(run.alerts.end(), view.alerts.begin(), view.alerts.end());
        view.alerts.clear();
    };

    // The driver: the built-in one, a record as a message would bring it,
    // or a design file's.
    if (design) {
        k.kept = MakeKeptDesigns(design->kept);
        LoadIncomingDriver(k.d, design->driver);
    } else if (o.driver) {
        const std::optional<std::string> bytes = Utf8ToMacRoman(*o.driver);
        if (!bytes) return Fail(run, "--driver: the record has a character Mac Roman lacks");
        k.sh.s_Masg = *bytes;  // cut at 255 bytes, as a received message is
        MasageTextToParameter(k);
        if (!(k.sh.s_Dummy == kDriverTag))
            return Fail(run, "--driver: not a driver record (it must start with DUMMY#)");
    }
    ParameterPass(k.d);

    // The set-up sequence, then a design file's box and view.
    view.SetUp();
    if (design) {
        ApplyBoxAndView(design->box, design->view, view);
        takeAlerts();
        if (view.beeped) return Fail(run, "--design: the design's box entry was refused");
        // The next redraw, the last one or an option's, gives the saved box.
        ResumeShownQtc(k.d);
    }

    if (o.system) {
        if (*o.system == "cb") {
            if (!(static_cast<double>(k.d.VAS) > 0.0))
                return Fail(run, "--system cb: a closed box needs a driver with Vas greater than 0");
            view.ClosedBox();
        } else {
            view.InfiniteBaffle();
        }
    }
    if (o.qaItem) view.ChooseQa(*o.qaItem);
    if (o.align) {
        if (o.align->item == 1) {
            view.ChooseAlignment(1);
        } else {
            view.ChooseAlignment(o.align->item);
            const std::optional<std::string> typed = Utf8ToMacRoman(o.align->entry);
            if (!typed) return Fail(run, "--align: the value has a character Mac Roman lacks");
            view.EnterBox(o.align->item == 2 ? 311 : 313, PStr(*typed));
            takeAlerts();
            // The entry is refused when either value of the box is not above 0.
            if (view.beeped)
                return Fail(run, std::string(o.align->item == 2 ? "--align vb=" : "--align qtc=") + o.align->entry +
                                     ": entry rejected, the box volume and the Qtc must be greater than 0");
        }
    }
    if (o.absolute) view.ChooseView(2);
    if (o.scale) view.ChooseView(*o.scale == 5 ? 4 : 5);
    if (o.viewItem) view.ChooseResponse(*o.viewItem);
    return run;
}

void DrawFinalView(Kestrova& k, const RenderOptions& o, Canvas& out, const DateStamp& when)
{
    if (o.print) {
        k.page = &out;
        k.ds.doPrint = 1;
        DrawPrintPage(k, when);
        k.ds.doPrint = 0;
    } else {
        k.screen = &out;
        ResponsePlot(k);
    }
}

}  // namespace ks
