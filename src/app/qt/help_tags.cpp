// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/help_tags.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

#include "support/macroman.h"
#include "support/qt/qt_text.h"

namespace ks {

namespace {

constexpr char kMainProp[] = "ks_helpTagMain";
constexpr char kExtendedProp[] = "ks_helpTagExtended";
constexpr char kSideProp[] = "ks_helpTagSide";
constexpr char kFilterName[] = "ks-help-tag";

// Line breaks of either platform kind become one.
QString TagText(std::string_view s)
{
    QString t = FromMacRoman(s);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

QString Plain(const QString& s)
{
    if (!Qt::mightBeRichText(s)) return s;
    QString html = s.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return QStringLiteral("<p style='white-space:pre'>") + html + QStringLiteral("</p>");
}

// The tool tip's own label, found after showText made it: Qt places tips
// by the pointer, the side is ours to set.
QWidget* ShownTipLabel()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->inherits("QTipLabel") || w->objectName() == QLatin1String("qtooltip_label")))
            return w;
    return nullptr;
}

class HelpTagFilter : public QObject {
public:
    explicit HelpTagFilter(QWidget* control) : QObject(control) { setObjectName(QLatin1String(kFilterName)); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w) return false;
        const bool extended = QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
        const QString text = w->property(extended ? kExtendedProp : kMainProp).toString();
        if (text.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        const auto side = static_cast<HelpTag::Side>(w->property(kSideProp).toInt());
        const QPoint pointer = static_cast<QHelpEvent*>(event)->globalPos();
        QToolTip::showText(pointer, text, w, w->rect());
        if (side != HelpTag::Default) {
            if (QWidget* tip = ShownTipLabel()) {
                const QRect control(w->mapToGlobal(QPoint(0, 0)), w->size());
                tip->move(HelpTagTopLeft(control, tip->size(), side));
            }
        }
        return true;
    }
};

}  // namespace

QString HelpTagDisplayText(const HelpTag& tag, bool extended)
{
    return Plain(TagText(extended ? std::string_view(tag.ExtendedContent()) : tag.main.view()));
}

QPoint HelpTagTopLeft(const QRect& c, QSize tip, HelpTag::Side side, int gap)
{
    const int left = c.x(), top = c.y();
    const int right = c.x() + c.width(), bottom = c.y() + c.height();
    const int cx = left + (c.width() - tip.width()) / 2;
    const int cy = top + (c.height() - tip.height()) / 2;
    const int above = top - gap - tip.height(), below = bottom + gap;
    const int leftOf = left - gap - tip.width(), rightOf = right + gap;
    switch (side) {
    case HelpTag::TopCentred: return {cx, above};
    case HelpTag::LeftCentred: return {leftOf, cy};
    case HelpTag::RightCentred: return {rightOf, cy};
    case HelpTag::TopLeftAligned: return {left, above};
    case HelpTag::TopRightAligned: return {right - tip.width(), above};
    case HelpTag::LeftTopAligned: return {leftOf, top};
    case HelpTag::LeftBottomAligned: return {leftOf, bottom - tip.height()};
    case HelpTag::BottomLeftAligned: return {left, below};
    case HelpTag::BottomRightAligned: return {right - tip.width(), below};
    case HelpTag::RightTopAligned: return {rightOf, top};
    case HelpTag::RightBottomAligned: return {rightOf, bottom - tip.height()};
    case HelpTag::BottomCentred:
    case HelpTag::Default: break;
    }
    return {cx, below};
}

void ButtonHelpSetText(QWidget* window, int id, std::string_view text)
{
    if (!window) return;
    if (text.size() > PStr::kMax) text = text.substr(0, PStr::kMax);
    QWidget* control = window->findChild<QWidget*>(QString::number(id));
    if (!control) return;

    const HelpTag tag = ParseHelpTag(text);
    control->setToolTip(FromMacRoman(tag.main.view()));
    control->setProperty(kMainProp, HelpTagDisplayText(tag, false));
    control->setProperty(kExtendedProp, HelpTagDisplayText(tag, true));
    control->setProperty(kSideProp, static_cast<int>(tag.side));
    if (!control->findChild<QObject*>(QLatin1String(kFilterName), Qt::FindDirectChildrenOnly))
        control->installEventFilter(new HelpTagFilter(control));
}

}  // namespace ks
