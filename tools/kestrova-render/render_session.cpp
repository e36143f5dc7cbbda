#include "render_session.h"

#include <map>

#include "app/design_actions.h"
#include "exchange/records.h"
#include "graphs/amp.h"
#include "graphs/dispatch.h"
#include "model/response.h"
#include "support/macroman.h"
#include "support/numtext.h"

namespace ks {

namespace {

// The design window's box entries without a window.
class HeadlessView final : public DesignView {
public:
    explicit HeadlessView(Kestrova& k, RenderRun& run) : k_(k), run_(run) {}

    void ResponseWndDisp() override
    {
        entries_.clear();
        const BoxEntries e = BoxEntryTexts(k_.d);
        if (!e.shown) return;
        entries_[311] = e.vb;
        entries_[312] = e.fc;
        entries_[313] = e.qtc;
        if (e.active != 0) k_.sh.edtFldID = e.active;
    }
    PStr BoxEntryText(std::int16_t id) override
    {
        auto it = entries_.find(id);
        return it == entries_.end() ? PStr() : it->second;
    }
    void Beep() override { beeped = true; }
    void ShowSheetAlert(std::string_view message, std::string_view informative) override
    {
        run_.alerts.push_back(MacRomanToUtf8(message) + " | " + MacRomanToUtf8(informative));
    }
    void Type(std::int16_t id, const PStr& text) { entries_[id] = text; }

    bool beeped = false;

private:
    Kestrova& k_;
    RenderRun& run_;
    std::map<std::int16_t, PStr> entries_;
};

RenderRun Fail(RenderRun run, std::string why)
{
    run.ok = false;
    run.error = std::move(why);
    return run;
}

}  // namespace

RenderRun RunRenderSequence(Kestrova& k, const RenderOptions& o, Canvas& scratch)
{
    RenderRun run;
    k.screen = &scratch;
    k.page = &scratch;
    k.ds.doPrint = 0;
    k.ds.s_RectDraw = "Frame";
    if (o.impLog) k.prefs.ImpVertScale = 2;
    HeadlessView view(k, run);

    // The driver: the built-in one, or a record as a message would bring it.
    if (o.driver) {
        const std::optional<std::string> bytes = Utf8ToMacRoman(*o.driver);
        if (!bytes) return Fail(run, "--driver: the record has a character Mac Roman lacks");
        k.sh.s_Masg = *bytes;  // cut at 255 bytes, as a received message is
        MasageTextToParameter(k);
        if (!(k.sh.s_Dummy == kDriverTag))
            return Fail(run, "--driver: not a driver record (it must start with DUMMY#)");
    }
    ParameterPass(k.d);

    // The set-up sequence.
    InitSetUpMenuParam(k.d);
    SPLcal(k.d);
    AmpGraph(k);
    AmpPlot(k);
    view.ResponseWndDisp();

    if (o.system) {
        if (*o.system == "cb") {
            if (!(static_cast<double>(k.d.VAS) > 0.0))
                return Fail(run, "--system cb: a closed box needs a driver with Vas greater than 0");
            InitSetUpMenuParam(k.d);
        } else {
            k.d.boxSys = 2;
        }
        CustomAlign(k, view);
    }
    if (o.qaItem) {
        SelectQa(k.d, *o.qaItem);
        CustomAlign(k, view);
    }
    if (o.align) {
        SelectAlignment(k, o.align->item);
        if (o.align->item == 1) {
            CustomAlign(k, view);
        } else {
            view.ResponseWndDisp();
            const std::optional<std::string> typed = Utf8ToMacRoman(o.align->entry);
            if (!typed) return Fail(run, "--align: the value has a character Mac Roman lacks");
            view.Type(o.align->item == 2 ? 311 : 313, PStr(*typed));
            CalcBtnClickRetern(k, view);
            // The entry is refused when either value of the box is not above 0.
            if (view.beeped)
                return Fail(run, std::string(o.align->item == 2 ? "--align vb=" : "--align qtc=") + o.align->entry +
                                     ": entry rejected, the box volume and the Qtc must be greater than 0");
        }
    }
    if (o.absolute) {
        SelectView(k.d, 2);
        ResponsePlot(k);
    }
    if (o.scale) {
        SelectView(k.d, *o.scale == 5 ? 4 : 5);
        ResponsePlot(k);
    }
    if (o.viewItem) {
        SelectResponse(k.d, *o.viewItem);
        ResponsePlot(k);
    }
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
