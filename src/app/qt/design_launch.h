// SPDX-License-Identifier: GPL-3.0-or-later
// `kestrova FILE.kestrova`: the design file a launch names, handed to a
// Kestrova already running when there is one (a file manager's double click
// while the program is open), else opened by this one.
#pragma once

#include <QString>
#include <string>
#include <vector>

namespace ks {

struct DesignLaunch {
    QString file;             // absolute; empty when none is named
    bool handedOver = false;  // a running Kestrova took it: this one ends
};

// The first of the design files the command line names (ReadStartArguments).
DesignLaunch LaunchDesignFile(const std::vector<std::string>& designFiles);

}  // namespace ks
