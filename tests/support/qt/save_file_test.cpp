// The one save helper against real files: what it refuses to replace, what
// it writes through, and what it keeps of the file it replaces.
#include "support/qt/save_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "common/files.h"

namespace fs = std::filesystem;

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
        EXPECT_TRUE(ks::SaveFileBytes(Q(dir / name), "new").startsWith(QLatin1String(why))) << name;
        EXPECT_EQ(fs::status(dir / name).type(), before.type()) << name;
    }
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    std::ofstream(dir / "target") << "old";
    ::chmod((dir / "target").c_str(), 02750);
    fs::create_symlink(dir / "target", dir / "to-target");
    ASSERT_EQ(ks::SaveFileBytes(Q(dir / "to-target"), "new"), QString());
    struct stat st {};
    ASSERT_EQ(::stat((dir / "target").c_str(), &st), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "to-target"));
    EXPECT_EQ(kt::ReadBytes(Q(dir / "target")), "new");
    EXPECT_EQ(st.st_mode & 07777, 02750u);
    fs::create_hard_link(dir / "target", dir / "second");
    EXPECT_TRUE(ks::SaveFileBytes(Q(dir / "target"), "newer").contains("2 names (hard links)"));
    EXPECT_EQ(kt::ReadBytes(Q(dir / "target")) + kt::ReadBytes(Q(dir / "second")), "newnew");
    EXPECT_EQ(fs::hard_link_count(dir / "target"), 2u);
    // Nothing of the refused or the finished saves is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), device ? 7 : 6);
}

}  // namespace
