#include "app/qt/prefs_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "context/kestrova.h"

namespace ks {
namespace {

const std::pair<const char*, std::int32_t Prefs::*> kChecks[] = {
    {"502", &Prefs::BoundsCheck},    {"507", &Prefs::SnapRegionCheck}, {"503", &Prefs::SnapSoundCheck},
    {"504", &Prefs::CopySoundCheck}, {"505", &Prefs::PrintDateCheck},  {"506", &Prefs::UpdateForCheck},
};

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }

// The controls show the preferences, and each click acts at once on its own
// preference only.
TEST(PreferencesWindow, ControlsShowAndSetThePreferences)
{
    Kestrova k;
    for (std::size_t i = 0; i < std::size(kChecks); ++i) k.prefs.*kChecks[i].second = std::int32_t(i % 2);
    k.prefs.ImpVertScale = 2;
    PreferencesWindow w(k);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.scaleGroup()->checkedId(), 2);
    for (const auto& [id, value] : kChecks) {
        auto* c = w.findChild<QCheckBox*>(id);
        EXPECT_EQ(c->isChecked(), k.prefs.*value == 1) << id;
        const Prefs before = k.prefs;
        Click(c);
        for (const auto& [other, v] : kChecks)
            EXPECT_EQ(k.prefs.*v, v == value ? 1 - before.*v : before.*v) << id << " " << other;
        EXPECT_EQ(c->isChecked(), k.prefs.*value == 1) << id;
    }
    Click(w.findChild<QRadioButton*>("510-1"));
    EXPECT_EQ(k.prefs.ImpVertScale, 1);
    // A scale the store should never hold selects neither button.
    k.prefs.ImpVertScale = 7;
    EXPECT_EQ(PreferencesWindow(k).scaleGroup()->checkedId(), -1);
}

// OK, Return and a close request from outside close first, then call the
// shell; Escape does nothing; the shell's own close is quiet.
TEST(PreferencesWindow, OkReturnAndCloseCallTheShellEscapeDoesNothing)
{
    for (const std::string how : {"ok", "return", "close", "escape"}) {
        Kestrova k;
        PreferencesWindow w(k);
        std::string calls;
        QObject::connect(&w, &PreferencesWindow::okChosen, [&] { calls += w.isVisible() ? "shown" : "hidden"; });
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.findChild<QCheckBox*>("505")->setFocus();  // Return works wherever the focus is
        if (how == "ok") Click(w.findChild<QPushButton*>("508"));
        else if (how == "close") w.close();
        else QTest::keyClick(&w, how == "return" ? Qt::Key_Return : Qt::Key_Escape);
        if (how == "escape") {
            EXPECT_TRUE(w.isVisible());
            w.CloseQuietly();
        }
        EXPECT_EQ(calls, how == "escape" ? "" : "hidden") << how;
        EXPECT_EQ(w.result(), how == "escape" ? QDialog::Rejected : QDialog::Accepted) << how;
        EXPECT_FALSE(w.isVisible()) << how;
    }
}

// Centred unless a kept origin is on a screen. Moved, the content's bounds
// inside the frame are stored, whatever the check box says, and the next
// opening puts them back.
TEST(PreferencesWindow, PlacedAtTheSavedOriginOrCentredAndMovesStored)
{
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    const struct {
        std::int32_t check;
        Rect16 bounds;
        QPoint at;  // (-1, -1): centred
    } cases[] = {
        {1, Rect16{0, 64, 375, 394}, {64, 0}},              // one of left and top is an origin too
        {0, Rect16{100, 150, 475, 480}, {-1, -1}},          // positions not kept
        {1, Rect16{0, 0, 255, 330}, {-1, -1}},              // never saved
        {2, Rect16{100, 150, 475, 480}, {-1, -1}},          // only 1 keeps positions
        {1, Rect16{20000, 30000, 20375, 30330}, {-1, -1}},  // on no screen
    };
    for (const auto& c : cases) {
        Kestrova k;
        k.prefs.BoundsCheck = c.check;
        k.prefs.PrefeBounds = c.bounds;
        PreferencesWindow w(k);
        EXPECT_EQ(w.size(), QSize(330, 375));
        if (c.at.x() >= 0) EXPECT_EQ(w.geometry().topLeft(), c.at) << c.bounds.left;
        else EXPECT_LE((w.geometry().center() - centre).manhattanLength(), 2) << c.check << " " << c.bounds.left;
        EXPECT_EQ(k.prefs.PrefeBounds, c.bounds);  // placing is not moving
    }
    Kestrova k;
    k.prefs.BoundsCheck = 0;
    PreferencesWindow w(k);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.move(40, 60);
    QCoreApplication::processEvents();
    const QRect g = w.geometry();
    EXPECT_EQ(w.frameGeometry().topLeft(), QPoint(40, 60));
    EXPECT_EQ(k.prefs.PrefeBounds, (Rect16{std::int16_t(g.top()), std::int16_t(g.left()), std::int16_t(g.top() + 375),
                                           std::int16_t(g.left() + 330)}));
    k.prefs.BoundsCheck = 1;
    EXPECT_EQ(PreferencesWindow(k).geometry(), g);
}

}  // namespace
}  // namespace ks
