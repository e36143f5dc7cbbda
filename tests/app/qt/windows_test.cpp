// SPDX-License-Identifier: GPL-3.0-or-later
// The small windows and help tags, and the preferences store.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QtTest>
#include <QtWidgets>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "app/prefs_rect.h"
#include "app/qt/default_window.h"
#include "app/qt/help_tags.h"
#include "app/qt/menus.h"
#include "app/qt/prefs_store.h"
#include "app/qt/prefs_window.h"
#include "common/files.h"
#include "context/kestrova.h"
#include "context/prefs.h"

using namespace ks;

namespace {

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }

QString Text(Rect16 r) { return QString::fromStdString(RectToText(r).str()); }

// Every field as one text, so a failing comparison shows which differs.
QString Fields(const Prefs& p)
{
    QString s = Text(p.Bounds) + " |" + Text(p.PrefeBounds) + " |";
    for (std::int32_t v : {p.BoundsCheck, p.SnapRegionCheck, p.SnapSoundCheck, p.CopySoundCheck, p.PrintDateCheck,
                           p.UpdateForCheck, p.ImpVertScale})
        s += QStringLiteral(" %1").arg(v);
    return s;
}

// Every value other than its start value.
const Prefs kChanged{{44, 120, 604, 660}, {-30, -400, 345, -70}, 0, 1, 0, 0, 0, 0, 2};

