// What a program says when one of its resources is not there.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "common/files.h"
#include "support/qt/bundle_image.h"
#include "support/qt/resource_dir.h"

using namespace ks;

namespace {

QStringList g_said;

void Keep(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    g_said << QString::fromLatin1(context.category) + QStringLiteral(": ") + message;
}

// A missing or unreadable image is named once, however often drawn; a name that is not one plain path component,
// or would leave the resource folders, is refused without a word; an image that is there loads silently.
TEST(Resources, WhatIsMissingIsNamedOnce)
{
    QTemporaryDir dir;
    const QString images = dir.filePath(QStringLiteral("Images"));
    ASSERT_TRUE(QDir().mkpath(images));
    ASSERT_TRUE(kt::WriteBytes(images + QStringLiteral("/Broken.png"), "not a picture"));
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
    for (const auto& [name, folder] : {std::pair{"../secret.aif", "Images"},
                                       {"secret.aif", ".."},
                                       {"", "Images"},
                                       {"Images", "."},
                                       {"a/b.png", "Images"}})
        EXPECT_EQ(ResourcePath(images, name, folder).toStdString(), "") << name << " in " << folder;
    const bool again = ReportMissingResource(images + QStringLiteral("/Gone.png"));
    qInstallMessageHandler(nullptr);
    EXPECT_FALSE(again);
    EXPECT_EQ(
        g_said,
        QStringList({QStringLiteral("kestrova: missing resource %1/Gone.png; going on without it").arg(images),
                     QStringLiteral("kestrova: unreadable resource %1/Broken.png; going on without it").arg(images)}));
}

}  // namespace
