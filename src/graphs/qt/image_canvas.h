// SPDX-License-Identifier: GPL-3.0-or-later
// The retained image of the graph area: the design window paints it, so an
// uncovered window shows the last drawing. Drawn at the screen's device pixel
// ratio so lines stay crisp on HiDPI screens.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <memory>

#include "graphs/canvas.h"

namespace ks {

class ImageCanvas final : public Canvas {
public:
    explicit ImageCanvas(QString imagesDir, qreal devicePixelRatio = 1.0, int width = 540, int height = 380);
    ~ImageCanvas() override;

    void setDevicePixelRatio(qreal dpr);
    const QImage& image() const;
    // Called whenever the image has changed (after a batch, or after a lone primitive).
    void setChangedCallback(std::function<void()> cb);

    void beginBatch() override;
    void endBatch() override;
    void erase(float left, float top, float right, float bottom) override;
    void line(float x, float y, float x1, float y1, Rgb c, float width, int dash) override;
    void frameRect(float x, float y, float x1, float y1, Rgb c, float width) override;
    void fillRect(float x, float y, float x1, float y1, Rgb c) override;
    void text(float x, float y, int font, float size, Rgb c, std::string_view text) override;
    void image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left, std::int16_t bottom,
               std::int16_t right) override;

private:
    struct Impl;
    std::unique_ptr<Impl> p_;
};

}  // namespace ks
