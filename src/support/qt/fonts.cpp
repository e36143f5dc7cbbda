// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/fonts.h"

#include <cmath>
#include <cstring>

namespace ks {

QFont KestrovaFont(int number, float size)
{
    // Labels are placed by hand for the original faces: the narrower
    // Liberation Sans keeps the long dotted labels clear of the value frames;
    // Geneva's wide cut is closer to DejaVu Sans.
    QString family = QStringLiteral("Liberation Sans");
    bool bold = false;
    switch (number) {
    case 2:
    case 3: family = QStringLiteral("DejaVu Sans Mono"); break;
    case 4:
    case 6:
    case 8: bold = true; break;
    case 5: family = QStringLiteral("DejaVu Sans"); break;
    default: break;  // 1, 7, and numbers no caller passes
    }
    QFont f(family);
    f.setStyleHint(number == 2 || number == 3 ? QFont::Monospace : QFont::SansSerif);
    f.setBold(bold);
    // Pixel sizes follow the painter's transform, so one size serves the
    // screen image, the printer page and SVG alike.
    const int px = static_cast<int>(std::lround(size > 0.0f && size < 1000.0f ? size : 12.0f));
    f.setPixelSize(px > 0 ? px : 1);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 0.0);
    f.setKerning(true);
    return f;
}

const QFont& FontCache::font(int number, float size)
{
    quint32 bits = 0;
    std::memcpy(&bits, &size, sizeof bits);
    const quint64 key = (static_cast<quint64>(static_cast<quint32>(number)) << 32) | bits;
    auto it = fonts_.find(key);
    if (it == fonts_.end()) it = fonts_.insert(key, KestrovaFont(number, size));
    return it.value();
}

}  // namespace ks
