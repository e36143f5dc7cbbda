// The nine preferences, with their start values.
#pragma once

#include <cstdint>

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
};

}  // namespace ks
