// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_apply.h"

#include <array>
#include <charconv>
#include <cmath>
#include <iterator>

#include "graphs/null_canvas.h"
#include "model/response.h"

namespace ks {

// A document's driver numbers are the design's, in the record's order.
static_assert(std::tuple_size_v<decltype(DriverPart::values)> == std::size(kDriverNumbers));

PStr EntryText(f32 v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return PStr(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
}

DriverPart DriverOf(const Design& d)
{
    DriverPart p;
    p.model = d.s_SP;
    p.range = d.s_RANG;
    for (std::size_t i = 0; i < p.values.size(); ++i) p.values[i] = d.*kDriverNumbers[i].value;
    return p;
}

BoxPart BoxOf(const Design& d)
{
    BoxPart b;
    b.system = d.boxSys;
    b.qa = d.QA;
    b.alignment = d.alin;
    if (d.alin == 2) b.entry = d.VB;
    if (d.alin == 3) b.entry = std::isfinite(d.QTCplot) ? d.QTCplot : d.QTC;
    return b;
}

ViewPart ViewOf(const Design& d) { return ViewPart{d.s_Resp, d.magni, d.scale}; }

DesignDocument CaptureDesign(const Kestrova& k)
{
    DesignDocument doc{DriverOf(k.d), BoxOf(k.d), ViewOf(k.d), {}};
    for (const KeptDesign& kept : k.kept) doc.kept.push_back({kept.name, kept.colour, DriverOf(kept.d), BoxOf(kept.d)});
    return doc;
}

void LoadIncomingDriver(Design& d, const DriverPart& p)
{
    d.s_SP = d.s_SP2 = p.model;
    d.s_RANG = d.s_RANG2 = p.range;
    for (std::size_t i = 0; i < p.values.size(); ++i) {
        d.*kDriverNumbers[i].incoming = p.values[i];
        d.*kDriverNumbers[i].text = EntryText(p.values[i]);
    }
}

void ApplyBoxAndView(const BoxPart& box, const ViewPart& view, DesignCommands& c)
{
    Design qa;
    qa.QA = box.qa;
    c.ChooseQa(QaItem(qa));
    const auto align = [&] {
        if (box.alignment != 2 && box.alignment != 3) return;  // the set-up's optimum
        c.ChooseAlignment(box.alignment);
        c.EnterBox(box.alignment == 2 ? 311 : 313, EntryText(box.entry));
    };
    // The baffle keeps the closed box it was switched from.
    if (box.system == 2) {
        align();
        c.InfiniteBaffle();
    }
    if (view.level == 2) c.ChooseView(2);
    if (view.scale == 10) c.ChooseView(5);
    // The profile shows the box without solving it: it comes after the Calc.
    const int item = ResponseItem(view.response.view());
    const bool profile = view.response == "sys";
    if (item > 1 && !profile) c.ChooseResponse(item);
    if (box.system == 1) align();
    if (profile) c.ChooseResponse(item);
}

std::vector<KeptDesign> MakeKeptDesigns(const std::vector<KeptPart>& parts)
{
    std::vector<KeptDesign> out;
    for (const KeptPart& p : parts) {
        Kestrova k;
        NullCanvas none;
        k.screen = k.page = &none;
        LoadIncomingDriver(k.d, p.driver);
        ParameterPass(k.d);
        HeadlessDesign h(k);
        h.SetUp();
        ApplyBoxAndView(p.box, ViewPart{}, h);
        out.push_back(KeptDesign{k.d, p.name, p.colour});
    }
    return out;
}

}  // namespace ks
