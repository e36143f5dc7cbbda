// The small windows and the help tags under the offscreen platform: what
// they show, where they stand and what their buttons and keys call; the
// preferences store against temporary files: what it reads and writes, and
// the paths it must leave alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>

#include "app/prefs_rect.h"
#include "app/qt/default_window.h"
#include "app/qt/help_tags.h"
#include "app/qt/menus.h"
#include "app/qt/prefs_store.h"
#include "app/qt/prefs_window.h"
#include "context/kestrova.h"
#include "context/prefs.h"

namespace ks {
namespace {

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }

// The listing is read when painted, so a changed incoming driver shows.
// Quit leaves ending the process to the shell; OK and Return, wherever the
// focus is, close the window before they call the shell; the shell's own
// close calls nobody.
// Escape and the window manager's close are the shell suites'.
// Cone Excursion and Maximum SPL follow Step Response, as items 13 and 14 with
// keys of their own: no key chooses two items.
TEST(Menus, TheLimitViewsFollowStepResponseAndNoKeyIsShared)
{
    Menus m;
    QStringList shown, keys;
    for (QAction* a : m.menu(menu::kResponse)->actions()) shown << (a->isSeparator() ? "-" : a->text());
    for (int id : {menu::kFile, menu::kEdit, menu::kResponse, menu::kView, menu::kAlignment, menu::kMisc, menu::kWindow,
                   menu::kHelp})
        for (QAction* a : m.menu(id)->actions())
            if (!a->shortcut().isEmpty()) keys << a->shortcut().toString();
    EXPECT_EQ((shown.mid(5, 4) << m.item(menu::kResponse, 14)->shortcut().toString()).join('|').toStdString(),
              "Step Response|Cone Excursion|Maximum SPL|-|Ctrl+Alt+M");
    EXPECT_EQ(keys.removeDuplicates(), 0) << keys.join(' ').toStdString();
}

TEST(DefaultParamWindow, ListingButtonsAndKeys)
{
    Design d;
    DefaultParamWindow w(d);
    std::string got;
    QObject::connect(&w, &DefaultParamWindow::okChosen, [&] { got += w.isVisible() ? "ok-while-shown " : "ok "; });
    QObject::connect(&w, &DefaultParamWindow::quitChosen, [&] { got += "quit "; });
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QImage shown = w.grab().toImage();
    d.FS2 = 35.5f;
    EXPECT_NE(w.grab().toImage(), shown);
    Click(w.findChild<QPushButton*>("6"));
    EXPECT_TRUE(w.isVisible());
    Click(w.findChild<QPushButton*>("5"));
    w.show();
    QTest::keyClick(&w, Qt::Key_Return);
    w.show();
    w.findChild<QPushButton*>("6")->setFocus(Qt::TabFocusReason);  // as Tab leaves it
    QTest::keyClick(w.findChild<QPushButton*>("6"), Qt::Key_Return);
    w.show();
    w.CloseQuietly();
    EXPECT_EQ(got, "quit ok ok ok ");
    EXPECT_FALSE(w.isVisible());
}

// The controls show the preferences, and a click sets its own at once.
// Moved, the content's bounds inside the frame are stored, whatever the
// check box says, and the next opening puts them back.
TEST(PreferencesWindow, ControlsMovesAndClosing)
{
    // clang-format off
    const std::pair<const char*, std::int32_t Prefs::*> checks[] = {
        {"502", &Prefs::BoundsCheck},    {"507", &Prefs::SnapRegionCheck}, {"503", &Prefs::SnapSoundCheck},
        {"504", &Prefs::CopySoundCheck}, {"505", &Prefs::PrintDateCheck},  {"506", &Prefs::UpdateForCheck},
    };
    // clang-format on
    Kestrova k;
    for (std::size_t i = 0; i < std::size(checks); ++i) k.prefs.*checks[i].second = std::int32_t(i % 2);
    k.prefs.ImpVertScale = 2;
    PreferencesWindow w(k);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.move(40, 60);  // the position check box is off
    QCoreApplication::processEvents();
    const QRect g = w.geometry();
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(40, 60));
    EXPECT_EQ(k.prefs.PrefeBounds, (Rect16{std::int16_t(g.top()), std::int16_t(g.left()), std::int16_t(g.top() + 375),
                                           std::int16_t(g.left() + 330)}));
    EXPECT_EQ(w.scaleGroup()->checkedId(), 2);
    for (const auto& [id, value] : checks) {
        auto* c = w.findChild<QCheckBox*>(id);
        const std::int32_t before = k.prefs.*value;
        EXPECT_EQ(c->isChecked(), before == 1) << id;
        Click(c);
        EXPECT_EQ(k.prefs.*value, 1 - before) << id;
    }
    Click(w.findChild<QRadioButton*>("510-1"));
    EXPECT_EQ(k.prefs.ImpVertScale, 1);
    EXPECT_EQ(PreferencesWindow(k).geometry(), g);  // now on
    // Escape does nothing; OK, Return wherever the focus is and a close
    // request from outside close first, then call the shell; the shell's own
    // close is quiet.
    std::string calls;
    QObject::connect(&w, &PreferencesWindow::okChosen, [&] { calls += w.isVisible() ? "shown " : "hidden "; });
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    Click(w.findChild<QPushButton*>("508"));
    w.show();
    w.findChild<QCheckBox*>("505")->setFocus();
    QTest::keyClick(&w, Qt::Key_Return);
    w.show();
    w.close();
    w.show();
    w.CloseQuietly();
    EXPECT_EQ(calls, "hidden hidden hidden ");
    EXPECT_FALSE(w.isVisible());
}

