// SPDX-License-Identifier: GPL-3.0-or-later
#include "context/update_state.h"

namespace ks {

void SetUpdateServer(UpdateState& u, std::string_view base)
{
    while (!base.empty() && base.back() == '/') base.remove_suffix(1);
    u.serverBase = std::string(base);
    u.checkVerURL = u.serverBase + "/versions/Kestrova_version.txt";
    u.downloadURL = u.serverBase + "/downloads/apps/Kestrova.zip";
}

}  // namespace ks
