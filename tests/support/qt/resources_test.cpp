// Where a program finds its resources and documents, and what it says when
// one is not there.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include "support/qt/bundle_image.h"
#include "support/qt/resource_dir.h"

using namespace ks;

namespace {

QStringList g_said;

void Keep(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    g_said << QString::fromLatin1(context.category) + QStringLiteral(": ") + message;
}

// The test program sits one folder below the build, as the programs do in
// build/bin: from there the installed layout's relative folders are the
// build tree's.
TEST(Resources, FoundWhereTheBuildLaysThemOut)
{
    ASSERT_EQ(QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).canonicalPath(),
              QDir(QStringLiteral(KESTROVA_BUILD_DATA_DIR "/../..")).canonicalPath());
    EXPECT_EQ(DataDir(), QDir::cleanPath(QStringLiteral(KESTROVA_BUILD_DATA_DIR)));
    EXPECT_EQ(ImagesDir(), DataDir() + QStringLiteral("/Images"));
    EXPECT_EQ(UserGuidePath(), QDir::cleanPath(QStringLiteral(KESTROVA_BUILD_DOC_DIR "/user-guide.html")));
}

// A missing or unreadable image is named once, however often it is drawn;
// a name that would leave the folder is refused without a word, and an
// image that is there loads silently.
TEST(Resources, WhatIsMissingIsNamedOnce)
{
    QTemporaryDir dir;
    const QString images = dir.filePath(QStringLiteral("Images"));
    ASSERT_TRUE(QDir().mkpath(images));
    QFile broken(images + QStringLiteral("/Broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("not a picture") > 0);
    broken.close();
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::red);
    ASSERT_TRUE(dot.save(images + QStringLiteral("/Dot.png")));

    g_said.clear();
    qInstallMessageHandler(Keep);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(LoadResourceImage(images, "Gone.png", "Images").isNull());
        EXPECT_TRUE(LoadResourceImage(images, "Broken.png", "Images").isNull());
        EXPECT_TRUE(LoadResourceImage(images, "../Images/Gone.png", "Images").isNull());
        EXPECT_EQ(LoadResourceImage(images, "Dot.png", "Images").size(), QSize(2, 2));
    }
    const bool again = ReportMissingResource(images + QStringLiteral("/Gone.png"));
    qInstallMessageHandler(nullptr);
    EXPECT_FALSE(again);
    EXPECT_EQ(
        g_said,
        QStringList({QStringLiteral("kestrova: missing resource %1/Gone.png; going on without it").arg(images),
                     QStringLiteral("kestrova: unreadable resource %1/Broken.png; going on without it").arg(images)}));
}

}  // namespace
