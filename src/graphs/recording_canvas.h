// SPDX-License-Identifier: GPL-3.0-or-later
// The display list: one drawn primitive a line, in call order, numbers with
// four decimals, texts in UTF-8. Tests and kestrova-render --trace read it.
#pragma once

#include <string>
#include <vector>

#include "graphs/canvas.h"

namespace ks {

class RecordingCanvas : public Canvas {
public:
    void erase(float left, float top, float right, float bottom) override;
    void line(float x, float y, float x1, float y1, Rgb c, float width, int dash) override;
    void frameRect(float x, float y, float x1, float y1, Rgb c, float width) override;
    void fillRect(float x, float y, float x1, float y1, Rgb c) override;
    void text(float x, float y, int font, float size, Rgb c, std::string_view text) override;
    void image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left, std::int16_t bottom,
               std::int16_t right) override;

    const std::vector<std::string>& lines() const { return lines_; }
    // All lines, each ended by a newline.
    std::string str() const;
    void clear() { lines_.clear(); }

private:
    std::vector<std::string> lines_;
};

}  // namespace ks
