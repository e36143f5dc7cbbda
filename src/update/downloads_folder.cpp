#include "update/downloads_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "update/update_host.h"

namespace ks {

QString DefaultDownloadsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}

bool ObjectToTrash(UpdateHost& host, const QString& folder, const QString& fileName)
{
    if (folder.isEmpty() || fileName.isEmpty()) return false;
    const QFileInfo info(QDir(folder).filePath(fileName));
    if (!info.exists() && !info.isSymLink()) return false;
    return host.MoveToTrash(info.filePath());
}

bool LSLaunchURLInDownloadsFolder(UpdateHost& host, const QString& folder, const QString& fileName)
{
    if (fileName.isEmpty()) return false;
    const QString path = QDir::isAbsolutePath(fileName) ? fileName : QDir(folder).filePath(fileName);
    if (!QFileInfo::exists(path)) return false;
    return host.OpenWithDefaultApp(path);
}

}  // namespace ks
