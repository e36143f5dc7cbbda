// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit-free parts of a print job: the page scale, the job name and
// the texts of the print error alert.
#pragma once

#include "context/kestrova.h"
#include "support/pstring.h"

namespace ks {

// Scale in percent for a printable rectangle (points): fitted to the
// printable width in portrait, to the height in landscape.
double CalcPrintPageScale(double top, double left, double bottom, double right);

// Model name, one blank, view title.
PStr PrintJobName(const Design& d);

struct PrintErrorText {
    PStr message;
    PStr informative;
};
PrintErrorText PrintErrorTexts(int code);

}  // namespace ks
