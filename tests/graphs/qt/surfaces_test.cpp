// The Qt surfaces: the retained image, painting details, fonts, resources.
#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "support/qt/bundle_image.h"
#include "support/qt/fonts.h"
#include "graphs/qt/image_canvas.h"
#include "graphs/qt/painter_canvas.h"
#include "support/qt/resource_dir.h"

using namespace ks;

namespace {

class Surfaces : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "surfaces_test";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    // Gone before the static destructors run: Qt's own are ordered after it.
    static void TearDownTestSuite() { app_.reset(); }
    static inline std::unique_ptr<QGuiApplication> app_;
};

const Rgb kRed{1, 0, 0};
const QColor kWhite(Qt::white);

bool Inked(const QImage& img, int x, int y) { return img.pixelColor(x, y) != kWhite; }

TEST_F(Surfaces, ImageFollowsTheDevicePixelRatio)
{
    ImageCanvas c(ImagesDir());
    EXPECT_EQ(c.image().size(), QSize(540, 380));
    c.setDevicePixelRatio(2.0);
    EXPECT_EQ(c.image().size(), QSize(1080, 760));
    EXPECT_EQ(c.image().devicePixelRatio(), 2.0);
    // Points, not pixels: a line at y 10.5 lands on pixel rows 20 and 21,
    // with flat caps; erasing clears it.
    c.line(0, 10.5f, 100, 10.5f, kRed, 1.0f, 0);
    for (const auto& [x, y, inked] : {std::tuple{50, 20, true}, {50, 21, true}, {50, 23, false}, {201, 20, false}})
        EXPECT_EQ(Inked(c.image(), x, y), inked) << x << " " << y;
    c.erase(0, 0, 540, 380);
    EXPECT_FALSE(Inked(c.image(), 50, 20));
}

TEST_F(Surfaces, ChangedOncePerLonePrimitiveAndOncePerBatch)
{
    ImageCanvas c(ImagesDir());
    int changes = 0;
    c.setChangedCallback([&] { ++changes; });
    c.line(0, 0, 10, 10, kRed, 1, 0);
    c.fillRect(0, 0, 5, 5, kRed);
    EXPECT_EQ(changes, 2);
    c.beginBatch();
    c.erase(0, 0, 540, 380);
    c.beginBatch();  // a page inside a redraw: still one batch
    c.line(0, 0, 10, 10, kRed, 1, 0);
    c.endBatch();
    c.text(10, 20, 1, 13, kRed, "x");
    EXPECT_EQ(changes, 2);
    c.endBatch();
    EXPECT_EQ(changes, 3);
    c.endBatch();  // unbalanced: ignored
    EXPECT_EQ(changes, 3);
}

TEST_F(Surfaces, DashPatternsAreInPointsWhateverTheWidth)
{
    ImageCanvas c(ImagesDir());
    c.line(0, 10.5f, 40, 10.5f, kRed, 2.0f, 1);  // 1 on, 3 off
    c.line(0, 30.5f, 40, 30.5f, kRed, 1.0f, 2);  // 1 on, 1 off
    for (int x = 0; x < 36; ++x) {
        EXPECT_EQ(Inked(c.image(), x, 10), x % 4 == 0) << "dotted, x " << x;
        EXPECT_EQ(Inked(c.image(), x, 30), x % 2 == 0) << "fine dotted, x " << x;
    }
}

TEST_F(Surfaces, TextIsUprightOnItsBaseline)
{
    ImageCanvas c(ImagesDir());
    c.text(10, 50, 1, 20, Rgb{0, 0, 0}, "T");
    const QImage& img = c.image();
    int above = 0, below = 0;
    for (int y = 20; y < 70; ++y)
        for (int x = 5; x < 40; ++x)
            if (Inked(img, x, y)) (y <= 50 ? above : below)++;
    EXPECT_GT(above, 20);
    EXPECT_EQ(below, 0);
}

TEST_F(Surfaces, RectanglesFillAndFrameAnyOrderOfCorners)
{
    ImageCanvas c(ImagesDir());
    c.fillRect(30, 30, 10, 10, Rgb{0, 0, 1});
    c.frameRect(100.5f, 100.5f, 60.5f, 120.5f, kRed, 1.0f);
    EXPECT_EQ(c.image().pixelColor(20, 20), QColor(Qt::blue));
    EXPECT_EQ(c.image().pixelColor(80, 100), QColor(Qt::red));
    EXPECT_FALSE(Inked(c.image(), 80, 110));
}

TEST_F(Surfaces, ImagesDrawScaledAndMissingOnesDrawNothing)
{
    ImageCanvas c(ImagesDir());
    c.image("Images", "NoSuchImage.png", 0, 0, 100, 100);
    c.image("Images", "../Images/ClosedImage.png", 0, 0, 100, 100);
    for (int y = 0; y < 100; y += 5)
        for (int x = 0; x < 100; x += 5) ASSERT_FALSE(Inked(c.image(), x, y));
    c.image("Images", "ClosedImage.png", 83, 45, 279, 162);
    int inked = 0;
    for (int y = 83; y < 279; ++y) inked += Inked(c.image(), 52, y);  // the back wall
    EXPECT_GT(inked, 150);
    EXPECT_FALSE(Inked(c.image(), 40, 150));  // nothing outside the rectangle
}

TEST_F(Surfaces, BundleImagesLoadAtTwiceTheirSize)
{
    EXPECT_EQ(CreateCGImageFromBundleResource("ClosedImage.png", "Images").size(), QSize(234, 392));
    EXPECT_EQ(CreateCGImageFromBundleResource("InfiniteImage.png", "Images").size(), QSize(98, 392));
    EXPECT_EQ(CreateCGImageFromBundleResource("SpSelArrow.png", "Images").size(), QSize(44, 30));
    EXPECT_TRUE(CreateCGImageFromBundleResource("Missing.png", "Images").isNull());
    EXPECT_TRUE(CreateCGImageFromBundleResource("ClosedImage.png", "..").isNull());
    EXPECT_TRUE(CreateCGImageFromBundleResource("", "Images").isNull());
    QTemporaryDir tmp;
    QFile f(tmp.filePath("Broken.png"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("not an image at all") > 0);
    f.close();
    EXPECT_TRUE(LoadResourceImage(tmp.path(), "Broken.png", "Images").isNull());
}

TEST_F(Surfaces, FontsKeepTheirRoles)
{
    for (int n = 1; n <= 8; ++n) {
        const QFont f = KestrovaFont(n, 13);
        EXPECT_EQ(f.pixelSize(), 13) << n;
        const QFontInfo info(f);
        EXPECT_EQ(info.fixedPitch(), n == 2 || n == 3) << n << " " << info.family().toStdString();
        EXPECT_EQ(f.bold(), n == 4 || n == 6 || n == 8) << n;
    }
    EXPECT_EQ(KestrovaFont(99, 12).family(), KestrovaFont(1, 12).family());
    EXPECT_GT(KestrovaFont(1, 0).pixelSize(), 0);
    FontCache cache;
    const QFont& a = cache.font(2, 15);
    EXPECT_EQ(&a, &cache.font(2, 15));
    EXPECT_EQ(cache.font(2, 9).pixelSize(), 9);
}

TEST_F(Surfaces, PainterCanvasFollowsThePaintersTransform)
{
    QImage img(200, 200, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(2, 2);
    PainterCanvas c(p, ImagesDir());
    c.line(0, 10.5f, 50, 10.5f, kRed, 1, 0);
    p.end();
    EXPECT_EQ(img.pixelColor(60, 21), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(110, 21), kWhite);
}

}  // namespace
