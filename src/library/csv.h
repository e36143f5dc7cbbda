// SPDX-License-Identifier: GPL-3.0-or-later
// Import and export of the library as CSV: one header row naming the fields
// (the keys of Info), then one driver a row; comma separated, fields with a
// comma, quote, line break or outer blank quoted, quotes doubled; UTF-8.
// What Export writes, Import reads back to the same drivers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "library/driver.h"

namespace ks::lib {

// Largest file either import reads.
inline constexpr std::size_t kMaxImportBytes = 64u << 20;
inline constexpr std::size_t kMaxImportRows = 200000;

struct Refusal {
    int line = 0;  // where the row starts, counting from 1
    std::string reason;
};

struct ImportResult {
    std::vector<Driver> taken;
    std::vector<Refusal> refused;
    std::string fatal;  // non-empty: the file as a whole cannot be read
};

// Rows with a wrong field count or a refused field are listed with their
// line and skipped; a malformed record is skipped to where its quoting lets
// it end (a quote that never closes takes the rest of the file). A header
// that names no model, or unknown columns, or text that is not UTF-8 refuse
// the whole file.
//
// A text cell that a spreadsheet would take for a formula (starting with =,
// +, -, @, a tab or a carriage return) is written behind an apostrophe,
// which reading strips again.
ImportResult ImportCsv(std::string_view bytes);

std::string ExportCsv(const std::vector<Driver>& drivers);

}  // namespace ks::lib
