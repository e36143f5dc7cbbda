// SPDX-License-Identifier: GPL-3.0-or-later
// Loading an image resource of the program.
#pragma once

#include <QImage>
#include <QString>
#include <string_view>

namespace ks {

// The file `name` of resource folder `subdir` ("Images" is ImagesDir());
// a null image when it is missing or not an image (said once on standard
// error, naming the path), or when the name would leave the resource folder.
QImage CreateCGImageFromBundleResource(std::string_view name, std::string_view subdir);
// The same with an explicit Images folder (canvases are given theirs).
QImage LoadResourceImage(const QString& imagesDir, std::string_view name, std::string_view subdir);

}  // namespace ks
