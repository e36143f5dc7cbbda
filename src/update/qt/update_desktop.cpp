// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/update_desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace ks {

bool UpdateDesktop::OpenWithDefaultApp(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool UpdateDesktop::MoveToTrash(const QString& path) { return QFile::moveToTrash(path); }

}  // namespace ks
