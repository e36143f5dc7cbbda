// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/program_lines.h"

namespace ks {

std::string_view ProgramVersion() { return KESTROVA_VERSION; }

std::string VersionText(std::string_view program)
{
    std::string t(program);
    t += ' ';
    t += ProgramVersion();
    t += "\nCopyright (C) 2026 Tessaly\n"
         "License GPL-3.0-or-later: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl.html>.\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
    return t;
}

std::string OneLine(std::string_view text, std::size_t maxBytes)
{
    std::size_t n = text.size();
    if (n > maxBytes) {
        n = maxBytes;
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    }
    std::string line(text.substr(0, n));
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return line;
}

std::string RefusalLine(std::string_view program, std::string_view what, std::string_view argument)
{
    std::string line(program);
    line += ": ";
    line += what;
    line += ' ';
    line += OneLine(argument, 200);
    line += " (see ";
    line += program;
    line += " --help)";
    return line;
}

}  // namespace ks
