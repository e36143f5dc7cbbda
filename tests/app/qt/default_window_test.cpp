#include "app/qt/default_window.h"

#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "model/design.h"

namespace ks {
namespace {

// OK, Return and Enter close the window before they call the shell; Quit,
// Escape and a close request leave ending the process to the shell; the
// shell's own close calls nobody.
TEST(DefaultParamWindow, ButtonsAndKeys)
{
    const std::pair<const char*, const char*> cases[] = {{"ok", "ok"},         {"quit", "quit"},   {"return", "ok"},
                                                         {"enter", "ok"},      {"escape", "quit"}, {"close", "quit"},
                                                         {"quietly", ""}};
    for (const auto& [how, want] : cases) {
        Design d;
        DefaultParamWindow w(d);
        std::string got;
        QObject::connect(&w, &DefaultParamWindow::okChosen, [&] { got += w.isVisible() ? "ok-while-shown" : "ok"; });
        QObject::connect(&w, &DefaultParamWindow::quitChosen, [&] { got += "quit"; });
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const std::string h = how;
        if (h == "ok" || h == "quit") QTest::mouseClick(w.findChild<QPushButton*>(h == "ok" ? "5" : "6"), Qt::LeftButton);
        if (h == "return" || h == "enter" || h == "escape")
            QTest::keyClick(&w, h == "return" ? Qt::Key_Return : h == "enter" ? Qt::Key_Enter : Qt::Key_Escape);
        if (h == "close") w.close();
        if (h == "quietly") w.CloseQuietly();
        EXPECT_EQ(got, want) << how;
        EXPECT_EQ(w.isVisible(), got == "quit") << how;
    }
}

// Ink stands on the listing's lines and nowhere above or left of it; the
// listing is read when painted, so a changed incoming driver shows.
TEST(DefaultParamWindow, PaintsTheListing)
{
    Design d;
    DefaultParamWindow w(d);
    const auto render = [&] {
        QImage img(w.size(), QImage::Format_ARGB32);
        img.fill(Qt::white);
        w.render(&img);
        return img;
    };
    const QImage shown = render();
    const QFontMetrics fm(DefaultParamWindow::ListingFont());
    const int x0 = DefaultParamWindow::LinePosition(2).x();
    auto inkIn = [&](QRect r) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (shown.pixel(x, y) != w.palette().color(QPalette::Window).rgb()) return true;
        return false;
    };
    for (int n : {2, 16}) EXPECT_TRUE(inkIn(QRect(x0, n * fm.lineSpacing() - fm.ascent() + 1, 200, fm.ascent()))) << n;
    EXPECT_FALSE(inkIn(QRect(0, 0, x0 - 1, 290)) || inkIn(QRect(0, 0, 270, 2 * fm.lineSpacing() - fm.ascent() - 1)));
    d.FS2 = 35.5f;
    EXPECT_NE(render().copy(0, 0, shown.width(), 295), shown.copy(0, 0, shown.width(), 295));
}

}  // namespace
}  // namespace ks
