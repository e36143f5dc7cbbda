// SPDX-License-Identifier: GPL-3.0-or-later
// The design program's command line, read before the application object or a
// display exists: --help and --version answer at once, the toolkit's own
// options are left to it, and anything else is refused with one line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ks {

inline constexpr std::string_view kKestrovaUsage =
    "Usage: kestrova [OPTION]... [FILE.kestrova]\n"
    "Designs the closed box or infinite baffle of one loudspeaker driver. The driver\n"
    "comes from the driver library, vantrel; started alone, Kestrova offers its\n"
    "built-in driver. A design file named opens instead, in the Kestrova already\n"
    "running if there is one.\n"
    "\n"
    "  -h, --help       show this text and end\n"
    "      --version    show the version and the licence and end\n"
    "  -platform NAME, -style NAME, -display DISPLAY, -session ID, -reverse\n"
    "                   options of the Qt toolkit, passed on to it, as are its\n"
    "                   other standard options\n"
    "\n"
    "Exit status: 0 the program ended; 1 this text could not be written; 2 wrong\n"
    "arguments.\n";

// What the command line asks for.
struct StartRequest {
    enum class Action {
        Run,     // start the program
        Print,   // write text to standard output and end with status 0
        Refuse,  // write text (one line) to standard error and end with status 2
    };
    Action action = Action::Run;
    std::string text;
    std::vector<std::string> designFiles;  // Run: the design files named, in order
};

inline constexpr int kWrongArgumentsStatus = 2;

// args: the arguments without the program's name.
StartRequest ReadStartArguments(const std::vector<std::string_view>& args);

inline constexpr std::string_view kDesignFileSuffix = ".kestrova";

// Whether an argument names a design file the program opens: a name ending
// in ".kestrova" (in any case).
bool IsDesignFile(std::string_view argument);

}  // namespace ks
