// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing a file's drivers into the library: a driver whose model name is
// already there updates that row instead of adding it a second time, so
// importing the same file twice leaves the library as the first time did.
#pragma once

#include <cstddef>
#include <vector>

#include "library/driver.h"

namespace ks::lib {

struct MergePlan {
    std::vector<Driver> added;   // new rows, id 0, in the file's order
    std::vector<Driver> before;  // stored rows the file changes, as they are
    std::vector<Driver> after;   // the same rows (same ids) as the file has them
    // The file's rows by what became of them: added.size() + updated +
    // unchanged is the count of drivers merged.
    std::size_t updated = 0, unchanged = 0;
};

// library: the stored rows, with their ids; where two share a model name the
// first is the one matched. A name that comes again later in the file
// updates what its earlier row made. Names match exactly (the texts are
// already trimmed): "W8" and "w8" stay two drivers.
MergePlan PlanMerge(const std::vector<Driver>& library, std::vector<Driver> incoming);

// Same driver values, whatever the ids.
bool SameValues(const Driver& a, const Driver& b);

}  // namespace ks::lib
