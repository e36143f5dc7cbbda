// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGINT and SIGHUP end the program through its quit sequence, so
// a logout or a terminal's Ctrl+C keeps the preferences like Quit does.
#pragma once

#include <functional>

namespace ks {

// Installs the handlers; `quit` runs on the event loop, once per signal.
// False when the handlers could not be installed (the defaults stay).
bool RouteQuitSignals(std::function<void()> quit);

}  // namespace ks
