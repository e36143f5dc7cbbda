// Where the program's resources live: ../share/kestrova/Images next to the
// executable, so the build tree and an installed tree both work.
#pragma once

#include <QString>

namespace ks {

QString ImagesDir();

}  // namespace ks
