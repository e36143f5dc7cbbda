// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions between the program's Mac Roman texts and UTF-8 (glibc iconv,
// charset "MACINTOSH").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ks {

// Well-formed UTF-8: no overlong forms, surrogates or cut sequences.
bool IsValidUtf8(std::string_view s);
// Always succeeds: every Mac Roman byte has a Unicode character.
std::string MacRomanToUtf8(std::string_view macRoman);
// Empty optional when the text is not well-formed UTF-8 (overlong forms and
// surrogates included) or has a character Mac Roman lacks.
std::optional<std::string> Utf8ToMacRoman(std::string_view utf8);
// Lossy form for input from outside: each unmappable character and each byte
// of an ill-formed sequence becomes '?'.
std::string Utf8ToMacRomanLossy(std::string_view utf8);

}  // namespace ks
