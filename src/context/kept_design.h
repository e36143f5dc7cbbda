// SPDX-License-Identifier: GPL-3.0-or-later
// A design held for comparison: its whole state as it was when kept, what it
// is called and the colour its curves are drawn in.
#pragma once

#include <cstddef>
#include <string>

#include "model/design.h"

namespace ks {

// Up to four are kept; keeping another drops the oldest.
inline constexpr std::size_t kMaxKept = 4;

struct KeptDesign {
    Design d;
    std::string name;  // UTF-8: the design file's name, or the driver's model
    int colour = 1;    // 1 .. kMaxKept, one per kept design
};

}  // namespace ks
