// SPDX-License-Identifier: GPL-3.0-or-later
// Copy Parameters: the design record on the clipboard as plain text, for
// the crossover companion to read.
#pragma once

#include "context/kestrova.h"

namespace ks {

// With no block the design record is made by MakeClipText. The clipboard is
// cleared and gets the block as its one plain-text entry (from Mac Roman).
void TextToClipBoard(Kestrova& k, const PStr* block = nullptr);

}  // namespace ks
