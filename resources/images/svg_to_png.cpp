// SPDX-License-Identifier: GPL-3.0-or-later
// Renders one SVG drawing into a PNG of a given pixel size (the build makes
// the program's images with it). Usage: svg_to_png IN.svg OUT.png WIDTH HEIGHT
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: svg_to_png IN.svg OUT.png WIDTH HEIGHT\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    bool okW = false, okH = false;
    const int w = QString::fromLocal8Bit(argv[3]).toInt(&okW);
    const int h = QString::fromLocal8Bit(argv[4]).toInt(&okH);
    if (!okW || !okH || w <= 0 || h <= 0 || w > 4096 || h > 4096) {
        std::fprintf(stderr, "svg_to_png: bad size %s x %s\n", argv[3], argv[4]);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "svg_to_png: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    svg.render(&p, QRectF(0, 0, w, h));
    p.end();
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || !img.save(&out, "PNG") || !out.commit()) {
        std::fprintf(stderr, "svg_to_png: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
