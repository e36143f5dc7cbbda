// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/design_launch.h"

#include <QFileInfo>

#include "exchange/qt/dbus_messenger.h"

namespace ks {

DesignLaunch LaunchDesignFile(const std::vector<std::string>& designFiles)
{
    DesignLaunch launch;
    if (designFiles.empty()) return launch;
    launch.file = QFileInfo(QFile::decodeName(designFiles.front().c_str())).absoluteFilePath();
    launch.handedOver = HandOverDesign(BusText(kKestrovaName), launch.file);
    return launch;
}

}  // namespace ks
