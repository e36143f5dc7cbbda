#include "app/qt/prefs_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "context/kestrova.h"

namespace ks {
namespace {

QRect Ltrb(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

template <class W>
W* Child(QWidget& w, const char* name)
{
    return w.findChild<W*>(QString::fromLatin1(name));
}

struct CheckRow {
    const char* id;
    QRect rect;
    const char* title;
    std::int32_t Prefs::*value;
};

const CheckRow kChecks[] = {
    {"502", Ltrb(50, 40, 300, 60), " Save Current Position of Window", &Prefs::BoundsCheck},
    {"507", Ltrb(50, 70, 300, 90), " Included Edit Region in Snapshot", &Prefs::SnapRegionCheck},
    {"503", Ltrb(50, 100, 300, 120), " Use Snapshot Sound Effect", &Prefs::SnapSoundCheck},
    {"504", Ltrb(50, 130, 300, 150), " Use Copy Parameters Sound Effect", &Prefs::CopySoundCheck},
    {"505", Ltrb(50, 160, 300, 180), " Print Date at Printing", &Prefs::PrintDateCheck},
    {"506", Ltrb(50, 190, 300, 210), " Check for New Updates on Launch", &Prefs::UpdateForCheck},
};

QPoint ScreenCentre() { return QGuiApplication::primaryScreen()->availableGeometry().center(); }

TEST(PreferencesWindow, ControlsShowThePreferences)
{
    for (int flip = 0; flip < 2; ++flip) {
        Kestrova k;
        for (const CheckRow& row : kChecks) k.prefs.*row.value = ((&row - kChecks) % 2 == flip) ? 1 : 0;
        k.prefs.ImpVertScale = flip ? 2 : 1;
        PreferencesWindow w(k);
        for (const CheckRow& row : kChecks)
            EXPECT_EQ(Child<QCheckBox>(w, row.id)->isChecked(), k.prefs.*row.value == 1) << row.id;
        EXPECT_EQ(w.scaleGroup()->checkedId(), flip ? 2 : 1);
    }
    // A scale the store should never hold selects neither button.
    Kestrova k;
    k.prefs.ImpVertScale = 7;
    PreferencesWindow w(k);
    EXPECT_EQ(w.scaleGroup()->checkedId(), -1);
}

TEST(PreferencesWindow, EveryClickActsAtOnce)
{
    Kestrova k;
    PreferencesWindow w(k);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (const CheckRow& row : kChecks) {
        auto* c = Child<QCheckBox>(w, row.id);
        const std::int32_t before = k.prefs.*row.value;
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2));
        EXPECT_EQ(k.prefs.*row.value, before ? 0 : 1) << row.id;
        EXPECT_EQ(c->isChecked(), k.prefs.*row.value == 1) << row.id;
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(8, c->height() / 2));
        EXPECT_EQ(k.prefs.*row.value, before) << row.id;
    }
    // Each check box acts on its own preference only.
    auto* snap = Child<QCheckBox>(w, "507");
    const Prefs before = k.prefs;
    QTest::mouseClick(snap, Qt::LeftButton, {}, QPoint(8, snap->height() / 2));
    EXPECT_EQ(k.prefs.SnapRegionCheck, 1 - before.SnapRegionCheck);
    EXPECT_EQ(k.prefs.SnapSoundCheck, before.SnapSoundCheck);
    EXPECT_EQ(k.prefs.BoundsCheck, before.BoundsCheck);

    auto* r1 = Child<QRadioButton>(w, "510-1");
    auto* r2 = Child<QRadioButton>(w, "510-2");
    QTest::mouseClick(r2, Qt::LeftButton, {}, QPoint(8, r2->height() / 2));
    EXPECT_EQ(k.prefs.ImpVertScale, 2);
    EXPECT_TRUE(r2->isChecked());
    EXPECT_FALSE(r1->isChecked());
    QTest::mouseClick(r1, Qt::LeftButton, {}, QPoint(8, r1->height() / 2));
    EXPECT_EQ(k.prefs.ImpVertScale, 1);
}

