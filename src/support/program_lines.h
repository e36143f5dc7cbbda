// SPDX-License-Identifier: GPL-3.0-or-later
// What every program of the family says about itself on a command line: its
// version and licence, and the one line that refuses an argument.
#pragma once

#include <string>
#include <string_view>

namespace ks {

// The version, as the build's project version gives it ("1.0.0").
std::string_view ProgramVersion();

// The text --version prints: "NAME VERSION", then the copyright and the
// licence, a line each.
std::string VersionText(std::string_view program);

// text made fit for one line of a message: control characters become '?',
// and a text over maxBytes is cut where a UTF-8 character starts, so
// whatever was typed stays on the one line.
std::string OneLine(std::string_view text, std::size_t maxBytes = 400);

// "NAME: WHAT ARGUMENT (see NAME --help)", one line without its end; the
// argument is shown through OneLine, cut to 200 bytes.
std::string RefusalLine(std::string_view program, std::string_view what, std::string_view argument);

}  // namespace ks
