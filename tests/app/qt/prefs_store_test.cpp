#include "app/qt/prefs_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "app/prefs_rect.h"
#include "context/prefs.h"

namespace ks {
namespace {

// Every field as one text, so a failing comparison shows which differs.
std::string Fields(const Prefs& p)
{
    std::string s = RectToText(p.Bounds).str() + " |" + RectToText(p.PrefeBounds).str() + " |";
    for (std::int32_t v : {p.BoundsCheck, p.SnapRegionCheck, p.SnapSoundCheck, p.CopySoundCheck, p.PrintDateCheck,
                           p.UpdateForCheck, p.ImpVertScale})
        s.append(" ").append(std::to_string(v));
    return s;
}

// Every value other than its start value.
const Prefs kChanged{{44, 120, 604, 660}, {-30, -400, 345, -70}, 0, 1, 0, 0, 0, 0, 2};

class PrefsStoreTest : public ::testing::Test {
protected:
    QString Path(const char* name = "Kestrova.conf") const { return dir_.filePath(QString::fromLatin1(name)); }
    QByteArray ReadFile(const char* name = "Kestrova.conf") const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void WriteFile(const QByteArray& bytes, const char* name = "Kestrova.conf") const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    }
    QTemporaryDir dir_;
};

// What a file gives, read over the start values: nothing, a damaged file,
// values of the wrong form or out of range, and the extremes. The next save
// replaces every value, rectangles as their text (quoted for the leading
// blank), integers plain. The file is reached through a link, as dotfiles
// kept elsewhere are, and the link stays one. A typed store gives only
// integers in range.
TEST_F(PrefsStoreTest, ValuesReadAndWritten)
{
    const char head[] = "\x00\x01[[[\n=\n\xff\xfe]]]\n[General\nBoundsCheck\n\"unclosed=\n";
    QByteArray junk(head, sizeof head - 1);
    for (int i = 0; i < 4096; ++i) junk.append(char((i * 7919 + 13) % 256 == '=' ? 'x' : (i * 7919 + 13) % 256));
    const std::string start = Fields(kChanged);  // what the file does not give stays
    const std::pair<QByteArray, std::string> cases[] = {
        {"", start},
        {junk, start},
        {"[General]\nBounds=1, 2, 3, 4\nPrefeBounds=@ByteArray(abc)\nBoundsCheck=abc\nSnapRegionCheck=1.5\n"
         "SnapSoundCheck=4294967296\nCopySoundCheck=-2147483649\nPrintDateCheck=\nUpdateForCheck=12abc\n"
         "ImpVertScale=2 3\n",
         start},
        {"[General]\nBoundsCheck=-2147483648\nSnapRegionCheck=2147483647\nSnapSoundCheck=\" 7 \"\nImpVertScale=+1\n"
         "Bounds=\" 5\"\nPrefeBounds=\"40000, -40000, x, 12\"\n",
         " 5, 0, 0, 0 | 32767,-32768, 0, 12 | -2147483648 2147483647 7 0 0 0 1"},
    };
    ASSERT_TRUE(QFile::link(Path("real.conf"), Path()));
    for (const auto& [bytes, want] : cases) {
        SCOPED_TRACE(bytes.left(40).toStdString());
        WriteFile(bytes, "real.conf");
        Prefs p = kChanged;
        {
            PrefsStore store(Path());
            EXPECT_EQ(store.settings().fileName(), Path());  // the link, not where it leads
            store.LoadPrefs(p);
            EXPECT_EQ(Fields(p), want);
            store.SavePrefs(Prefs{});
        }
        PrefsStore(Path()).LoadPrefs(p = kChanged);
        EXPECT_EQ(Fields(p), Fields(Prefs{}));
        EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    }
    // As bytes: QSettings answers from its cache while size and time look unchanged.
    EXPECT_EQ(ReadFile(), "[General]\nBounds=\" 0, 0, 560, 540\"\nBoundsCheck=1\nCopySoundCheck=1\nImpVertScale=1\n"
                          "PrefeBounds=\" 0, 0, 255, 330\"\nPrintDateCheck=1\nSnapRegionCheck=0\nSnapSoundCheck=1\n"
                          "UpdateForCheck=1\n");

    QSettings typed(Path("typed.conf"), QSettings::NativeFormat);
    const std::pair<const char*, QVariant> values[] = {
        {"Bounds", 5}, {"BoundsCheck", qlonglong{1} << 40}, {"SnapRegionCheck", qlonglong{-12}},
        {"SnapSoundCheck", QStringList{"0"}}, {"CopySoundCheck", 0.0}, {"PrintDateCheck", false},
        {"UpdateForCheck", qulonglong{0xFFFFFFFFu}}, {"ImpVertScale", qulonglong{3}}};
    for (const auto& [key, value] : values) typed.setValue(key, value);
    Prefs p;
    PrefsStore(&typed).LoadPrefs(p);
    EXPECT_EQ(Fields(p), " 0, 0, 560, 540 | 0, 0, 255, 330 | 1 -12 1 1 1 1 3");
}

// A path that is there but is no regular file after following links (a
// folder, a FIFO that would block the start, a device a root run would
// replace), or one below a plain file that no user, root included, can
// create: neither read nor written, and one line on standard error says why.
TEST_F(PrefsStoreTest, PathsItCannotUseAreLeftAsTheyAre)
{
    WriteFile("not a folder", "blocker");
    const std::pair<const char*, std::function<bool(const QString&)>> cases[] = {  // false: cannot be made here
        {"folder", [](const QString& p) { return QDir().mkdir(p); }},
        {"fifo", [](const QString& p) { return ::mkfifo(QFile::encodeName(p), 0600) == 0; }},
        {"device_link", [](const QString& p) {  // the null device's numbers
             return ::mknod(qPrintable(p + ".dev"), S_IFCHR | 0600, makedev(1, 3)) == 0 && QFile::link(p + ".dev", p);
         }},
        {"blocker/sub", [](const QString&) { return true; }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        const QString path = dir_.filePath(QString::fromLatin1(name) + QStringLiteral(".conf"));
        if (!make(path)) {
            std::printf("[  SKIPPED ] %s: cannot be made here (%s)\n", name, std::strerror(errno));
            continue;
        }
        const QFileInfo before(path);
        testing::internal::CaptureStderr();
        {
            PrefsStore store(path);
            EXPECT_EQ(store.usable(), !before.exists());
            Prefs p;
            store.LoadPrefs(p);
            EXPECT_EQ(Fields(p), Fields(Prefs{}));
            store.SavePrefs(kChanged);
            EXPECT_FALSE(store.AppSynchronize());
        }
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        const bool below = std::string(name) == "blocker/sub";
        EXPECT_NE(err.find(below ? std::strerror(ENOTDIR) : "not a regular file"), std::string::npos) << err;
        const QFileInfo after(path);
        EXPECT_TRUE(after.exists() == before.exists() && after.isSymLink() == before.isSymLink());
        EXPECT_FALSE(after.isFile() || QFileInfo(after.symLinkTarget()).isFile());
    }
    EXPECT_EQ(ReadFile("blocker"), QByteArray("not a folder"));
}

}  // namespace
}  // namespace ks
