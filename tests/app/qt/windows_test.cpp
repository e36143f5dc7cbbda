// The small windows and the help tags under the offscreen platform: what
// they show, where they stand and what their buttons and keys call.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <tuple>

#include "app/qt/default_window.h"
#include "app/qt/help_tags.h"
#include "app/qt/prefs_window.h"
#include "context/kestrova.h"

namespace ks {
namespace {

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }

// The listing is read when painted, so a changed incoming driver shows.
// Quit leaves ending the process to the shell; OK and Return close the
// window before they call the shell; the shell's own close calls nobody.
// Escape and the window manager's close are the shell suites'.
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
    w.CloseQuietly();
    EXPECT_EQ(got, "quit ok ok ");
    EXPECT_FALSE(w.isVisible());
}

// The controls show the preferences, and a click sets its own at once.
// Moved, the content's bounds inside the frame are stored, whatever the
// check box says, and the next opening puts them back.
TEST(PreferencesWindow, ControlsMovesAndClosing)
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
    const std::tuple<std::int32_t, Rect16, QPoint> cases[] = {  // check, bounds, origin or (-1, -1): centred
        {1, Rect16{0, 64, 375, 394}, {64, 0}},              // one of left and top is an origin too
        {0, Rect16{100, 150, 475, 480}, {-1, -1}},          // positions not kept
        {1, Rect16{0, 0, 255, 330}, {-1, -1}},              // never saved
        {2, Rect16{100, 150, 475, 480}, {-1, -1}},          // only 1 keeps positions
        {1, Rect16{20000, 30000, 20375, 30330}, {-1, -1}},  // on no screen
    };
    for (const auto& [check, bounds, at] : cases) {
        Kestrova k;
        k.prefs.BoundsCheck = check;
        k.prefs.PrefeBounds = bounds;
        PreferencesWindow w(k);
        EXPECT_EQ(w.size(), QSize(330, 375));
        if (at.x() >= 0) EXPECT_EQ(w.geometry().topLeft(), at) << bounds.left;
        else EXPECT_LE((w.geometry().center() - centre).manhattanLength(), 2) << check << " " << bounds.left;
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
    const std::pair<HelpTag::Side, QPoint> cases[] = {
        {HelpTag::TopCentred, {120, 186}},      {HelpTag::BottomCentred, {120, 224}},
        {HelpTag::LeftCentred, {56, 205}},      {HelpTag::RightCentred, {184, 205}},
        {HelpTag::TopLeftAligned, {100, 186}},  {HelpTag::TopRightAligned, {140, 186}},
        {HelpTag::LeftTopAligned, {56, 200}},   {HelpTag::LeftBottomAligned, {56, 210}},
        {HelpTag::BottomLeftAligned, {100, 224}}, {HelpTag::BottomRightAligned, {140, 224}},
        {HelpTag::RightTopAligned, {184, 200}},   {HelpTag::RightBottomAligned, {184, 210}},
    };
    for (const auto& [side, at] : cases) EXPECT_EQ(HelpTagTopLeft(c, t, side), at) << static_cast<int>(side);
    EXPECT_EQ(HelpTagTopLeft(c, t, HelpTag::Default, 0), QPoint(120, 220));
}

}  // namespace
}  // namespace ks
