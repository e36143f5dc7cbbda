// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt surface: the retained image and the painting details no display list shows.
#include <gtest/gtest.h>

#include "graphs/qt/image_canvas.h"
#include "support/qt/fonts.h"
#include "support/qt/resource_dir.h"

using namespace ks;

namespace {

const Rgb kRed{1, 0, 0};

bool Inked(const QImage& img, int x, int y) { return img.pixelColor(x, y) != QColor(Qt::white); }

// Points, not pixels: at twice the density a line at y 10.5 lands on pixel rows 20 and 21, with flat caps. The
// image tells it changed once per lone primitive and once per batch.
TEST(Surfaces, ImageFollowsThePixelRatioAndTellsWhenChanged)
{
    ImageCanvas c(ImagesDir());
    c.setDevicePixelRatio(2.0);
    EXPECT_EQ(c.image().size(), QSize(1080, 760));
    EXPECT_EQ(c.image().devicePixelRatio(), 2.0);
    c.line(0, 10.5f, 100, 10.5f, kRed, 1.0f, 0);
    for (const auto& [x, y, inked] : {std::tuple{50, 20, true}, {50, 21, true}, {50, 23, false}, {201, 20, false}})
        EXPECT_EQ(Inked(c.image(), x, y), inked) << x << " " << y;
    c.erase(0, 0, 540, 380);
    EXPECT_FALSE(Inked(c.image(), 50, 20));
    int changes = 0;
    c.setChangedCallback([&] { ++changes; });
    c.fillRect(0, 0, 5, 5, kRed);
    EXPECT_EQ(changes, 1);
    c.beginBatch();
    c.erase(0, 0, 540, 380);
    c.beginBatch();  // a page inside a redraw: still one batch
    c.line(0, 0, 10, 10, kRed, 1, 0);
    c.endBatch();
    c.text(10, 20, 1, 13, kRed, "x");
    EXPECT_EQ(changes, 1);
    c.endBatch();
    EXPECT_EQ(changes, 2);
    c.endBatch();  // unbalanced: ignored
    EXPECT_EQ(changes, 2);
}

// Dashes are in points whatever the width; text stands upright on its baseline; rectangles fill and frame with
// their corners in any order; an image missing or outside its folder draws nothing.
TEST(Surfaces, DashesTextAndRectangles)
{
    ImageCanvas lines(ImagesDir()), text(ImagesDir()), rects(ImagesDir());
    lines.line(0, 10.5f, 40, 10.5f, kRed, 2.0f, 1);  // 1 on, 3 off
    lines.line(0, 30.5f, 40, 30.5f, kRed, 1.0f, 2);  // 1 on, 1 off
    for (int x = 0; x < 36; ++x) {
        EXPECT_EQ(Inked(lines.image(), x, 10), x % 4 == 0) << "dotted, x " << x;
        EXPECT_EQ(Inked(lines.image(), x, 30), x % 2 == 0) << "fine dotted, x " << x;
    }
    text.text(10, 50, 1, 20, Rgb{0, 0, 0}, "T");
    int above = 0, below = 0;
    for (int y = 20; y < 70; ++y)
        for (int x = 5; x < 40; ++x)
            if (Inked(text.image(), x, y)) (y <= 50 ? above : below)++;
    EXPECT_GT(above, 20);
    EXPECT_EQ(below, 0);
    EXPECT_EQ(std::pair(KestrovaFont(8, 13).bold(), KestrovaFont(1, 13).bold()), std::pair(true, false));  // 8: unused
    rects.fillRect(30, 30, 10, 10, Rgb{0, 0, 1});
    rects.frameRect(100.5f, 100.5f, 60.5f, 120.5f, kRed, 1.0f);
    EXPECT_EQ(rects.image().pixelColor(20, 20), QColor(Qt::blue));
    EXPECT_EQ(rects.image().pixelColor(80, 100), QColor(Qt::red));
    EXPECT_FALSE(Inked(rects.image(), 80, 110));
    rects.image("Images", "NoSuchImage.png", 200, 200, 300, 300);
    rects.image("Images", "../Images/ClosedImage.png", 200, 200, 300, 300);
    EXPECT_FALSE(Inked(rects.image(), 250, 250));
}

}  // namespace
