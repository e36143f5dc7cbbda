#include "app/qt/help_tags.h"

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <tuple>

namespace ks {
namespace {

const std::string D = "\\\xA4";

QWidget* TipLabel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QTipLabel")) return w;
    return nullptr;
}

class HelpTagsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_.resize(400, 300);
        button_ = new QPushButton(QStringLiteral("Snap"), &window_);
        button_->setObjectName(QStringLiteral("11"));
        button_->setGeometry(150, 120, 80, 24);
        other_ = new QPushButton(QStringLiteral("Calc."), &window_);
        other_->setObjectName(QStringLiteral("1"));
        other_->setGeometry(10, 10, 60, 24);
        other_->setToolTip(QStringLiteral("untouched"));
        window_.move(100, 100);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }
    void TearDown() override { QToolTip::hideText(); }

    // Asks the control for its tag as the pointer resting on it would.
    void Hover(QWidget* w)
    {
        const QPoint local(5, 5);
        QHelpEvent e(QEvent::ToolTip, local, w->mapToGlobal(local));
        QApplication::sendEvent(w, &e);
    }

    QWidget window_;
    QPushButton* button_ = nullptr;
    QPushButton* other_ = nullptr;
};

TEST_F(HelpTagsTest, SetsTheControlsTipFromTheMainText)
{
    ButtonHelpSetText(&window_, 999, "Nobody\\@B");  // no such control, or window: nothing
    ButtonHelpSetText(nullptr, 11, "Nobody\\@B");
    EXPECT_TRUE(button_->toolTip().isEmpty());
    EXPECT_TRUE(window_.toolTip().isEmpty());
    ButtonHelpSetText(&window_, 11, "Snap" + D + "+Saves the graph area as a picture\\@B");
    EXPECT_EQ(button_->toolTip(), QStringLiteral("Snap"));
    EXPECT_EQ(other_->toolTip(), QStringLiteral("untouched"));

    // Again on the same control: replaced, with one filter only.
    ButtonHelpSetText(&window_, 11, "Caf\x8E \xA5 \xDB");  // Mac Roman, shown as Unicode
    EXPECT_EQ(button_->toolTip(), QStringLiteral("Caf\u00E9 \u2022 \u20AC"));
    EXPECT_EQ(button_->findChildren<QObject*>(QStringLiteral("ks-help-tag"), Qt::FindDirectChildrenOnly).size(), 1);
}

TEST_F(HelpTagsTest, TagShowsBelowTheControlForB)
{
    ButtonHelpSetText(&window_, 11, "Snapshot of the graph\\@b");
    Hover(button_);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Snapshot of the graph"));
    QWidget* tip = TipLabel();
    ASSERT_TRUE(tip);
    const QRect control(button_->mapToGlobal(QPoint(0, 0)), button_->size());
    EXPECT_EQ(tip->pos(), HelpTagTopLeft(control, tip->size(), HelpTag::BottomCentred));

    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
    ButtonHelpSetText(&window_, 11, "\\@B");  // an empty tag shows nothing
    Hover(button_);
    EXPECT_FALSE(QToolTip::isVisible());
}

// The extended content shows main text first only after "+"; text that looks
// like markup still shows as written.
TEST(HelpTagDisplay, MainAndExtendedContents)
{
    const std::tuple<std::string, bool, QString> cases[] = {
        {"Copy" + D + "+Puts it on the clipboard", false, "Copy"},
        {"Copy" + D + "+Puts it on the clipboard", true, "Copy\nPuts it on the clipboard"},
        {"Copy" + D + "Puts it on the clipboard", true, "Puts it on the clipboard"},
        {"Copy", true, "Copy"}};
    for (const auto& [text, extended, shown] : cases) EXPECT_EQ(HelpTagDisplayText(ParseHelpTag(text), extended), shown);
    const QString marked = HelpTagDisplayText(ParseHelpTag("<b>bold</b> & more"), false);
    EXPECT_TRUE(marked.contains(QStringLiteral("&lt;b&gt;bold&lt;/b&gt; &amp; more"))) << marked.toStdString();
    EXPECT_FALSE(marked.contains(QStringLiteral("<b>")));
}

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
        {HelpTag::Default, {120, 224}},
    };
    for (const auto& [side, at] : cases) {
        EXPECT_EQ(HelpTagTopLeft(c, t, side), at) << static_cast<int>(side);
        EXPECT_FALSE(QRect(at, t).intersects(c)) << static_cast<int>(side);  // never over the control
    }
    EXPECT_EQ(HelpTagTopLeft(c, t, HelpTag::BottomCentred, 0), QPoint(120, 220));
}

}  // namespace
}  // namespace ks
