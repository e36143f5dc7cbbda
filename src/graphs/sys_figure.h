// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter symbols written beside the system figure of the profile sheet.
#pragma once

#include "context/kestrova.h"

namespace ks {

// The system figure's labels (Vb, Fc, Qtc, Qa for a closed box; Fs, Qts
// otherwise) in font 2, 15 points, grey 0.2; nothing for an unknown boxSys.
void GetFontSysFigure(Kestrova& k);

}  // namespace ks
