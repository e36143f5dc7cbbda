// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's resources live: the data folder of the installed
// layout (share/kestrova beside bin), found from the executable, so the
// build tree and an installed tree, wherever it is moved, both work.
#pragma once

#include <QLoggingCategory>
#include <QString>
#include <string_view>

// CreateCGImageFromBundleResource(name, subdir) loads an image from there.
#include "support/qt/bundle_image.h"

namespace ks {

// The program's data folder (share/kestrova); its "Images" folder.
QString DataDir();
QString ImagesDir();

// The HTML user guide where the installed layout puts it (it may be absent).
QString UserGuidePath();

// The file `name` of resource folder `folder`, beside imagesDir ("Images" is
// imagesDir itself). Empty when either is not one plain path component, so
// no name can leave the resource folders.
QString ResourcePath(const QString& imagesDir, std::string_view name, std::string_view folder);

// One of the family's programs: beside the running one first, so a build or
// install tree keeps its programs together; then PATH. Empty when neither
// has it.
QString SiblingProgram(const QString& name);

// The family's notices on standard error ("kestrova: ..."); a program that
// keeps Qt's own messages quiet lets these through.
const QLoggingCategory& Notices();

// Says that the resource at `path` is missing (or, with `why`, what else is
// wrong with it) in one line on standard error, the first time only: the
// program goes on without it, and however often it is asked for again the
// line is not repeated. True when this call said it.
bool ReportMissingResource(const QString& path, const QString& why = QStringLiteral("missing"));

}  // namespace ks
