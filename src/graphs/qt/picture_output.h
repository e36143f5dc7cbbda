// SPDX-License-Identifier: GPL-3.0-or-later
// Writing one drawing as a PNG (the retained image at 1:1), SVG or PDF file.
// The file appears whole or not at all.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "graphs/canvas.h"

namespace ks {

enum class PictureKind { Png, Svg, Pdf };

// By the file name's suffix (.png, .svg, .pdf, any case); none otherwise.
std::optional<PictureKind> PictureKindFor(const QString& path);

// Runs draw on a surface of width x height points and writes it to path.
// Returns an empty text on success, else what went wrong.
QString WritePicture(const QString& path, PictureKind kind, int width, int height, const QString& imagesDir,
                     const std::function<void(Canvas&)>& draw);

}  // namespace ks
