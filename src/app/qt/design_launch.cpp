#include "app/qt/design_launch.h"

#include <QFileInfo>

#include "exchange/qt/dbus_messenger.h"

namespace ks {

DesignLaunch LaunchDesignFile(const QStringList& arguments)
{
    DesignLaunch launch;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i].isEmpty() || arguments[i].startsWith(QLatin1Char('-'))) continue;
        launch.file = QFileInfo(arguments[i]).absoluteFilePath();
        break;
    }
    if (!launch.file.isEmpty()) launch.handedOver = HandOverDesign(QStringLiteral("Kestrova"), launch.file);
    return launch;
}

}  // namespace ks
