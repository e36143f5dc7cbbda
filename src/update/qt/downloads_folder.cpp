// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/downloads_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "update/qt/update_desktop.h"

namespace ks {

QString DefaultDownloadsFolder() { return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation); }

bool EnsureUserTrash()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) return false;
    const QString trash = data + QStringLiteral("/Trash");
    for (const QString& dir : {trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info")}) {
        if (QFileInfo(dir).isDir()) continue;
        if (!QDir().mkpath(dir)) return false;
        // Only its owner may look into a trash.
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return true;
}

bool ObjectToTrash(UpdateDesktop& desktop, const QString& folder, const QString& fileName)
{
    if (folder.isEmpty() || fileName.isEmpty()) return false;
    const QFileInfo info(QDir(folder).filePath(fileName));
    if (!info.exists() && !info.isSymLink()) return false;
    // Without its trash folders the move would put the file elsewhere (the
    // working folder): then it stays where it is.
    if (!EnsureUserTrash()) return false;
    return desktop.MoveToTrash(info.filePath());
}

bool LSLaunchURLInDownloadsFolder(UpdateDesktop& desktop, const QString& folder, const QString& fileName)
{
    if (fileName.isEmpty()) return false;
    const QString path = QDir::isAbsolutePath(fileName) ? fileName : QDir(folder).filePath(fileName);
    if (!QFileInfo::exists(path)) return false;
    return desktop.OpenWithDefaultApp(path);
}

}  // namespace ks
