// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_actions.h"

#include <cmath>
#include <iterator>
#include <string>

#include "graphs/dispatch.h"
#include "model/cb.h"
#include "model/response.h"
#include "support/numtext.h"

namespace ks {

BoxEntries BoxEntryTexts(const Design& d)
{
    BoxEntries e;
    if (d.alin < 1 || d.alin > 3) return e;
    e.shown = true;
    // Without a closed box there is no box to show.
    const bool none = d.boxSys == 2 || d.boxSys == 3;
    e.vb = none ? PStr("N/A") : RoundedText(d.VB, 2);
    e.fc = none ? PStr("N/A") : RoundedText(d.FC, 2);
    e.qtc = none ? PStr("N/A") : RoundedText(d.QTC, 3);
    e.active = d.alin == 2 ? 311 : d.alin == 3 ? 313 : 0;
    return e;
}

void CustomAlign(Kestrova& k, DesignView& v)
{
    ResponsePlot(k);
    v.ResponseWndDisp();
}

namespace {

// What the user typed, a decimal comma read as the point (as vantrel reads
// its numbers); only here: records always carry the point.
PStr TypedNumber(DesignView& v, std::int16_t id)
{
    std::string s = v.BoxEntryText(id).str();
    for (char& c : s)
        if (c == ',') c = '.';
    return PStr(s);
}

}  // namespace

void CalcBtnClickRetern(Kestrova& k, DesignView& v)
{
    Design& d = k.d;
    if (d.alin == 2) {
        d.s_VB = TypedNumber(v, 311);
        d.VB = static_cast<f32>(TextToNumber(d.s_VB));
    } else if (d.alin == 3) {
        d.s_QTC = TypedNumber(v, 313);
        d.QTC = static_cast<f32>(TextToNumber(d.s_QTC));
    }
    // Only a finite number above 0 is a box; "nan", "inf" and values beyond
    // single precision are refused like any other bad entry.
    if (!UsableBoxValue(d.VB) || !UsableBoxValue(d.QTC)) {
        v.Beep();
        d.VB = d.VBbak;
        d.QTC = d.QTCbak;
        CofCal(d);
        v.ResponseWndDisp();
        return;
    }
    CustomAlign(k, v);
    if (d.CBAlart == 0) ShowQtcSmallAlert(k, v);
    if (d.CBAlart == -1) ShowQtcLargeAlert(k, v);
    d.CBAlart = 1;
}

void ShowQtcSmallAlert(Kestrova& k, DesignView& v)
{
    k.d.s_QTC = RoundedText(k.d.QTC, 3);
    PStr info = PStr("Enter larger Qtc.  ( Possible Qtc >= ") + k.d.s_QTC.view() + " )";
    v.ShowSheetAlert(kQtcSmallMessage, info.view());
}

void ShowQtcLargeAlert(Kestrova& k, DesignView& v)
{
    k.d.s_QTC = RoundedText(k.d.QTC, 3);
    PStr info = PStr("Enter smaller Qtc.  ( Possible Qtc <= ") + k.d.s_QTC.view() + " )";
    v.ShowSheetAlert(kQtcLargeMessage, info.view());
}

namespace {
}

bool SelectQa(Design& d, int item)
{
    if (item < 1 || item > 5) return false;
    d.QA = kQaValues[item - 1];
    return true;
}

int QaItem(const Design& d) { return QaItemOf(d.QA); }

namespace {
// The view key of each Response menu item ("" for a separator or a command).
// Cone Excursion and Maximum SPL came after the menu's other items had their
// numbers: they are 13 and 14, shown after Step Response.
constexpr std::string_view kResponseKeys[] = {"amp", "imp", "ph", "gd", "nq", "st", "",
                                              "sys", "",    "",   "",   "",   "ex", "ms"};
}  // namespace

bool SelectResponse(Design& d, int item)
{
    if (item < 1 || item > static_cast<int>(std::size(kResponseKeys)) || kResponseKeys[item - 1].empty()) return false;
    d.s_Resp = kResponseKeys[item - 1];
    d.respID = static_cast<i16>(item);
    return true;
}

int ResponseItem(std::string_view key)
{
    for (std::size_t i = 0; i < std::size(kResponseKeys); ++i)
        if (!key.empty() && key == kResponseKeys[i]) return static_cast<int>(i) + 1;
    return 0;
}

bool SelectView(Design& d, int item)
{
    switch (item) {
    case 1: d.magni = 1; return true;
    case 2: d.magni = 2; return true;
    case 4: d.scale = 5; return true;
    case 5: d.scale = 10; return true;
    default: return false;
    }
}

bool SelectAlignment(Kestrova& k, int item)
{
    if (item < 1 || item > 3) return false;
    k.d.alin = static_cast<i16>(item);
    k.sh.EditMenuFlag = item == 1 ? 0 : 1;
    return true;
}

}  // namespace ks
