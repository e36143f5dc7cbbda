// SPDX-License-Identifier: GPL-3.0-or-later
// Command line of kestrova-send, read without the toolkit so it can be tested
// alone. Texts come in as UTF-8 and leave as Mac Roman bytes.
#pragma once

#include <string>
#include <vector>

#include "exchange/words.h"

namespace ks {

inline constexpr const char* kSendUsage =
    "usage: kestrova-send [--to NAME] [--as NAME] [--] TEXT\n"
    "       kestrova-send [--to NAME] [--as NAME] --driver KEY=VALUE...\n"
    "       kestrova-send --listen [--as NAME] [--count N] [--timeout SECONDS]\n"
    "       kestrova-send --help | -h | --version\n"
    "Sends TEXT, or a driver record, to every process named NAME on the session bus\n"
    "(default Kestrova) and prints how many received it; or, with --listen, joins the\n"
    "bus as NAME (default Vantrel) and prints each message it receives.\n"
    "A TEXT that begins with '-' follows '--'. Driver keys: model, range, dia, fs, vas,\n"
    "qts, qes, qms, effi, re, pemax, sd, xmax, vd, le.\n"
    "Exit status: 0 sent, or listened to the end; 1 no process received the text;\n"
    "2 wrong arguments.\n";

struct SendOptions {
    bool help = false;     // -h or --help: print the usage, send nothing
    bool version = false;  // --version: print the version, send nothing
    bool listen = false;
    std::string to{kKestrovaName};
    std::string as{kVantrelName};
    std::string text;    // Mac Roman, at most 255 bytes
    int count = 0;       // 0: no limit
    double timeout = 0;  // seconds; 0: none
};

// Fills o from args (without the program name). On a refusal returns false
// with a one-line reason in error.
bool ParseSendOptions(const std::vector<std::string>& args, SendOptions& o, std::string& error);

// The receiver class for a process name: Kstv for Kestrova, Vtrl for
// Vantrel, otherwise the first four letters, the first upper case and the
// others lower case.
std::string ReceiverClass(const std::string& processName);

}  // namespace ks
