// SPDX-License-Identifier: GPL-3.0-or-later
// What the design window's commands do to the design, apart from widgets and
// menus. The Qt window and kestrova-render both run these, so a headless
// picture is made by the same steps as the one on screen.
#pragma once

#include <cstdint>
#include <string_view>

#include "context/kestrova.h"

namespace ks {

// The window-side pieces the actions need. The design window implements it;
// kestrova-render has a headless one.
class DesignView {
public:
    virtual ~DesignView() = default;
    // The design window's box display: rebuilds the box entries 311 and 313
    // for the current alin and boxSys.
    virtual void ResponseWndDisp() = 0;
    // The current text of box entry 311 or 313 (Mac Roman).
    virtual PStr BoxEntryText(std::int16_t id) = 0;
    virtual void Beep() = 0;
    // A caution sheet on the design window; returns at once.
    virtual void ShowSheetAlert(std::string_view message, std::string_view informative) = 0;
};

// What the box entries 311 (Vb), 312 (Fc) and 313 (Qtc) show for the current
// alin and boxSys, and which of them takes typing (0: none). Nothing is
// shown for an alin other than 1 to 3.
struct BoxEntries {
    bool shown = false;
    PStr vb, fc, qtc;
    std::int16_t active = 0;
};
BoxEntries BoxEntryTexts(const Design& d);

// The redraw after any change of the box: ResponsePlot, then the box entries.
void CustomAlign(Kestrova& k, DesignView& v);
// The Calc. button's (and Return's, Enter's) action: reads, validates and
// applies the active box entry.
void CalcBtnClickRetern(Kestrova& k, DesignView& v);
// The alignment sheets: a Qtc no box can give (too small), or above the
// limit a buildable box gives (too large).
void ShowQtcSmallAlert(Kestrova& k, DesignView& v);
void ShowQtcLargeAlert(Kestrova& k, DesignView& v);

// The selector changes of the menus and the Qa pop-up. Each returns false for
// an item it does not know, changing nothing.
bool SelectQa(Design& d, int item);           // pop-up 320, items 1..5
int QaItem(const Design& d);                  // the item of the current QA, 0 for none
bool SelectResponse(Design& d, int item);     // Response menu items 1..6, 8, 13, 14
int ResponseItem(std::string_view key);       // the item showing view "amp" ..., 0 for none
bool SelectView(Design& d, int item);         // View menu items 1, 2, 4, 5
bool SelectAlignment(Kestrova& k, int item);  // Alignment menu items 1..3 (sets EditMenuFlag)

// The texts of the two alignment sheets.
inline constexpr std::string_view kQtcSmallMessage = "ALERT!   Impossible alignment.  Qtc is too small.";
inline constexpr std::string_view kQtcLargeMessage = "ALERT!   Unavailable alignment.  Qtc is too Large.";

}  // namespace ks