TEST(PreferencesWindow, OkReturnAndEnterCloseFirstThenCallTheShellEscapeDoesNothing)
{
    for (int key : {-1, int(Qt::Key_Return), int(Qt::Key_Enter), int(Qt::Key_Escape)}) {
        Kestrova k;
        PreferencesWindow w(k);
        int calls = 0;
        bool visibleInHandler = true;
        QObject::connect(&w, &PreferencesWindow::okChosen, [&] {
            ++calls;
            visibleInHandler = w.isVisible();
        });
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        if (key < 0) {
            QTest::mouseClick(Child<QPushButton>(w, "508"), Qt::LeftButton);
        } else {
            // Return works wherever the focus is, also on a check box.
            Child<QCheckBox>(w, "505")->setFocus();
            QTest::keyClick(&w, static_cast<Qt::Key>(key));
        }
        const bool closes = key != Qt::Key_Escape;
        EXPECT_EQ(calls, closes ? 1 : 0) << key;
        EXPECT_EQ(w.isVisible(), !closes) << key;
        if (closes) {
            EXPECT_FALSE(visibleInHandler) << key;
            EXPECT_EQ(w.result(), QDialog::Accepted) << key;
        }
    }
}

TEST(PreferencesWindow, CloseRequestRunsTheOkPathUnlessQuiet)
{
    Kestrova k;
    PreferencesWindow w(k);
    int calls = 0;
    QObject::connect(&w, &PreferencesWindow::okChosen, [&] { ++calls; });
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.close();  // what a close request from outside comes to
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(w.isVisible());

    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.CloseQuietly();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST(PreferencesWindow, PlacedAtTheSavedOriginOrCentred)
{
    {
        Kestrova k;
        k.prefs.PrefeBounds = Rect16{100, 150, 475, 480};
        PreferencesWindow w(k);
        EXPECT_EQ(w.geometry(), QRect(150, 100, 330, 375));
    }
    struct Case {
        std::int32_t check;
        Rect16 bounds;
    } centred[] = {
        {0, Rect16{100, 150, 475, 480}},      // positions not kept
        {1, Rect16{0, 0, 255, 330}},          // never saved
        {2, Rect16{100, 150, 475, 480}},      // only 1 keeps positions
        {1, Rect16{20000, 30000, 20375, 30330}},  // on no screen
    };
    for (const Case& c : centred) {
        Kestrova k;
        k.prefs.BoundsCheck = c.check;
        k.prefs.PrefeBounds = c.bounds;
        PreferencesWindow w(k);
        EXPECT_EQ(w.size(), QSize(330, 375));
        EXPECT_LE((w.geometry().center() - ScreenCentre()).manhattanLength(), 2) << c.check << " " << c.bounds.left;
        // Placing is not moving: the saved rectangle stays.
        EXPECT_EQ(k.prefs.PrefeBounds, c.bounds);
    }
    // Only one of left and top set is a saved origin too.
    Kestrova k;
    k.prefs.PrefeBounds = Rect16{0, 64, 375, 394};
    PreferencesWindow w(k);
    EXPECT_EQ(w.geometry().topLeft(), QPoint(64, 0));
}

TEST(PreferencesWindow, MovingStoresTheContentBounds)
{
    Kestrova k;
    k.prefs.BoundsCheck = 0;  // stored whatever the check box says
    PreferencesWindow w(k);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto bounds = [](const QRect& g) {
        return Rect16{static_cast<std::int16_t>(g.top()), static_cast<std::int16_t>(g.left()),
                      static_cast<std::int16_t>(g.top() + 375), static_cast<std::int16_t>(g.left() + 330)};
    };
    w.move(210, 130);
    QCoreApplication::processEvents();
    const QRect g = w.geometry();
    ASSERT_EQ(g.size(), QSize(330, 375));
    EXPECT_EQ(k.prefs.PrefeBounds, bounds(g));
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(210, 130));
    // The content origin, inside the frame, is what is stored, and what
    // the next opening puts back.
    w.move(40, 60);
    QCoreApplication::processEvents();
    const QRect h = w.geometry();
    EXPECT_EQ(k.prefs.PrefeBounds, bounds(h));
    EXPECT_NE(h.topLeft(), g.topLeft());
    k.prefs.BoundsCheck = 1;
    PreferencesWindow again(k);
    EXPECT_EQ(again.geometry(), h);
}

}  // namespace
}  // namespace ks
