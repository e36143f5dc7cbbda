// SPDX-License-Identifier: GPL-3.0-or-later
// The program's Mac Roman texts as Qt shows them, and typed Qt text back.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "support/pstring.h"

namespace ks {

QString FromMacRoman(std::string_view macRoman);
inline QString FromMacRoman(const PStr& macRoman) { return FromMacRoman(macRoman.view()); }
// Nothing when the text holds a character Mac Roman lacks.
std::optional<std::string> ToMacRoman(const QString& text);

}  // namespace ks
