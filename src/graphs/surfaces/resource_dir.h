// Where the program's resources live: ../share/kestrova/Images next to the
// executable, so the build tree and an installed tree both work.
#pragma once

#include <QString>

// CreateCGImageFromBundleResource(name, subdir) loads an image from there.
#include "graphs/surfaces/bundle_image.h"

namespace ks {

QString ImagesDir();

}  // namespace ks
