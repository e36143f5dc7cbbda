// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/print_job.h"

#include <cmath>

#include "graphs/dispatch.h"
#include "support/numtext.h"

namespace ks {

double CalcPrintPageScale(double top, double left, double bottom, double right)
{
    (void)top;
    (void)left;
    if (bottom > right) {
        const double r = right;
        return 102.5 * (1.0087193876e-13 * std::pow(r, 2.0) + 0.0017889308287 * r + 3.4395623905e-8);
    }
    const double b = bottom;
    return 71.5 * (-9.503963872e-14 * std::pow(b, 2.0) + 0.0017889086477 * b - 3.2402136307e-8);
}

PStr PrintJobName(const Design& d)
{
    PStr name = d.s_SP;
    name += " ";
    name += SetResponseTitle(d);
    return name;
}

PrintErrorText PrintErrorTexts(int code)
{
    PrintErrorText t;
    t.message = code == -30872 ? "No default printer specified" : "Printing error";
    t.informative = "Error code ";
    t.informative += NumToText(code);
    return t;
}

}  // namespace ks
