// SPDX-License-Identifier: GPL-3.0-or-later
// The lists a session keeps of designs: the ones kept for comparison and
// the design files opened or saved last.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "context/kestrova.h"

namespace ks {

// Keep for Comparison: the current design joins the kept ones under `name`
// (UTF-8), in the first colour none of them has; with four kept already,
// the oldest goes first.
void KeepForComparison(Kestrova& k, std::string name);

inline constexpr std::size_t kMaxRecentDesigns = 8;
// Longest path the list keeps, in bytes (a Linux path's limit).
inline constexpr std::size_t kMaxRecentPathBytes = 4096;

// A file opened or saved: first in the list, once, at most eight in all.
void AddRecentDesign(std::vector<std::string>& list, std::string_view path);
void DropRecentDesign(std::vector<std::string>& list, std::string_view path);
// The list as stored, made fit to show: absolute UTF-8 paths of at most
// kMaxRecentPathBytes without control characters, each once, the first
// eight.
std::vector<std::string> CleanRecentDesigns(const std::vector<std::string>& stored);

}  // namespace ks