// Centred unless a kept origin is on a screen.
TEST(PreferencesWindow, PlacedAtTheSavedOriginOrCentred)
{
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // clang-format off
    const std::tuple<std::int32_t, Rect16, QPoint> cases[] = {  // check, bounds, origin or (-1, -1): centred
        {1, Rect16{0, 64, 375, 394}, {64, 0}},              // one of left and top is an origin too
        {0, Rect16{100, 150, 475, 480}, {-1, -1}},          // positions not kept
        {1, Rect16{0, 0, 255, 330}, {-1, -1}},              // never saved
        {2, Rect16{100, 150, 475, 480}, {-1, -1}},          // only 1 keeps positions
        {1, Rect16{20000, 30000, 20375, 30330}, {-1, -1}},  // on no screen
    };
    // clang-format on
    for (const auto& [check, bounds, at] : cases) {
        Kestrova k;
        k.prefs.BoundsCheck = check;
        k.prefs.PrefeBounds = bounds;
        PreferencesWindow w(k);
        EXPECT_EQ(w.size(), QSize(330, 375));
        if (at.x() >= 0)
            EXPECT_EQ(w.geometry().topLeft(), at) << bounds.left;
        else
            EXPECT_LE((w.geometry().center() - centre).manhattanLength(), 2) << check << " " << bounds.left;
        EXPECT_EQ(k.prefs.PrefeBounds, bounds);  // placing is not moving
    }
}

