#include "app/qt/default_window.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "model/design.h"

namespace ks {
namespace {

// OK and Return close the window before they call the shell; Quit and
// Escape leave ending the process to the shell; the shell's own close calls
// nobody. The window manager's close is the shell suite's. The listing is
// read when painted, so a changed incoming driver shows.
TEST(DefaultParamWindow, ButtonsKeysAndTheListing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"5", "ok"}, {"6", "quit"}, {"return", "ok"}, {"escape", "quit"}, {"quietly", ""}};
    for (const auto& [how, want] : cases) {
        Design d;
        DefaultParamWindow w(d);
        std::string got;
        QObject::connect(&w, &DefaultParamWindow::okChosen, [&] { got += w.isVisible() ? "ok-while-shown" : "ok"; });
        QObject::connect(&w, &DefaultParamWindow::quitChosen, [&] { got += "quit"; });
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QImage shown = w.grab().toImage();
        d.FS2 = 35.5f;
        EXPECT_NE(w.grab().toImage(), shown);
        const std::string h = how;
        if (h == "quietly") w.CloseQuietly();
        else if (h == "return" || h == "escape") QTest::keyClick(&w, h == "return" ? Qt::Key_Return : Qt::Key_Escape);
        else QTest::mouseClick(w.findChild<QPushButton*>(how), Qt::LeftButton);
        EXPECT_EQ(got, want) << how;
        EXPECT_EQ(w.isVisible(), got == "quit") << how;
    }
}

}  // namespace
}  // namespace ks
