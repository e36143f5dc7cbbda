// SPDX-License-Identifier: GPL-3.0-or-later
// The eight font numbers of the drawing state mapped to installed families
// with the same roles: a sans for "Lucida Grande", "Geneva" and "Helvetica",
// a monospace for "Monaco", bold for 4, 6 and 8. Sizes are in points, which
// are pixels of the graph area at 1:1.
#pragma once

#include <QFont>
#include <QHash>

namespace ks {

QFont KestrovaFont(int number, float size);

// Fonts are made once per number and size: a redraw asks for the same few.
class FontCache {
public:
    const QFont& font(int number, float size);

private:
    QHash<quint64, QFont> fonts_;
};

}  // namespace ks
