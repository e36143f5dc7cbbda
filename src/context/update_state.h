// SPDX-License-Identifier: GPL-3.0-or-later
// State of the version check and the download: flags, the two version
// texts, the addresses and file names, the update window's default button.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/pstring.h"

namespace ks {

struct UpdateState {
    std::uint8_t NetConnectFlag = 0;   // 1: the network was found unavailable
    std::uint8_t UpdateOkFlag = 0;     // 1: the server's version is newer
    std::uint8_t DownLoadOkFlag = 0;   // 0 after a successful download, 1 after a failed one
    std::uint8_t CheckFailedFlag = 0;  // 1: no version file came (refused, unknown host, an error, no answer)
    PStr availStr;                     // the server's version text
    PStr bundleStr;                    // the running version
    std::int16_t checkUpdateBtn = 0;   // id of the update window's default button

    // Scheme and host of the update server, without a trailing "/".
    std::string serverBase = KESTROVA_UPDATE_SERVER;
    std::string checkVerURL = std::string(KESTROVA_UPDATE_SERVER) + "/versions/Kestrova_version.txt";
    std::string downloadURL = std::string(KESTROVA_UPDATE_SERVER) + "/downloads/apps/Kestrova.zip";
    std::string downFileZip = "Kestrova.zip";
    std::string downFileName = "Kestrova.pkg";
    // Where the last successful download was saved (its full path): the
    // install action opens this file, which is downFileZip unless the server
    // suggested another name.
    std::string downloadedPath;
};

// Points both addresses at another server (tests use http://127.0.0.1:PORT).
void SetUpdateServer(UpdateState& u, std::string_view base);

}  // namespace ks
