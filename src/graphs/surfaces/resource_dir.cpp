#include "graphs/surfaces/resource_dir.h"

#include <QCoreApplication>
#include <QDir>

namespace ks {

QString ImagesDir()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kestrova/Images"));
}

}  // namespace ks
