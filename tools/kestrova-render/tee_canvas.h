// SPDX-License-Identifier: GPL-3.0-or-later
// One drawing sent to two surfaces: the picture and the display list.
#pragma once

#include "graphs/canvas.h"

namespace ks {

class TeeCanvas final : public Canvas {
public:
    TeeCanvas(Canvas& a, Canvas& b) : a_(a), b_(b) {}
    void beginBatch() override { a_.beginBatch(), b_.beginBatch(); }
    void endBatch() override { a_.endBatch(), b_.endBatch(); }
    void erase(float l, float t, float r, float b) override { a_.erase(l, t, r, b), b_.erase(l, t, r, b); }
    void line(float x, float y, float x1, float y1, Rgb c, float w, int d) override
    {
        a_.line(x, y, x1, y1, c, w, d);
        b_.line(x, y, x1, y1, c, w, d);
    }
    void frameRect(float x, float y, float x1, float y1, Rgb c, float w) override
    {
        a_.frameRect(x, y, x1, y1, c, w);
        b_.frameRect(x, y, x1, y1, c, w);
    }
    void fillRect(float x, float y, float x1, float y1, Rgb c) override
    {
        a_.fillRect(x, y, x1, y1, c);
        b_.fillRect(x, y, x1, y1, c);
    }
    void text(float x, float y, int f, float s, Rgb c, std::string_view t) override
    {
        a_.text(x, y, f, s, c, t);
        b_.text(x, y, f, s, c, t);
    }
    void image(std::string_view fo, std::string_view n, std::int16_t t, std::int16_t l, std::int16_t b,
               std::int16_t r) override
    {
        a_.image(fo, n, t, l, b, r);
        b_.image(fo, n, t, l, b, r);
    }

private:
    Canvas& a_;
    Canvas& b_;
};

}  // namespace ks
