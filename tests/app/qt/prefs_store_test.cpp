#include "app/qt/prefs_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
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

#include "context/prefs.h"

namespace ks {
namespace {

class PrefsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Path(const char* name = "Kestrova.conf") const { return dir_.filePath(QString::fromLatin1(name)); }

    void WriteFile(const QByteArray& bytes, const char* name = "Kestrova.conf") const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray ReadFile(const char* name = "Kestrova.conf") const
    {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static Prefs Changed()
    {
        Prefs p;
        p.Bounds = Rect16{44, 120, 604, 660};
        p.PrefeBounds = Rect16{-30, -400, 345, -70};
        p.BoundsCheck = 0;
        p.SnapRegionCheck = 1;
        p.SnapSoundCheck = 0;
        p.CopySoundCheck = 0;
        p.PrintDateCheck = 0;
        p.UpdateForCheck = 0;
        p.ImpVertScale = 2;
        return p;
    }

    QTemporaryDir dir_;
};

// Every field, so a failing comparison names the preference.
void ExpectSame(const Prefs& a, const Prefs& b)
{
    EXPECT_EQ(a.Bounds, b.Bounds);
    EXPECT_EQ(a.PrefeBounds, b.PrefeBounds);
    const std::int32_t Prefs::*ints[] = {&Prefs::BoundsCheck, &Prefs::SnapRegionCheck, &Prefs::SnapSoundCheck,
                                         &Prefs::CopySoundCheck, &Prefs::PrintDateCheck, &Prefs::UpdateForCheck,
                                         &Prefs::ImpVertScale};
    for (std::size_t i = 0; i < std::size(ints); ++i) EXPECT_EQ(a.*ints[i], b.*ints[i]) << i;
}

void ExpectStartValues(const Prefs& p) { ExpectSame(p, Prefs{}); }

TEST(PrefsStoreDefault, IsTheApplicationsOwnNativeStore)
{
    PrefsStore store;
    QSettings& s = store.settings();
    EXPECT_EQ(s.format(), QSettings::NativeFormat);
    EXPECT_FALSE(s.fallbacksEnabled());
    EXPECT_TRUE(s.fileName().endsWith(QStringLiteral("Tessaly/Kestrova.conf"))) << s.fileName().toStdString();
}

TEST_F(PrefsStoreTest, EmptyStoreKeepsStartValuesAndWritesNothing)
{
    QSettings s(Path(), QSettings::NativeFormat);
    PrefsStore store(&s);
    Prefs p;
    store.LoadPrefs(p);
    ExpectStartValues(p);
    Rect16 r{1, 2, 3, 4};
    EXPECT_FALSE(store.GetRect("Bounds", r, Rect16{9, 8, 7, 6}));
    EXPECT_EQ(r, (Rect16{9, 8, 7, 6}));
    s.sync();
    EXPECT_FALSE(QFileInfo::exists(Path()));
}

// Rectangles as their text (quoted for the leading blank), integers plain;
// saving again over a file replaces every value.
TEST_F(PrefsStoreTest, StoredFormsAndRoundTrip)
{
    {
        QSettings s(Path(), QSettings::NativeFormat);
        PrefsStore(&s).SavePrefs(Prefs{});
    }
    const QByteArray file = ReadFile();
    for (const char* line : {"Bounds=\" 0, 0, 560, 540\"\n", "PrefeBounds=\" 0, 0, 255, 330\"\n", "BoundsCheck=1\n",
                             "SnapRegionCheck=0\n", "SnapSoundCheck=1\n", "CopySoundCheck=1\n", "PrintDateCheck=1\n",
                             "UpdateForCheck=1\n", "ImpVertScale=1\n"})
        EXPECT_TRUE(file.contains(line)) << line << " in\n" << file.toStdString();

    QSettings s(Path(), QSettings::NativeFormat);
    PrefsStore store(&s);
    store.SavePrefs(Changed());
    EXPECT_TRUE(ReadFile().contains("PrefeBounds=\"-30,-400, 345,-70\"")) << ReadFile().toStdString();
    Prefs p;
    store.LoadPrefs(p);
    ExpectSame(p, Changed());
}

// What a file on disk gives, read over the start values; a damaged file is
// read as nothing and replaced by the next save.
TEST_F(PrefsStoreTest, ValuesReadFromTheFile)
{
    const char head[] = "\x00\x01[[[\n=\n\xff\xfe]]]\n[General\nBoundsCheck\n\"unclosed=\n";
    QByteArray junk(head, sizeof head - 1);
    for (int i = 0; i < 4096; ++i) junk.append(char((i * 7919 + 13) % 256 == '=' ? 'x' : (i * 7919 + 13) % 256));
    Prefs start = Changed();  // what the file does not give stays
    start.ImpVertScale = 1;
    Prefs limits = start;
    limits.BoundsCheck = INT32_MIN;
    limits.SnapRegionCheck = INT32_MAX;
    limits.SnapSoundCheck = 7;
    limits.ImpVertScale = 2;
    limits.Bounds = Rect16{5, 0, 0, 0};  // one number: the rest read 0
    limits.PrefeBounds = Rect16{32767, -32768, 0, 12};
    Prefs some = start;
    some.ImpVertScale = 2;
    some.Bounds = Rect16{10, 20, 30, 40};
    const std::pair<QByteArray, Prefs> cases[] = {
        {junk, start},
        {"[General]\nImpVertScale=2\nBounds=\" 10, 20, 30, 40\"\n", some},
        {"[General]\nBounds=1, 2, 3, 4\nPrefeBounds=@ByteArray(abc)\nBoundsCheck=abc\nSnapRegionCheck=1.5\n"
         "SnapSoundCheck=4294967296\nCopySoundCheck=-2147483649\nPrintDateCheck=\nUpdateForCheck=12abc\n"
         "ImpVertScale=2 3\n",
         start},
        {"[General]\nBoundsCheck=-2147483648\nSnapRegionCheck=2147483647\nSnapSoundCheck=\" 7 \"\nImpVertScale=+2\n"
         "Bounds=\" 5\"\nPrefeBounds=\"40000, -40000, x, 12\"\n",
         limits},
    };
    for (const auto& [bytes, want] : cases) {
        SCOPED_TRACE(bytes.left(40).toStdString());
        WriteFile(bytes);
        QSettings s(Path(), QSettings::NativeFormat);
        PrefsStore store(&s);
        Prefs p = start;
        store.LoadPrefs(p);
        ExpectSame(p, want);
        store.SavePrefs(Changed());
        s.sync();
        QSettings back(Path(), QSettings::NativeFormat);
        PrefsStore(&back).LoadPrefs(p);
        ExpectSame(p, Changed());
    }
}

TEST_F(PrefsStoreTest, WrongTypesHandedOverTypedKeepStartValues)
{
    // A typed store keeps integers, texts and lists apart.
    QSettings s(Path(), QSettings::NativeFormat);
    s.setValue("Bounds", 5);
    s.setValue("PrefeBounds", QStringList{QStringLiteral(" 1"), QStringLiteral(" 2")});
    s.setValue("BoundsCheck", QStringLiteral("abc"));
    s.setValue("SnapRegionCheck", qlonglong{1} << 40);
    s.setValue("SnapSoundCheck", QStringList{QStringLiteral("0")});
    s.setValue("CopySoundCheck", 0.0);
    s.setValue("PrintDateCheck", false);
    s.setValue("UpdateForCheck", qulonglong{0xFFFFFFFFu});
    s.setValue("ImpVertScale", QByteArray("2"));
    PrefsStore store(&s);
    Prefs p;
    store.LoadPrefs(p);
    ExpectStartValues(p);

    // The right types are taken.
    s.setValue("SnapRegionCheck", qlonglong{-12});
    s.setValue("UpdateForCheck", qulonglong{3});
    s.setValue("Bounds", QStringLiteral(" 1, 2, 3, 4"));
    store.LoadPrefs(p);
    EXPECT_EQ(p.SnapRegionCheck, -12);
    EXPECT_EQ(p.UpdateForCheck, 3);
    EXPECT_EQ(p.Bounds, (Rect16{1, 2, 3, 4}));
}

TEST_F(PrefsStoreTest, TextsAreMacRomanAndBounded)
{
    QSettings s(Path(), QSettings::NativeFormat);
    PrefsStore store(&s);
    store.SetPString("Name", "Caf\x8E \xA5");  // "Café •" in Mac Roman
    EXPECT_EQ(s.value("Name").toString(), QStringLiteral("Caf\u00E9 \u2022"));
    PStr t;
    EXPECT_TRUE(store.GetPString("Name", t, "none"));
    EXPECT_EQ(t, "Caf\x8E \xA5");

    // A text from outside with characters Mac Roman lacks, and a long one.
    s.setValue("Foreign", QStringLiteral("a\u4E2Db"));
    EXPECT_TRUE(store.GetPString("Foreign", t, "none"));
    EXPECT_EQ(t, "a?b");
    s.setValue("Long", QString(1000, QLatin1Char('z')));
    EXPECT_TRUE(store.GetPString("Long", t, "none"));
    EXPECT_EQ(t.size(), 255u);
    EXPECT_EQ(t.str(), std::string(255, 'z'));
    for (const char* key : {"Missing", "Number"}) {
        s.setValue("Number", 12);
        EXPECT_FALSE(store.GetPString(key, t, "none"));
        EXPECT_EQ(t, "none");
    }

    // Keys are Mac Roman too.
    store.SetLong("K\x8Ey", 9);
    EXPECT_EQ(s.value(QStringLiteral("K\u00E9y")).toInt(), 9);
}

// A path that is there but is no regular file after following links (a
// folder, a FIFO that would block the start, a device a root run would
// replace) is neither read nor written, and says so on standard error.
TEST_F(PrefsStoreTest, NonRegularFilesAreNeitherReadNorReplaced)
{
    struct Case {
        const char* name;
        std::function<bool(const QString&)> make;  // false: cannot be made here
        bool (QFileInfo::*stillIs)() const;
    };
    const Case cases[] = {
        {"folder", [](const QString& p) { return QDir().mkdir(p); }, &QFileInfo::isDir},
        {"fifo", [](const QString& p) { return ::mkfifo(QFile::encodeName(p), 0600) == 0; }, &QFileInfo::exists},
        {"link to a device",
         [](const QString& p) {
             const QString dev = p + QStringLiteral(".dev");
             return ::mknod(QFile::encodeName(dev), S_IFCHR | 0600, makedev(1, 3)) == 0 && QFile::link(dev, p);
         },
         &QFileInfo::exists},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir_.filePath(QString::fromLatin1(c.name).replace(' ', '_') + ".conf");
        if (!c.make(path)) {
            std::printf("[  SKIPPED ] %s: cannot be made here (%s)\n", c.name, std::strerror(errno));
            continue;
        }
        const QFileInfo before(path);
        testing::internal::CaptureStderr();
        {
            PrefsStore store(path);
            Prefs p;
            store.LoadPrefs(p);
            ExpectStartValues(p);
            EXPECT_FALSE(store.usable());
            store.SavePrefs(Changed());
            EXPECT_FALSE(store.AppSynchronize());
        }
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
        const QFileInfo after(path);
        EXPECT_TRUE((after.*c.stillIs)());
        EXPECT_FALSE(after.isFile());
        EXPECT_EQ(after.isSymLink(), before.isSymLink());
        if (before.isSymLink()) EXPECT_FALSE(QFileInfo(after.symLinkTarget()).isFile());
    }
}

// Dotfiles kept elsewhere: the store is read and written through the link,
// which stays a link.
TEST_F(PrefsStoreTest, LinkToARegularFileIsReadAndWrittenThrough)
{
    {
        QSettings s(Path("real.conf"), QSettings::NativeFormat);
        PrefsStore store(&s);
        store.SavePrefs(Changed());
    }
    ASSERT_TRUE(QFile::link(Path("real.conf"), Path()));
    Prefs p;
    {
        PrefsStore store(Path());
        EXPECT_TRUE(store.usable());
        store.LoadPrefs(p);
        ExpectSame(p, Changed());
        p.ImpVertScale = 1;
        store.SavePrefs(p);
        EXPECT_TRUE(store.AppSynchronize());
    }
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    // Read as bytes: QSettings would answer from its cache of the file, which
    // it keeps while the size and the time stamp look unchanged.
    QFile real(Path("real.conf"));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    EXPECT_TRUE(real.readAll().contains("ImpVertScale=1\n"));
}

// A plain file where a folder of the path should be: no user, root
// included, can write there. The save fails, says why, and creates nothing.
TEST_F(PrefsStoreTest, StoreBelowAPlainFileCannotBeWritten)
{
    WriteFile("not a folder", "blocker");
    const QString path = Path("blocker") + QStringLiteral("/sub/Kestrova.conf");
    testing::internal::CaptureStderr();
    {
        PrefsStore store(path);
        store.SavePrefs(Changed());
        EXPECT_FALSE(store.AppSynchronize());
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(std::strerror(ENOTDIR)), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(ReadFile("blocker"), QByteArray("not a folder"));
}

}  // namespace
}  // namespace ks
