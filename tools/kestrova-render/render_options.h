// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of kestrova-render, read into one struct. Every option
// is checked here; a malformed one gives a one-line reason and no options.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphs/response_data.h"
#include "reports/print_page.h"

namespace ks {

struct RenderAlignment {
    int item = 1;       // Alignment menu item: 1 optimum, 2 box volume, 3 Qtc
    std::string entry;  // the text typed into the box entry (items 2 and 3)
};

struct RenderOptions {
    std::optional<std::string> driver;      // a driver record, UTF-8
    std::optional<std::string> design;      // a design file read in place of the driver and the box options
    std::optional<std::string> saveDesign;  // a design file written with the design as drawn
    std::optional<std::string> system;      // "cb" or "ib"
    std::optional<int> qaItem;              // Qa pop-up item 1..5
    std::optional<RenderAlignment> align;
    std::optional<int> viewItem;  // Response menu item 1..6, 8, 13, 14
    bool absolute = false;
    std::optional<int> scale;  // 5 or 10
    bool impLog = false;
    bool print = false;
    std::optional<DateStamp> date;
    std::optional<std::string> out;  // a picture, or with --export any file or "-"
    std::optional<ResponseFormat> exportFormat;
    ResponseRange range;
    bool trace = false;
    bool record = false;
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    std::optional<RenderOptions> options;
    std::string error;  // set when options is empty
};

ParsedOptions ParseRenderOptions(const std::vector<std::string_view>& args);
// YYYY-MM-DDTHH:MM:SS with a real calendar date and a 24-hour time.
std::optional<DateStamp> ParseIsoDate(std::string_view text);

inline constexpr std::string_view kRenderUsage =
    "usage: kestrova-render [--driver RECORD | --design FILE] [--system cb|ib] [--qa 5|7|10|15|20]\n"
    "                       [--align opt|vb=LITRES|qtc=Q] [--view amp|imp|ph|gd|nq|st|sys|ex|ms]\n"
    "                       [--absolute] [--scale 5|10] [--imp-log] [--print] [--date ISO]\n"
    "                       [--out FILE.png|FILE.svg|FILE.pdf] [--trace] [--record]\n"
    "                       [--save-design FILE]\n"
    "       kestrova-render [design options as above] --export frd|zma|csv\n"
    "                       [--from HZ] [--to HZ] [--ppo N] --out FILE|-\n"
    "       kestrova-render --help | -h | --version\n"
    "Draws one view of a design as Kestrova would, without a display, and writes it\n"
    "as a picture, a display list (--trace) or the design record (--record); or\n"
    "writes the modelled response as data (--export).\n"
    "Exit status: 0 done; 1 the output could not be written; 2 a refused entry, a\n"
    "closed box for a driver without Vas, or wrong arguments.\n";

}  // namespace ks
