#include "app/qt/help_tags.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace ks {
namespace {

const std::string D = "\\\xA4";

// Set on the control only (once, Mac Roman shown as Unicode), shown where its
// code says when the pointer rests on the control; an empty tag shows nothing.
TEST(HelpTags, SetOnTheControlAndShownBelowItForB)
{
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
    // The extended content shows main text first after "+"; markup shows as written.
    EXPECT_EQ(HelpTagDisplayText(ParseHelpTag("Copy" + D + "+Puts it on the clipboard"), true),
              QStringLiteral("Copy\nPuts it on the clipboard"));
    EXPECT_TRUE(HelpTagDisplayText(ParseHelpTag("<b>bold</b> & more"), false).contains("&lt;b&gt;bold&lt;/b&gt; &amp;"));
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
}

// Every side, clear of the control by the gap.
TEST(HelpTagDisplay, PositionsOnEverySide)
{
    const QRect c(100, 200, 80, 20);  // right edge 180, bottom edge 220
    const QSize t(40, 10);
    const std::pair<HelpTag::Side, QPoint> cases[] = {
        {HelpTag::TopCentred, {120, 186}},         {HelpTag::BottomCentred, {120, 224}},
        {HelpTag::LeftCentred, {56, 205}},         {HelpTag::RightCentred, {184, 205}},
        {HelpTag::TopLeftAligned, {100, 186}},     {HelpTag::TopRightAligned, {140, 186}},
        {HelpTag::LeftTopAligned, {56, 200}},      {HelpTag::LeftBottomAligned, {56, 210}},
        {HelpTag::BottomLeftAligned, {100, 224}},  {HelpTag::BottomRightAligned, {140, 224}},
        {HelpTag::RightTopAligned, {184, 200}},    {HelpTag::RightBottomAligned, {184, 210}},
    };
    for (const auto& [side, at] : cases) EXPECT_EQ(HelpTagTopLeft(c, t, side), at) << static_cast<int>(side);
    EXPECT_EQ(HelpTagTopLeft(c, t, HelpTag::Default, 0), QPoint(120, 220));
}

}  // namespace
}  // namespace ks