// Set on the control only (once, Mac Roman shown as Unicode), shown where its
// code says when the pointer rests on the control, on any side; an empty tag
// shows nothing.
TEST(HelpTags, SetOnTheControlAndShownWhereItsCodeSays)
{
    const std::string D = "\\\xA4";
    QWidget window;
    window.resize(400, 300);
    auto* button = new QPushButton(QStringLiteral("Snap"), &window);
    button->setObjectName(QStringLiteral("11"));
    button->setGeometry(150, 120, 80, 24);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ButtonHelpSetText(&window, 999, "Nobody\\@B");  // no such control, or window: nothing
    ButtonHelpSetText(nullptr, 11, "Nobody\\@B");
    EXPECT_TRUE(button->toolTip().isEmpty() && window.toolTip().isEmpty());
    ButtonHelpSetText(&window, 11, "Caf\x8E \xA5" + D + "+Saves the graph area\\@B");
    EXPECT_EQ(button->toolTip(), QStringLiteral("Caf\u00E9 \u2022"));
    EXPECT_TRUE(HelpTagDisplayText(ParseHelpTag("<b>&"), false).contains("&lt;b&gt;&amp;"));  // markup as written
    ButtonHelpSetText(&window, 11, "Snapshot of the graph\\@b");
    EXPECT_EQ(button->findChildren<QObject*>(QStringLiteral("ks-help-tag"), Qt::FindDirectChildrenOnly).size(), 1);

    const auto hover = [&] {
        QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &e);
    };
    hover();
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Snapshot of the graph"));
    QWidget* tip = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QTipLabel")) tip = w;
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->pos(), HelpTagTopLeft(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()), tip->size(),
                                         HelpTag::BottomCentred));
    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    ButtonHelpSetText(&window, 11, "\\@B");
    hover();
    EXPECT_FALSE(QToolTip::isVisible());

    // Every side, clear of the control by the gap.
    const QRect c(100, 200, 80, 20);  // right edge 180, bottom edge 220
    const QSize t(40, 10);
    // clang-format off
    const std::pair<HelpTag::Side, QPoint> cases[] = {
        {HelpTag::TopCentred, {120, 186}},      {HelpTag::BottomCentred, {120, 224}},
        {HelpTag::LeftCentred, {56, 205}},      {HelpTag::RightCentred, {184, 205}},
        {HelpTag::TopLeftAligned, {100, 186}},  {HelpTag::TopRightAligned, {140, 186}},
        {HelpTag::LeftTopAligned, {56, 200}},   {HelpTag::LeftBottomAligned, {56, 210}},
        {HelpTag::BottomLeftAligned, {100, 224}}, {HelpTag::BottomRightAligned, {140, 224}},
        {HelpTag::RightTopAligned, {184, 200}},   {HelpTag::RightBottomAligned, {184, 210}},
    };
    // clang-format on
    for (const auto& [side, at] : cases) EXPECT_EQ(HelpTagTopLeft(c, t, side), at) << static_cast<int>(side);
    EXPECT_EQ(HelpTagTopLeft(c, t, HelpTag::Default, 0), QPoint(120, 220));
}

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
    // clang-format off
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
    // clang-format on
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
    EXPECT_EQ(ReadFile(),
              "[General]\nBounds=\" 0, 0, 560, 540\"\nBoundsCheck=1\nCopySoundCheck=1\nImpVertScale=1\n"
              "PrefeBounds=\" 0, 0, 255, 330\"\nPrintDateCheck=1\nSnapRegionCheck=0\nSnapSoundCheck=1\n"
              "UpdateForCheck=1\n");

    QSettings typed(Path("typed.conf"), QSettings::NativeFormat);
    // clang-format off
    const std::pair<const char*, QVariant> values[] = {
        {"Bounds", 5}, {"BoundsCheck", qlonglong{1} << 40}, {"SnapRegionCheck", qlonglong{-12}},
        {"SnapSoundCheck", QStringList{"0"}}, {"CopySoundCheck", 0.0}, {"PrintDateCheck", false},
        {"UpdateForCheck", qulonglong{0xFFFFFFFFu}}, {"ImpVertScale", qulonglong{3}}};
    // clang-format on
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
    // clang-format off
    const std::pair<const char*, std::function<bool(const QString&)>> cases[] = {  // false: cannot be made here
        {"folder", [](const QString& p) { return QDir().mkdir(p); }},
        {"fifo", [](const QString& p) { return ::mkfifo(QFile::encodeName(p), 0600) == 0; }},
        {"device_link", [](const QString& p) {  // the null device's numbers
             return ::mknod(qPrintable(p + ".dev"), S_IFCHR | 0600, makedev(1, 3)) == 0 && QFile::link(p + ".dev", p);
         }},
        {"blocker/sub", [](const QString&) { return true; }},
    };
    // clang-format on
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
