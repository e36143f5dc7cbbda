// SPDX-License-Identifier: GPL-3.0-or-later
// The passive network status: asks the system, sends nothing.
#pragma once

namespace ks {

// False only when the system reports no connection (disconnected, or a
// local network without the internet). Without a status backend the
// network counts as available and the request itself decides.
bool InternetAvailable();

}  // namespace ks
