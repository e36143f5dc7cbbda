// SPDX-License-Identifier: GPL-3.0-or-later
// The version texts of the update check: the running version, the server's
// version file as the program reads it, and the comparison rule.
#pragma once

#include <cstdint>
#include <string_view>

#include "support/pstring.h"

namespace ks {

// The most of the server's version file that is read: a wrong or hostile
// server cannot fill memory, past it the request fails. The version
// request and the program's reading of kestrova-fetch's answer share it.
inline constexpr std::int64_t kVersionFileMaxBytes = 64 * 1024;

// Every "." deleted, then the integer the rest begins with (after blanks
// and one optional sign); 0 when no digit follows. Digit runs beyond the
// 64-bit range saturate at its limits, so an absurdly long version is the
// greatest (or least) possible rather than undefined.
std::int64_t StringToNumerical(std::string_view version);

// The program's own value for an information key; "CFBundleShortVersionString"
// (and "CFBundleVersion") give KESTROVA_VERSION, any other key an empty text.
PStr GetCFBundleVersion(std::string_view key);

// The version file's bytes as the program keeps them: the first 255 bytes,
// Mac Roman, the rest ignored.
PStr DecodeVersionFile(std::string_view bytes);

// 1 when the server's version is strictly newer than the running one.
std::uint8_t JudgeNewer(std::string_view availStr, std::string_view bundleStr);

// A version text fit for one line of the update window: leading blanks and
// tabs skipped, then cut at the first control character (a line end after the number, or anything a server
// appends on further lines).
std::string_view VersionLine(std::string_view version);

}  // namespace ks
