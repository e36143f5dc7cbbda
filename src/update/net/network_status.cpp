// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/net/network_status.h"

#include <QNetworkInformation>

namespace ks {

bool InternetAvailable()
{
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend()) return true;
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (!info) return true;
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local: return false;
    default: return true;
    }
}

}  // namespace ks
