// SPDX-License-Identifier: GPL-3.0-or-later
// The listing of the default-parameter window: the incoming driver, one
// label and value per line, in Mac Roman.
#pragma once

#include <string>
#include <vector>

#include "model/design.h"

namespace ks {

// Listing lines are drawn at baselines 2 .. 16 line heights down.
inline constexpr int kDefaultListingFirstLine = 2;

// Fifteen lines: model name and frequency range as they are, then the
// thirteen numbers through their fixed-width masks.
std::vector<std::string> DefaultParameterLines(const Design& d);

}  // namespace ks
