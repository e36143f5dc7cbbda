// SPDX-License-Identifier: GPL-3.0-or-later
// The one save helper against real files: what it refuses to replace, writes through and keeps of the file it
// replaces; and what a program says when one of its resources is not there.
#include "support/qt/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "common/files.h"
#include "support/qt/bundle_image.h"
#include "support/qt/resource_dir.h"

namespace fs = std::filesystem;
using namespace ks;

namespace {

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

// A pipe, a folder, a device (our own: a faulty save would replace the system's) or a link to one is refused and
// stays; a link to a file is written through, a second name refused, the mode with set-id bits kept.
TEST(SaveFile, ReplacesOnlyARegularFileAndKeepsItsModeAndNames)
{
    QTemporaryDir tmp;
    const fs::path dir = tmp.path().toStdString();
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_directory(dir / "folder");
    const bool device = ::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink(dir / (device ? "null" : "pipe"), dir / "link");
    for (const auto& [name, why] : {std::pair{"pipe", "it is a named pipe (FIFO), not a regular file"},
                                    {"folder", "it is a folder, not a regular file"},
                                    {"link", device ? "it leads to a device" : "it leads to a named pipe"}}) {
        const fs::file_status before = fs::status(dir / name);
        EXPECT_TRUE(SaveFileBytes(Q(dir / name), "new").startsWith(QLatin1String(why))) << name;
        EXPECT_EQ(fs::status(dir / name).type(), before.type()) << name;
    }
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    std::ofstream(dir / "target") << "old";
    ::chmod((dir / "target").c_str(), 02750);
    fs::create_symlink(dir / "target", dir / "to-target");
    ASSERT_EQ(SaveFileBytes(Q(dir / "to-target"), "new"), QString());
    struct stat st {};
    ASSERT_EQ(::stat((dir / "target").c_str(), &st), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "to-target"));
    EXPECT_EQ(kt::ReadBytes(Q(dir / "target")), "new");
    EXPECT_EQ(st.st_mode & 07777, 02750u);
    fs::create_hard_link(dir / "target", dir / "second");
    EXPECT_TRUE(SaveFileBytes(Q(dir / "target"), "newer").contains("2 names (hard links)"));
    EXPECT_EQ(kt::ReadBytes(Q(dir / "target")) + kt::ReadBytes(Q(dir / "second")), "newnew");
    EXPECT_EQ(fs::hard_link_count(dir / "target"), 2u);
    // Nothing of the refused or the finished saves is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), device ? 7 : 6);
}

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
    ASSERT_TRUE(QDir().mkpath(images) && kt::WriteBytes(images + QStringLiteral("/Broken.png"), "not a picture"));
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::red);
    ASSERT_TRUE(dot.save(images + QStringLiteral("/Dot.png")));
    g_said.clear();
    qInstallMessageHandler(Keep);
    for (int i = 0; i < 3; ++i) {
        for (const char* name : {"Gone.png", "Broken.png", "../Images/Gone.png"})
            EXPECT_TRUE(LoadResourceImage(images, name, "Images").isNull()) << name;
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
