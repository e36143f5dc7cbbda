// Where the program's resources live: ../share/kestrova/Images next to the
// executable, so the build tree and an installed tree both work.
#pragma once

#include <QString>
#include <string_view>

// CreateCGImageFromBundleResource(name, subdir) loads an image from there.
#include "support/qt/bundle_image.h"

namespace ks {

QString ImagesDir();

// The file `name` of resource folder `folder`, beside imagesDir ("Images" is
// imagesDir itself). Empty when either is not one plain path component, so
// no name can leave the resource folders.
QString ResourcePath(const QString& imagesDir, std::string_view name, std::string_view folder);

// One of the family's programs: beside the running one first, so a build or
// install tree keeps its programs together; then PATH. Empty when neither
// has it.
QString SiblingProgram(const QString& name);

}  // namespace ks
