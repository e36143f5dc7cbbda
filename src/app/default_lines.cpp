// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/default_lines.h"

#include "support/numtext.h"

namespace ks {

std::vector<std::string> DefaultParameterLines(const Design& d)
{
    struct Num {
        const char* label;
        f32 value;
        const char* mask;
    };
    // The labels are padded so every "=" stands in one column of the
    // fixed-width font.
    const Num nums[] = {
        {"Dia        = ", d.DIA2, " ###.### cm"},    {"Fs         = ", d.FS2, "####.### Hz"},
        {"Vas        = ", d.VAS2, "####.### Liter"}, {"Qts        = ", d.QTS2, "  ##.###"},
        {"Qes        = ", d.QES2, "  ##.###"},       {"Qms        = ", d.QMS2, "  ##.###"},
        {"Effi       = ", d.EFI2, "  ##.### %"},     {"Re         = ", d.RE2, "  ##.### Ohm"},
        {"Pemax      = ", d.PEMX2, "####.### Watt"}, {"Sd         = ", d.SD2, "####.### cm^2"},
        {"Xmax       = ", d.XMAX2, " ###.### mm"},   {"Vd         = ", d.VD2, "####.### cm^3"},
        {"Le         = ", d.LE2, "  ##.### mH"},
    };
    std::vector<std::string> lines;
    lines.reserve(15);
    lines.push_back(std::string("Model Name = ") + d.s_SP2.str());
    lines.push_back(std::string("Freq Range = ") + d.s_RANG2.str());
    for (const Num& n : nums)
        lines.push_back(std::string(n.label) + FormatWithMask(n.mask, static_cast<f64>(n.value)).str());
    return lines;
}

}  // namespace ks
