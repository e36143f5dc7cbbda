// The one save helper against real files: what it refuses to replace, what
// it writes through, what it keeps of the file it replaces, and a full disk.
#include "support/qt/save_file.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "common/full_disk.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

class SaveFile : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    const fs::path dir = tmp.path().toStdString();

    fs::path Make(const std::string& name, const std::string& bytes, mode_t mode = 0644) const
    {
        const fs::path p = dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        ::chmod(p.c_str(), mode);
        return p;
    }
};

// Whatever is not a regular file, or is reached through a link to one, is
// refused with a reason naming it, and stays what it was.
TEST_F(SaveFile, RefusesWhatIsNotARegularFileAndLeavesItAlone)
{
    const fs::path fifo = dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path folder = dir / "folder";
    fs::create_directory(folder);
    const fs::path socket = dir / "sock";
    const int sd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socket.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(sd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0) << socket;
    // A device of the test's own (never the system's: a faulty save would
    // replace it), as root can make one.
    const fs::path device = dir / "null";
    const bool haveDevice = ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink(device, dir / "device-link");
    fs::create_symlink(fifo, dir / "pipe-link");
    const std::tuple<fs::path, const char*, bool> cases[] = {
        {fifo, "it is a named pipe (FIFO)", false}, {folder, "it is a folder", false},
        {socket, "it is a socket", false},          {dir / "pipe-link", "it leads to a named pipe (FIFO)", false},
        {device, "it is a device", true},           {dir / "device-link", "it leads to a device", true},
    };
    for (const auto& [path, why, isDevice] : cases) {
        if (isDevice && !haveDevice) continue;
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0) << path;
        const QString refused = ks::SaveFileBytes(Q(path), "replaced");
        EXPECT_TRUE(refused.startsWith(QLatin1String(why)) && refused.contains("not a regular file"))
            << path << ": " << refused.toStdString();
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0) << path;
        EXPECT_EQ(std::pair(after.st_mode, after.st_ino), std::pair(before.st_mode, before.st_ino)) << path;
    }
    ::close(sd);
    EXPECT_TRUE(fs::is_symlink(dir / "device-link"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 0);
    if (!haveDevice) GTEST_SKIP() << "the device cases: mknod is not allowed here";
}

// A link to a regular file is written through and stays a link; a file with
// a second name is refused (a new file would part the names), both names
// keeping the old bytes; the mode, set-id bits and all, is kept.
TEST_F(SaveFile, WritesThroughALinkKeepsTheModeAndNeverPartsHardLinks)
{
    const fs::path target = Make("target.csv", "old", 0640);
    fs::create_symlink(target, dir / "link.csv");
    ASSERT_EQ(ks::SaveFileBytes(Q(dir / "link.csv"), "new"), QString());
    EXPECT_TRUE(fs::is_symlink(dir / "link.csv"));
    EXPECT_EQ(Slurp(target), "new");

    for (const mode_t mode : {0600, 0640, 0664, 02755}) {
        const fs::path p = Make("mode", "old", mode);
        ::chmod(p.c_str(), mode);  // beyond the umask's reach
        ASSERT_EQ(ks::SaveFileBytes(Q(p), "new"), QString());
        struct stat st {};
        ASSERT_EQ(::stat(p.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(Slurp(p), "new");
    }

    const fs::path one = Make("one.csv", "old");
    fs::create_hard_link(one, dir / "two.csv");
    const QString refused = ks::SaveFileBytes(Q(one), "new");
    EXPECT_TRUE(refused.contains("2 names (hard links)")) << refused.toStdString();
    EXPECT_EQ(Slurp(one) + Slurp(dir / "two.csv"), "oldold");
    EXPECT_EQ(fs::hard_link_count(one), 2u);
    // Nothing of the refused or the finished saves is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 5);
}

// A full disk: the system's reason, the old file as it was, no temporary
// file left.
TEST_F(SaveFile, FullDiskSaysWhyAndKeepsTheOldFile)
{
    const fs::path full = dir / "full";
    const std::string why = kt::MountFullFilesystem(full, "drivers.csv", "old export\n");
    if (!why.empty()) GTEST_SKIP() << why;
    const QString failed = ks::SaveFileBytes(Q(full / "drivers.csv"), QByteArray(200000, 'x'));
    EXPECT_EQ(failed, QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_EQ(Slurp(full / "drivers.csv"), "old export\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(full), fs::directory_iterator()), 2);
    ::umount2(full.c_str(), MNT_DETACH);
}

}  // namespace
