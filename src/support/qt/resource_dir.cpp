// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/resource_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QMutex>
#include <QSet>
#include <QStandardPaths>

namespace ks {

namespace {

bool PlainComponent(std::string_view s)
{
    if (s.empty() || s.size() > 255 || s == "." || s == "..") return false;
    for (char c : s)
        if (c == '/' || c == '\\' || c == '\0') return false;
    return true;
}

QString FromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QString FromProgramDir(const char* relative)
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(relative));
}

}  // namespace

QString ResourcePath(const QString& imagesDir, std::string_view name, std::string_view folder)
{
    if (!PlainComponent(name) || !PlainComponent(folder)) return {};
    const QString sub = FromUtf8(folder);
    const QString dir = sub == QStringLiteral("Images") ? imagesDir : imagesDir + QStringLiteral("/../") + sub;
    return QDir::cleanPath(QDir(dir).filePath(FromUtf8(name)));
}

QString DataDir() { return FromProgramDir(KESTROVA_DATA_FROM_BIN); }

QString ImagesDir() { return DataDir() + QStringLiteral("/Images"); }

QString UserGuidePath() { return FromProgramDir(KESTROVA_DOC_FROM_BIN "/user-guide.html"); }

QString SiblingProgram(const QString& name)
{
    const QString beside = QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

Q_LOGGING_CATEGORY(notices, "kestrova")

const QLoggingCategory& Notices() { return notices(); }

bool ReportMissingResource(const QString& path, const QString& why)
{
    // Standard error belongs to the process, and so does the record of what
    // it has been told: a view redrawn a hundred times names its missing
    // image once.
    static QMutex lock;
    static QSet<QString> told;
    {
        const QMutexLocker hold(&lock);
        if (told.contains(path)) return false;
        told.insert(path);
    }
    qCWarning(notices).noquote() << QStringLiteral("%1 resource %2; going on without it").arg(why, path);
    return true;
}

}  // namespace ks
