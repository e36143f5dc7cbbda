// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window of the program opens: its client area (frame excluded) at a
// saved place when that lies on a screen, else centred.
#pragma once

#include <QRect>

namespace ks {

// A rectangle as the windows' layout tables give it: left, top, right,
// bottom, in pixels of the window's content.
struct Ltrb {
    int left, top, right, bottom;
};
inline QRect ToQRect(Ltrb r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// `wanted` is the client area at its saved place; `saved` false means there
// is none. A place partly off every screen (a monitor since unplugged, a
// scale factor since changed) is moved fully onto the screen that holds most
// of it; a place on no screen, or none at all, is centred on the primary
// screen.
QRect PlaceOnScreen(QRect wanted, bool saved);

}  // namespace ks
