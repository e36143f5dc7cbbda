// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/sys_figure.h"

#include "graphs/primitives.h"

namespace ks {

void GetFontSysFigure(Kestrova& k)
{
    const auto sys = k.d.boxSys;
    if (sys != 1 && sys != 2 && sys != 3) return;
    SetFont(k, 2, 15.0f);
    SetGrey(k, 0.2f);
    if (sys == 1) {
        DrawTextAt(k, 75, 157, "Vb");
        DrawTextAt(k, 75, 177, "Fc");
        DrawTextAt(k, 75, 197, "Qtc");
        DrawTextAt(k, 75, 217, "Qa");
    } else {
        DrawTextAt(k, 60, 227, "Fs");
        DrawTextAt(k, 60, 247, "Qts");
    }
}

}  // namespace ks
