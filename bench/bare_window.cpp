// SPDX-License-Identifier: GPL-3.0-or-later
// The floor the start benchmark measures Kestrova against: a bare Qt Widgets
// program with one 540 x 560 window, a menu bar and a painted 540 x 380
// image, nothing else.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    for (const char* title : {"File", "Edit", "View", "Help"}) window.menuBar()->addMenu(QString::fromLatin1(title));
    QImage image(540, 380, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setPen(QPen(QColor(255, 140, 0), 2));
        for (int i = 0; i < 20; ++i) p.drawLine(40, 40 + i * 15, 500, 340 - i * 15);
        p.drawText(20, 20, QStringLiteral("Amplitude"));
    }
    auto* content = new QWidget;
    content->setFixedSize(540, 560);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel;
    picture->setPixmap(QPixmap::fromImage(image));
    column->addWidget(picture);
    column->addStretch();
    window.setCentralWidget(content);
    window.show();
    return app.exec();
}
