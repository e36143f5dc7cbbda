// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphs/qt/picture_output.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "graphs/qt/image_canvas.h"
#include "graphs/qt/painter_canvas.h"
#include "support/qt/save_file.h"

namespace ks {

std::optional<PictureKind> PictureKindFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("png")) return PictureKind::Png;
    if (suffix == QStringLiteral("svg")) return PictureKind::Svg;
    if (suffix == QStringLiteral("pdf")) return PictureKind::Pdf;
    return std::nullopt;
}

QString WritePicture(const QString& path, PictureKind kind, int width, int height, const QString& imagesDir,
                     const std::function<void(Canvas&)>& draw)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (kind) {
    case PictureKind::Png: {
        ImageCanvas canvas(imagesDir, 1.0, width, height);
        draw(canvas);
        if (!canvas.image().save(&buffer, "PNG")) return QStringLiteral("cannot encode the PNG image");
        break;
    }
    case PictureKind::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setResolution(72);
        svg.setTitle(QStringLiteral("Kestrova"));
        QPainter painter(&svg);
        painter.fillRect(QRectF(0, 0, width, height), Qt::white);
        PainterCanvas canvas(painter, imagesDir);
        draw(canvas);
        painter.end();
        break;
    }
    case PictureKind::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);
        pdf.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(QStringLiteral("Kestrova"));
        pdf.setCreator(QStringLiteral("Kestrova"));
        QPainter painter;
        if (!painter.begin(&pdf)) return QStringLiteral("cannot start the PDF page");
        PainterCanvas canvas(painter, imagesDir);
        draw(canvas);
        painter.end();
        break;
    }
    }
    buffer.close();
    return SaveFileBytes(path, bytes);
}

}  // namespace ks
