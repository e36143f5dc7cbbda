// SPDX-License-Identifier: GPL-3.0-or-later
// A surface that draws nothing: the redraws before the one that is kept.
#pragma once

#include "graphs/canvas.h"

namespace ks {

class NullCanvas final : public Canvas {
public:
    void erase(float, float, float, float) override {}
    void line(float, float, float, float, Rgb, float, int) override {}
    void frameRect(float, float, float, float, Rgb, float) override {}
    void fillRect(float, float, float, float, Rgb) override {}
    void text(float, float, int, float, Rgb, std::string_view) override {}
    void image(std::string_view, std::string_view, std::int16_t, std::int16_t, std::int16_t, std::int16_t) override {}
};

}  // namespace ks