// What fn writes on standard error.
QByteArray StandardError(const std::function<void()>& fn)
{
    QTemporaryFile said;
    if (!said.open()) return "<no temporary file>";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(said.handle(), STDERR_FILENO);
    fn();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    said.seek(0);
    return said.readAll();
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString Path(const char* name = "Kestrova.conf") const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    // Cone Excursion and Maximum SPL follow Step Response with keys of their own; no key is shared.
    void menusTheLimitViewsFollowStepResponseAndNoKeyIsShared()
    {
        Menus m;
        QStringList shown, keys;
        for (QAction* a : m.menu(menu::kResponse)->actions()) shown << (a->isSeparator() ? "-" : a->text());
        for (int id : {menu::kFile, menu::kEdit, menu::kResponse, menu::kView, menu::kAlignment, menu::kMisc,
                       menu::kWindow, menu::kHelp})
            for (QAction* a : m.menu(id)->actions())
                if (!a->shortcut().isEmpty()) keys << a->shortcut().toString();
        QCOMPARE((shown.mid(5, 4) << m.item(menu::kResponse, 14)->shortcut().toString()).join('|'),
                 QString("Step Response|Cone Excursion|Maximum SPL|-|Ctrl+Alt+M"));
        QVERIFY2(keys.removeDuplicates() == 0, qPrintable(keys.join(' ')));
    }

    // The listing follows the incoming driver; Quit, OK and Return (wherever the focus is) close
    // the window before calling the shell, whose own close calls nobody.
    void defaultParamWindowListingButtonsAndKeys()
    {
        Design d;
        DefaultParamWindow w(d);
        QString got;
        connect(&w, &DefaultParamWindow::okChosen, [&] { got += w.isVisible() ? "ok-while-shown " : "ok "; });
        connect(&w, &DefaultParamWindow::quitChosen, [&] { got += "quit "; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QImage shown = w.grab().toImage();
        d.FS2 = 35.5f;
        QVERIFY(w.grab().toImage() != shown);
        Click(w.findChild<QPushButton*>("6"));
        QVERIFY(w.isVisible());
        Click(w.findChild<QPushButton*>("5"));
        w.show();
        QTest::keyClick(&w, Qt::Key_Return);
        w.show();
        w.findChild<QPushButton*>("6")->setFocus(Qt::TabFocusReason);  // as Tab leaves it
        QTest::keyClick(w.findChild<QPushButton*>("6"), Qt::Key_Return);
        w.show();
        w.CloseQuietly();
        QCOMPARE(got, QString("quit ok ok ok "));
        QVERIFY(!w.isVisible());
    }

    // Each control shows its preference and a click sets it; the content's bounds are stored when
    // moved and put back; Escape does nothing; OK, Return and a close close first, then call.
    void preferencesWindowControlsMovesAndClosing()
    {
        const std::pair<const char*, std::int32_t Prefs::*> checks[] = {
            {"502", &Prefs::BoundsCheck},    {"507", &Prefs::SnapRegionCheck}, {"503", &Prefs::SnapSoundCheck},
            {"504", &Prefs::CopySoundCheck}, {"505", &Prefs::PrintDateCheck},  {"506", &Prefs::UpdateForCheck},
        };
        Kestrova k;
        for (std::size_t i = 0; i < std::size(checks); ++i) k.prefs.*checks[i].second = std::int32_t(i % 2);
        k.prefs.ImpVertScale = 2;
        PreferencesWindow w(k);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.move(40, 60);  // the position check box is off
        QCoreApplication::processEvents();
        const QRect g = w.geometry();
        QCOMPARE(w.frameGeometry().topLeft(), QPoint(40, 60));
        QCOMPARE(Text(k.prefs.PrefeBounds), Text(Rect16{std::int16_t(g.top()), std::int16_t(g.left()),
                                                        std::int16_t(g.top() + 375), std::int16_t(g.left() + 330)}));
        QCOMPARE(w.scaleGroup()->checkedId(), 2);
        for (const auto& [id, value] : checks) {
            auto* c = w.findChild<QCheckBox*>(id);
            const std::int32_t before = k.prefs.*value;
            QCOMPARE(std::pair(id, c->isChecked()), std::pair(id, before == 1));
            Click(c);
            QCOMPARE(std::pair(id, k.prefs.*value), std::pair(id, 1 - before));
        }
        Click(w.findChild<QRadioButton*>("510-1"));
        QCOMPARE(k.prefs.ImpVertScale, 1);
        QCOMPARE(PreferencesWindow(k).geometry(), g);  // now on
        QString calls;
        connect(&w, &PreferencesWindow::okChosen, [&] { calls += w.isVisible() ? "shown " : "hidden "; });
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        Click(w.findChild<QPushButton*>("508"));
        w.show();
        w.findChild<QCheckBox*>("505")->setFocus();
        QTest::keyClick(&w, Qt::Key_Return);
        w.show();
        w.close();
        w.show();
        w.CloseQuietly();
        QCOMPARE(calls, QString("hidden hidden hidden "));
        QVERIFY(!w.isVisible());
    }

    // Centred unless a kept origin is on a screen; placing is not moving.
    void preferencesWindowPlacedAtTheSavedOriginOrCentred()
    {
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        const std::tuple<const char*, std::int32_t, Rect16, QPoint> cases[] = {
            // origin (-1, -1): centred
            {"one of left and top is an origin too", 1, Rect16{0, 64, 375, 394}, {64, 0}},
            {"positions not kept", 0, Rect16{100, 150, 475, 480}, {-1, -1}},
            {"never saved", 1, Rect16{0, 0, 255, 330}, {-1, -1}},
            {"only 1 keeps positions", 2, Rect16{100, 150, 475, 480}, {-1, -1}},
            {"on no screen", 1, Rect16{20000, 30000, 20375, 30330}, {-1, -1}},
        };
        for (const auto& [name, check, bounds, at] : cases) {
            Kestrova k;
            k.prefs.BoundsCheck = check;
            k.prefs.PrefeBounds = bounds;
            PreferencesWindow w(k);
            if (at.x() >= 0)
                QCOMPARE(std::pair(name, w.geometry().topLeft()), std::pair(name, at));
            else
                QVERIFY2((w.geometry().center() - centre).manhattanLength() <= 2, name);
            QCOMPARE(std::pair(name, Text(k.prefs.PrefeBounds)), std::pair(name, Text(bounds)));
        }
    }

    // Set on the control only, once, Mac Roman shown as Unicode; shown where its code says, on
    // any side, when the pointer rests; an empty tag shows nothing.
    void helpTagsSetOnTheControlAndShownWhereItsCodeSays()
    {
        const std::string D = "\\\xA4";
        QWidget window;
        window.resize(400, 300);
        auto* button = new QPushButton(QStringLiteral("Snap"), &window);
        button->setObjectName(QStringLiteral("11"));
        button->setGeometry(150, 120, 80, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ButtonHelpSetText(&window, 999, "Nobody\\@B");  // no such control, or window: nothing
        ButtonHelpSetText(nullptr, 11, "Nobody\\@B");
        QCOMPARE(button->toolTip() + window.toolTip(), QString());
        ButtonHelpSetText(&window, 11, "Caf\x8E \xA5" + D + "+Saves the graph area\\@B");
        QCOMPARE(button->toolTip(), QStringLiteral("Caf\u00E9 \u2022"));
        QVERIFY(HelpTagDisplayText(ParseHelpTag("<b>&"), false).contains("&lt;b&gt;&amp;"));  // markup as written
        ButtonHelpSetText(&window, 11, "Snapshot of the graph\\@b");
        QCOMPARE(button->findChildren<QObject*>(QStringLiteral("ks-help-tag"), Qt::FindDirectChildrenOnly).size(), 1);

        const auto hover = [&] {
            QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(button, &e);
        };
        hover();
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("Snapshot of the graph"));
        QWidget* tip = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->inherits("QTipLabel")) tip = w;
        QVERIFY(tip);
        QCOMPARE(tip->pos(), HelpTagTopLeft(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()), tip->size(),
                                            HelpTag::BottomCentred));
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        ButtonHelpSetText(&window, 11, "\\@B");
        hover();
        QVERIFY(!QToolTip::isVisible());

        // Every side, clear of the control by the gap.
        const QRect c(100, 200, 80, 20);  // right edge 180, bottom edge 220
        const QSize t(40, 10);
        const std::pair<HelpTag::Side, QPoint> cases[] = {
            {HelpTag::TopCentred, {120, 186}},        {HelpTag::BottomCentred, {120, 224}},
            {HelpTag::LeftCentred, {56, 205}},        {HelpTag::RightCentred, {184, 205}},
            {HelpTag::TopLeftAligned, {100, 186}},    {HelpTag::TopRightAligned, {140, 186}},
            {HelpTag::LeftTopAligned, {56, 200}},     {HelpTag::LeftBottomAligned, {56, 210}},
            {HelpTag::BottomLeftAligned, {100, 224}}, {HelpTag::BottomRightAligned, {140, 224}},
            {HelpTag::RightTopAligned, {184, 200}},   {HelpTag::RightBottomAligned, {184, 210}},
        };
        for (const auto& [side, at] : cases)
            QCOMPARE(std::pair(int(side), HelpTagTopLeft(c, t, side)), std::pair(int(side), at));
        QCOMPARE(HelpTagTopLeft(c, t, HelpTag::Default, 0), QPoint(120, 220));
    }

    // What an empty, damaged, wrong or extreme file gives over the start values; a save writes
    // every value, through a link that stays one; a typed store gives only integers in range.
    void prefsStoreValuesReadAndWritten()
    {
        const char head[] = "\x00\x01[[[\n=\n\xff\xfe]]]\n[General\nBoundsCheck\n\"unclosed=\n";
        QByteArray junk(head, sizeof head - 1);
        for (int i = 0; i < 4096; ++i) junk.append(char((i * 7919 + 13) % 256 == '=' ? 'x' : (i * 7919 + 13) % 256));
        const QString start = Fields(kChanged);  // what the file does not give stays
        // clang-format off
        const std::tuple<const char*, QByteArray, QString> cases[] = {
            {"empty", "", start},
            {"junk", junk, start},
            {"wrong forms", "[General]\nBounds=1, 2, 3, 4\nPrefeBounds=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\xff)\n"
             "BoundsCheck=abc\nSnapRegionCheck=1.5\nSnapSoundCheck=4294967296\nCopySoundCheck=-2147483649\n"
             "PrintDateCheck=\nUpdateForCheck=12abc\nImpVertScale=2 3\n", start},
            {"extremes", "[General]\nBoundsCheck=-2147483648\nSnapRegionCheck=2147483647\nSnapSoundCheck=\" 7 \"\n"
             "ImpVertScale=+1\nBounds=\" 5\"\nPrefeBounds=\"40000, -40000, x, 12\"\n",
             " 5, 0, 0, 0 | 32767,-32768, 0, 12 | -2147483648 2147483647 7 0 0 0 1"},
        };
        // clang-format on
        QVERIFY(QFile::link(Path("real.conf"), Path()));
        for (const auto& [name, bytes, want] : cases) {
            QVERIFY2(kt::WriteBytes(Path("real.conf"), bytes), name);
            Prefs p = kChanged;
            {
                PrefsStore store(Path());
                QCOMPARE(store.settings().fileName(), Path());  // the link, not where it leads
                store.LoadPrefs(p);
                QCOMPARE(std::pair(name, Fields(p)), std::pair(name, want));
                store.SavePrefs(Prefs{});
            }
            PrefsStore(Path()).LoadPrefs(p = kChanged);
            QCOMPARE(std::pair(name, Fields(p)), std::pair(name, Fields(Prefs{})));
            QVERIFY2(QFileInfo(Path()).isSymLink(), name);
        }
        // As bytes: QSettings answers from its cache while size and time look unchanged.
        QCOMPARE(kt::ReadBytes(Path()),
                 QByteArray("[General]\nBounds=\" 0, 0, 560, 540\"\nBoundsCheck=1\nCopySoundCheck=1\nImpVertScale=1\n"
                            "PrefeBounds=\" 0, 0, 255, 330\"\nPrintDateCheck=1\nSnapRegionCheck=0\nSnapSoundCheck=1\n"
                            "UpdateForCheck=1\n"));

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
        QCOMPARE(Fields(p), QString(" 0, 0, 560, 540 | 0, 0, 255, 330 | 1 -12 1 1 1 1 3"));
    }

    // A path that is no regular file after links (folder, FIFO, device) or lies below a plain
    // file is neither read nor written, and one line on standard error says why.
    void prefsStorePathsItCannotUseAreLeftAsTheyAre()
    {
        QVERIFY(kt::WriteBytes(Path("blocker"), "not a folder"));
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
            const QString path = dir_.filePath(QString::fromLatin1(name) + QStringLiteral(".conf"));
            if (!make(path)) {
                qInfo("%s cannot be made here (%s): not checked", name, std::strerror(errno));
                continue;
            }
            const QFileInfo before(path);
            const QByteArray err = StandardError([&] {
                PrefsStore store(path);
                QCOMPARE(std::pair(name, store.usable()), std::pair(name, !before.exists()));
                Prefs p;
                store.LoadPrefs(p);
                QCOMPARE(std::pair(name, Fields(p)), std::pair(name, Fields(Prefs{})));
                store.SavePrefs(kChanged);
                QVERIFY2(!store.AppSynchronize(), name);
            });
            QVERIFY2(err.count('\n') == 1, err);
            const bool below = std::string(name) == "blocker/sub";
            QVERIFY2(err.contains(below ? std::strerror(ENOTDIR) : "not a regular file"), err);
            const QFileInfo after(path);
            QCOMPARE(std::tuple(name, after.exists(), after.isSymLink()),
                     std::tuple(name, before.exists(), before.isSymLink()));
            QVERIFY2(!after.isFile(), name);
            QVERIFY2(!QFileInfo(after.symLinkTarget()).isFile(), name);
        }
        QCOMPARE(kt::ReadBytes(Path("blocker")), QByteArray("not a folder"));
    }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
