#include "support/qt/bundle_image.h"

#include <QImageReader>

#include "support/qt/resource_dir.h"

namespace ks {

QImage LoadResourceImage(const QString& imagesDir, std::string_view name, std::string_view subdir)
{
    const QString path = ResourcePath(imagesDir, name, subdir);
    if (path.isEmpty()) return {};
    QImageReader reader(path);
    return reader.read();
}

QImage CreateCGImageFromBundleResource(std::string_view name, std::string_view subdir)
{
    return LoadResourceImage(ImagesDir(), name, subdir);
}

}  // namespace ks
