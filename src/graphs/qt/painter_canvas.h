// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the four primitives with a QPainter: onto a printer or PDF page,
// an SVG generator, or any image. The painter's transform maps points to the
// device; the canvas adds nothing but the primitives.
#pragma once

#include <QColor>
#include <QPainter>
#include <QString>

#include "graphs/canvas.h"
#include "support/qt/fonts.h"

namespace ks {

// The painting itself, shared by PainterCanvas and ImageCanvas.
class PaintOps {
public:
    explicit PaintOps(QString imagesDir, QColor background = Qt::white);

    static void Prepare(QPainter& p);
    void erase(QPainter& p, float left, float top, float right, float bottom) const;
    void line(QPainter& p, float x, float y, float x1, float y1, Rgb c, float width, int dash) const;
    void frameRect(QPainter& p, float x, float y, float x1, float y1, Rgb c, float width) const;
    void fillRect(QPainter& p, float x, float y, float x1, float y1, Rgb c) const;
    void text(QPainter& p, float x, float y, int font, float size, Rgb c, std::string_view text);
    void image(QPainter& p, std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left,
               std::int16_t bottom, std::int16_t right) const;

    // Qt's vector paths leave the upper halves of the AVX registers dirty;
    // the model's scalar code that runs between two primitives then pays for
    // every instruction. Called after each primitive.
    void SettleVectorState() const;

private:
    QString imagesDir_;
    QColor background_;
    FontCache fonts_;
    bool clearUpper_ = false;
};

QColor ToQColor(Rgb c);

class PainterCanvas final : public Canvas {
public:
    // The painter must stay open while the canvas is used.
    PainterCanvas(QPainter& painter, QString imagesDir, QColor background = Qt::white);

    void erase(float left, float top, float right, float bottom) override;
    void line(float x, float y, float x1, float y1, Rgb c, float width, int dash) override;
    void frameRect(float x, float y, float x1, float y1, Rgb c, float width) override;
    void fillRect(float x, float y, float x1, float y1, Rgb c) override;
    void text(float x, float y, int font, float size, Rgb c, std::string_view text) override;
    void image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left, std::int16_t bottom,
               std::int16_t right) override;

private:
    QPainter& p_;
    PaintOps ops_;
};

}  // namespace ks
