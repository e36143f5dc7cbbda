// SPDX-License-Identifier: GPL-3.0-or-later
// The proposed file name of a snapshot: MODEL_TITLE_N.png.
#pragma once

#include <cstdint>

#include "support/pstring.h"

namespace ks {

// Model name, "_", view title, "_", the counter without a leading blank and
// ".png", in Mac Roman, at most 255 bytes. Characters no file name can hold
// ("/" and NUL) become "-"; a name that would grow past 255 bytes loses the
// end of the model name rather than its ".png".
PStr SnapShotFileName(const PStr& model, const PStr& title, std::int16_t number);

}  // namespace ks
