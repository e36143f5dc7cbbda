// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_commands.h"

#include "graphs/amp.h"
#include "graphs/dispatch.h"
#include "model/response.h"
#include "support/macroman.h"

namespace ks {

void HeadlessDesign::SetUp()
{
    InitSetUpMenuParam(k_.d);
    SPLcal(k_.d);
    AmpGraph(k_);
    AmpPlot(k_);
    ResponseWndDisp();
}

void HeadlessDesign::ResponseWndDisp()
{
    entries_.clear();
    const BoxEntries e = BoxEntryTexts(k_.d);
    if (!e.shown) return;
    entries_[311] = e.vb;
    entries_[312] = e.fc;
    entries_[313] = e.qtc;
    if (e.active != 0) k_.sh.edtFldID = e.active;
}

PStr HeadlessDesign::BoxEntryText(std::int16_t id)
{
    auto it = entries_.find(id);
    return it == entries_.end() ? PStr() : it->second;
}

void HeadlessDesign::ShowSheetAlert(std::string_view message, std::string_view informative)
{
    alerts.push_back(MacRomanToUtf8(message) + " | " + MacRomanToUtf8(informative));
}

void HeadlessDesign::ClosedBox()
{
    InitSetUpMenuParam(k_.d);
    CustomAlign(k_, *this);
}

void HeadlessDesign::InfiniteBaffle()
{
    k_.d.boxSys = 2;
    CustomAlign(k_, *this);
}

void HeadlessDesign::ChooseQa(int item)
{
    if (SelectQa(k_.d, item)) CustomAlign(k_, *this);
}

void HeadlessDesign::ChooseAlignment(int item)
{
    if (!SelectAlignment(k_, item)) return;
    if (item == 1)
        CustomAlign(k_, *this);
    else
        ResponseWndDisp();
}

void HeadlessDesign::EnterBox(std::int16_t id, const PStr& text)
{
    entries_[id] = text;
    CalcBtnClickRetern(k_, *this);
}

void HeadlessDesign::ChooseView(int item)
{
    if (SelectView(k_.d, item)) ResponsePlot(k_);
}

void HeadlessDesign::ChooseResponse(int item)
{
    if (SelectResponse(k_.d, item)) ResponsePlot(k_);
}

}  // namespace ks
