// SPDX-License-Identifier: GPL-3.0-or-later
// The nine preferences, with their start values, and the recent design files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "context/shell_state.h"

namespace ks {

struct Prefs {
    Rect16 Bounds{0, 0, 560, 540};
    Rect16 PrefeBounds{0, 0, 255, 330};
    std::int32_t BoundsCheck = 1;
    std::int32_t SnapRegionCheck = 0;
    std::int32_t SnapSoundCheck = 1;
    std::int32_t CopySoundCheck = 1;
    std::int32_t PrintDateCheck = 1;
    std::int32_t UpdateForCheck = 1;
    std::int32_t ImpVertScale = 1;
    // The design files opened or saved last, newest first (UTF-8 paths).
    std::vector<std::string> RecentDesigns;
};

}  // namespace ks
