// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/qt/window_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace ks {

namespace {

QRect Centred(QRect r, const QRect& area)
{
    r.moveCenter(area.center());
    return r;
}

// Shifts r into area; a window larger than the area keeps its top left in it.
QRect Inside(QRect r, const QRect& area)
{
    r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() - r.width() + 1)));
    r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() - r.height() + 1)));
    return r;
}

}  // namespace

QRect PlaceOnScreen(QRect wanted, bool saved)
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return wanted;
    if (!saved) return Centred(wanted, primary->availableGeometry());
    const QScreen* best = nullptr;
    long long bestArea = 0;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect common = s->geometry().intersected(wanted);
        const long long area = static_cast<long long>(common.width()) * common.height();
        if (area > bestArea) {
            best = s;
            bestArea = area;
        }
    }
    if (!best) return Centred(wanted, primary->availableGeometry());
    return Inside(wanted, best->availableGeometry());
}

}  // namespace ks
