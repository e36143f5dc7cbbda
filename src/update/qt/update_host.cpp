#include "update/qt/update_host.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace ks {

bool UpdateHost::OpenWithDefaultApp(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool UpdateHost::MoveToTrash(const QString& path)
{
    return QFile::moveToTrash(path);
}

}  // namespace ks
