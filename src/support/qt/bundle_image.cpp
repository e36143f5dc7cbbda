// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/bundle_image.h"

#include <QFileInfo>
#include <QImageReader>

#include "support/qt/resource_dir.h"

namespace ks {

QImage LoadResourceImage(const QString& imagesDir, std::string_view name, std::string_view subdir)
{
    const QString path = ResourcePath(imagesDir, name, subdir);
    if (path.isEmpty()) return {};
    if (!QFileInfo(path).isFile()) {
        ReportMissingResource(path);
        return {};
    }
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) ReportMissingResource(path, QStringLiteral("unreadable"));
    return image;
}

QImage CreateCGImageFromBundleResource(std::string_view name, std::string_view subdir)
{
    return LoadResourceImage(ImagesDir(), name, subdir);
}

}  // namespace ks
