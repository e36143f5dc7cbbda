#include "graphs/surfaces/bundle_image.h"

#include <QDir>
#include <QImageReader>

#include "graphs/surfaces/resource_dir.h"

namespace ks {

namespace {

bool SafeComponent(std::string_view s)
{
    if (s.empty() || s == "." || s == "..") return false;
    for (char c : s)
        if (c == '/' || c == '\\' || c == '\0') return false;
    return true;
}

}  // namespace

QImage LoadResourceImage(const QString& imagesDir, std::string_view name, std::string_view subdir)
{
    if (!SafeComponent(name) || !SafeComponent(subdir)) return {};
    const QString sub = QString::fromUtf8(subdir.data(), static_cast<qsizetype>(subdir.size()));
    const QString file = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    // The resource root holds one folder per kind; imagesDir is its "Images".
    const QString folder = sub == QStringLiteral("Images") ? imagesDir : imagesDir + QStringLiteral("/../") + sub;
    QImageReader reader(QDir(folder).filePath(file));
    QImage img = reader.read();
    return img;
}

QImage CreateCGImageFromBundleResource(std::string_view name, std::string_view subdir)
{
    return LoadResourceImage(ImagesDir(), name, subdir);
}

}  // namespace ks
