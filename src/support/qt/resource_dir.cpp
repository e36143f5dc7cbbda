#include "support/qt/resource_dir.h"

#include <QCoreApplication>
#include <QDir>
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

}  // namespace

QString ResourcePath(const QString& imagesDir, std::string_view name, std::string_view folder)
{
    if (!PlainComponent(name) || !PlainComponent(folder)) return {};
    const QString sub = FromUtf8(folder);
    const QString dir = sub == QStringLiteral("Images") ? imagesDir : imagesDir + QStringLiteral("/../") + sub;
    return QDir(dir).filePath(FromUtf8(name));
}

QString ImagesDir()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kestrova/Images"));
}

QString SiblingProgram(const QString& name)
{
    const QString beside = QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

}  // namespace ks
