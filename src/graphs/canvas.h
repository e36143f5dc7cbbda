// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing surface behind the four primitives. A graph never knows which
// surface it draws on: the retained screen image, a printer or PDF page, SVG,
// or the recording canvas that writes the display list.
#pragma once

#include <cstdint>
#include <string_view>

namespace ks {

struct Rgb {
    float r = 0, g = 0, b = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    // A redraw may keep one painter open between these; outside them each
    // primitive shows at once.
    virtual void beginBatch() {}
    virtual void endBatch() {}
    // Clears the rectangle to the window background (screen redraws only).
    virtual void erase(float left, float top, float right, float bottom) = 0;
    // width is the width actually stroked; dash 0 solid, 1 (1 on 3 off), 2 (1 on 1 off).
    virtual void line(float x, float y, float x1, float y1, Rgb c, float width, int dash) = 0;
    virtual void frameRect(float x, float y, float x1, float y1, Rgb c, float width) = 0;
    virtual void fillRect(float x, float y, float x1, float y1, Rgb c) = 0;
    // text is Mac Roman; (x, y) is the left end of the baseline.
    virtual void text(float x, float y, int font, float size, Rgb c, std::string_view text) = 0;
    // An image resource scaled to fill the rectangle; nothing when it cannot be loaded.
    virtual void image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left,
                       std::int16_t bottom, std::int16_t right) = 0;
};

}  // namespace ks
