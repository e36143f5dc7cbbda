// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/qt/image_canvas.h"

#include <QPainter>
#include <cmath>

#include "graphs/qt/painter_canvas.h"

namespace ks {

struct ImageCanvas::Impl {
    Impl(QString dir, qreal dpr, int w, int h) : ops(std::move(dir)), width(w), height(h) { allocate(dpr); }

    void allocate(qreal dpr)
    {
        if (!(dpr > 0.0) || dpr > 16.0) dpr = 1.0;
        image = QImage(static_cast<int>(std::ceil(width * dpr)), static_cast<int>(std::ceil(height * dpr)),
                       QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::white);
    }

    // Opens the painter for one primitive or a whole batch.
    QPainter& begin()
    {
        if (!painter.isActive()) {
            painter.begin(&image);
            PaintOps::Prepare(painter);
        }
        return painter;
    }
    // Outside a batch every primitive shows at once.
    void done()
    {
        if (depth > 0) return;
        painter.end();
        if (changed) changed();
    }

    PaintOps ops;
    int width, height;
    QImage image;
    QPainter painter;
    int depth = 0;
    std::function<void()> changed;
};

ImageCanvas::ImageCanvas(QString imagesDir, qreal devicePixelRatio, int width, int height)
    : p_(std::make_unique<Impl>(std::move(imagesDir), devicePixelRatio, width, height))
{
}

ImageCanvas::~ImageCanvas()
{
    if (p_->painter.isActive()) p_->painter.end();
}

void ImageCanvas::setDevicePixelRatio(qreal dpr)
{
    if (dpr == p_->image.devicePixelRatio()) return;
    const bool open = p_->painter.isActive();
    if (open) p_->painter.end();
    p_->allocate(dpr);
    if (open) p_->begin();
}

const QImage& ImageCanvas::image() const { return p_->image; }

void ImageCanvas::setChangedCallback(std::function<void()> cb) { p_->changed = std::move(cb); }

void ImageCanvas::beginBatch()
{
    if (p_->depth++ == 0) p_->begin();
}

void ImageCanvas::endBatch()
{
    if (p_->depth == 0) return;
    --p_->depth;
    p_->done();
}

void ImageCanvas::erase(float left, float top, float right, float bottom)
{
    p_->ops.erase(p_->begin(), left, top, right, bottom);
    p_->done();
}

void ImageCanvas::line(float x, float y, float x1, float y1, Rgb c, float width, int dash)
{
    p_->ops.line(p_->begin(), x, y, x1, y1, c, width, dash);
    p_->done();
}

void ImageCanvas::frameRect(float x, float y, float x1, float y1, Rgb c, float width)
{
    p_->ops.frameRect(p_->begin(), x, y, x1, y1, c, width);
    p_->done();
}

void ImageCanvas::fillRect(float x, float y, float x1, float y1, Rgb c)
{
    p_->ops.fillRect(p_->begin(), x, y, x1, y1, c);
    p_->done();
}

void ImageCanvas::text(float x, float y, int font, float size, Rgb c, std::string_view text)
{
    p_->ops.text(p_->begin(), x, y, font, size, c, text);
    p_->done();
}

void ImageCanvas::image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left,
                        std::int16_t bottom, std::int16_t right)
{
    p_->ops.image(p_->begin(), folder, name, top, left, bottom, right);
    p_->done();
}

}  // namespace ks
