#include "app/qt/default_window.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "model/design.h"

namespace ks {
namespace {


QImage Render(QWidget& w)
{
    QImage img(w.size(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    w.render(&img);
    return img;
}

bool SameAbovePlacard(const QImage& a, const QImage& b)
{
    return a.copy(0, 0, a.width(), 295) == b.copy(0, 0, b.width(), 295);
}

TEST(DefaultParamWindow, ButtonsAndKeys)
{
    struct Case {
        const char* how;
        int ok, quit;
    } cases[] = {{"ok", 1, 0}, {"quit", 0, 1}, {"return", 1, 0}, {"enter", 1, 0}, {"escape", 0, 1}, {"close", 0, 1}};
    for (const Case& c : cases) {
        Design d;
        DefaultParamWindow w(d);
        int ok = 0, quit = 0;
        bool visibleInOk = true;
        QObject::connect(&w, &DefaultParamWindow::okChosen, [&] {
            ++ok;
            visibleInOk = w.isVisible();
        });
        QObject::connect(&w, &DefaultParamWindow::quitChosen, [&] { ++quit; });
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const std::string how = c.how;
        if (how == "ok") QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("5")), Qt::LeftButton);
        if (how == "quit") QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("6")), Qt::LeftButton);
        if (how == "return") QTest::keyClick(&w, Qt::Key_Return);
        if (how == "enter") QTest::keyClick(&w, Qt::Key_Enter);
        if (how == "escape") QTest::keyClick(&w, Qt::Key_Escape);
        if (how == "close") w.close();
        EXPECT_EQ(ok, c.ok) << how;
        EXPECT_EQ(quit, c.quit) << how;
        if (c.ok) {
            EXPECT_FALSE(visibleInOk) << how;
        }
        // Only OK closes the window; Quit leaves ending the process to the
        // shell.
        EXPECT_EQ(w.isVisible(), c.ok == 0) << how;
    }
}

TEST(DefaultParamWindow, TheShellClosesItQuietly)
{
    Design d;
    DefaultParamWindow w(d);
    int calls = 0;
    QObject::connect(&w, &DefaultParamWindow::okChosen, [&] { ++calls; });
    QObject::connect(&w, &DefaultParamWindow::quitChosen, [&] { ++calls; });
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.CloseQuietly();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(calls, 0);
}

TEST(DefaultParamWindow, PaintsTheListing)
{
    Design d;
    DefaultParamWindow w(d);
    const QImage shown = Render(w);

    // Ink stands on each of the fifteen baselines' lines and nowhere left
    // of the listing's start.
    const QFontMetrics fm(DefaultParamWindow::ListingFont());
    const QRgb bg = w.palette().color(QPalette::Window).rgb();
    const int x0 = DefaultParamWindow::LinePosition(2).x();
    auto inkIn = [&](QRect r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (shown.pixel(x, y) != bg) return true;
        return false;
    };
    for (int n = 2; n <= 16; ++n) {
        const int base = n * fm.lineSpacing();
        EXPECT_TRUE(inkIn(QRect(x0, base - fm.ascent() + 1, 200, fm.ascent()))) << n;
    }
    EXPECT_FALSE(inkIn(QRect(0, 0, x0 - 1, 290)));
    EXPECT_FALSE(inkIn(QRect(0, 0, 270, 2 * fm.lineSpacing() - fm.ascent() - 1)));

    // The listing is read when painted: a changed incoming driver shows.
    d.FS2 = 35.5f;
    const QImage changed = Render(w);
    EXPECT_FALSE(SameAbovePlacard(changed, shown));
}

}  // namespace
}  // namespace ks
