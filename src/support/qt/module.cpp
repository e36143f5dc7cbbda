// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/module.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStringList>

namespace ks {

QFunctionPointer ModuleFunction(const QString& name, const char* function)
{
    const QString here = QCoreApplication::applicationDirPath();
    QStringList dirs{here, QDir::cleanPath(here + QStringLiteral("/" KESTROVA_MODULES_FROM_BIN))};
    dirs += QCoreApplication::libraryPaths();
    dirs.removeDuplicates();
    QString why = QStringLiteral("not found");
    for (const QString& dir : dirs) {
        // The name CMake gives a module on this platform.
        const QString file = dir + QStringLiteral("/lib") + name + QStringLiteral(".so");
        if (!QFile::exists(file)) continue;
        QLibrary lib(file);
        if (QFunctionPointer f = lib.resolve(function)) return f;
        why = lib.errorString();
        break;
    }
    qWarning().noquote() << QStringLiteral("kestrova: module %1 not loaded (%2); going on without it").arg(name, why);
    return nullptr;
}

}  // namespace ks
