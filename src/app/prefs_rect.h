// SPDX-License-Identifier: GPL-3.0-or-later
// The stored text form of a window rectangle: top, left, bottom, right, each
// as number-to-text (so " 0, 0, 560, 540"), joined by ",".
#pragma once

#include <string_view>

#include "context/shell_state.h"
#include "support/pstring.h"

namespace ks {

PStr RectToText(const Rect16& r);

// The first integer from the start of the text, each further one from the
// character after the next ","; a missing one reads as 0. Values beyond the
// 16-bit range are clamped to it (-32768 .. 32767), so a damaged store can
// put a window far away but never wraps a coordinate to the other side.
Rect16 TextToRect(std::string_view text);

}  // namespace ks
