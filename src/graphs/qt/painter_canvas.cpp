// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/qt/painter_canvas.h"

#include <QPen>
#include <QVector>
#include <algorithm>
#include <cmath>

#include "support/macroman.h"
#include "support/qt/bundle_image.h"
#include "support/qt/qt_text.h"

namespace ks {

namespace {

float Unit(float v) { return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f); }

QRectF Span(float x, float y, float x1, float y1) { return QRectF(QPointF(x, y), QPointF(x1, y1)).normalized(); }

QPen StrokePen(Rgb c, float width, int dash)
{
    QPen pen(ToQColor(c), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    // Dash lengths are points; QPen counts them in pen widths.
    if (dash == 1)
        pen.setDashPattern({1.0 / width, 3.0 / width});
    else if (dash == 2)
        pen.setDashPattern({1.0 / width, 1.0 / width});
    return pen;
}

}  // namespace

QColor ToQColor(Rgb c) { return QColor::fromRgbF(Unit(c.r), Unit(c.g), Unit(c.b), 1.0f); }

PaintOps::PaintOps(QString imagesDir, QColor background) : imagesDir_(std::move(imagesDir)), background_(background)
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    clearUpper_ = __builtin_cpu_supports("avx");
#endif
}

void PaintOps::SettleVectorState() const
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    if (clearUpper_) asm volatile("vzeroupper");
#endif
}

void PaintOps::Prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void PaintOps::erase(QPainter& p, float left, float top, float right, float bottom) const
{
    p.fillRect(Span(left, top, right, bottom), background_);
    SettleVectorState();
}

void PaintOps::line(QPainter& p, float x, float y, float x1, float y1, Rgb c, float width, int dash) const
{
    p.setPen(StrokePen(c, width, dash));
    p.drawLine(QPointF(x, y), QPointF(x1, y1));
    SettleVectorState();
}

void PaintOps::frameRect(QPainter& p, float x, float y, float x1, float y1, Rgb c, float width) const
{
    QPen pen(ToQColor(c), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(Span(x, y, x1, y1));
    SettleVectorState();
}

void PaintOps::fillRect(QPainter& p, float x, float y, float x1, float y1, Rgb c) const
{
    p.fillRect(Span(x, y, x1, y1), ToQColor(c));
    SettleVectorState();
}

void PaintOps::text(QPainter& p, float x, float y, int font, float size, Rgb c, std::string_view text)
{
    p.setFont(fonts_.font(font, size));
    p.setPen(ToQColor(c));
    p.drawText(QPointF(x, y), FromMacRoman(text));
    SettleVectorState();
}

void PaintOps::image(QPainter& p, std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left,
                     std::int16_t bottom, std::int16_t right) const
{
    const QImage img = LoadResourceImage(imagesDir_, name, folder);
    if (img.isNull()) return;
    p.drawImage(QRectF(left, top, right - left, bottom - top), img);
    SettleVectorState();
}

PainterCanvas::PainterCanvas(QPainter& painter, QString imagesDir, QColor background)
    : p_(painter), ops_(std::move(imagesDir), background)
{
    PaintOps::Prepare(p_);
}

void PainterCanvas::erase(float left, float top, float right, float bottom)
{
    ops_.erase(p_, left, top, right, bottom);
}
void PainterCanvas::line(float x, float y, float x1, float y1, Rgb c, float width, int dash)
{
    ops_.line(p_, x, y, x1, y1, c, width, dash);
}
void PainterCanvas::frameRect(float x, float y, float x1, float y1, Rgb c, float width)
{
    ops_.frameRect(p_, x, y, x1, y1, c, width);
}
void PainterCanvas::fillRect(float x, float y, float x1, float y1, Rgb c) { ops_.fillRect(p_, x, y, x1, y1, c); }
void PainterCanvas::text(float x, float y, int font, float size, Rgb c, std::string_view text)
{
    ops_.text(p_, x, y, font, size, c, text);
}
void PainterCanvas::image(std::string_view folder, std::string_view name, std::int16_t top, std::int16_t left,
                          std::int16_t bottom, std::int16_t right)
{
    ops_.image(p_, folder, name, top, left, bottom, right);
}

}  // namespace ks
