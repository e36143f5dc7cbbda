// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/default_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/default_lines.h"
#include "app/qt/menus.h"
#include "model/design.h"
#include "support/macroman.h"
#include "support/qt/fonts.h"
#include "support/qt/qt_text.h"
#include "support/qt/window_place.h"

namespace ks {

namespace {

// The listing, painted from the design at every paint.
class Listing final : public QWidget {
public:
    Listing(const Design& d, QWidget* parent) : QWidget(parent), d_(d) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setFont(DefaultParamWindow::ListingFont());
        p.setPen(palette().color(QPalette::WindowText));
        const std::vector<std::string> lines = DefaultParameterLines(d_);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const QString text = FromMacRoman(lines[i]);
            p.drawText(DefaultParamWindow::LinePosition(kDefaultListingFirstLine + static_cast<int>(i)), text);
        }
    }

private:
    const Design& d_;
};

}  // namespace

DefaultParamWindow::DefaultParamWindow(const Design& d, Menus* menus, QWidget* parent)
    : SmallWindow(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), d_(d)
{
    setWindowTitle(QStringLiteral("Kestrova Default Parameters"));
    // Not modal: the windows its menus open (About, Preferences, the update
    // check) must take input beside it.
    setModal(false);
    setSizeGripEnabled(false);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetFixedSize);
    if (menus) {
        auto* bar = new QMenuBar(this);
        menus->attach(bar);
        column->setMenuBar(bar);
    }
    content_ = new Listing(d, this);
    content_->setObjectName(QStringLiteral("content"));
    content_->setFixedSize(kWidth, kHeight);
    column->addWidget(content_);

    // The placard reaches past the right edge, as laid out; the window
    // clips it.
    const QRect placardRect = ToQRect({0, 295, 290, 355});
    auto* placard = new QFrame(content_);
    placard->setObjectName(QStringLiteral("10"));
    placard->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    placard->setAutoFillBackground(true);
    placard->setGeometry(placardRect);

    // Button rectangles are in content coordinates; the buttons live in the
    // placard.
    auto button = [&](int id, const char* title, Ltrb r) {
        auto* b = new QPushButton(QString::fromLatin1(title), placard);
        b->setObjectName(QString::number(id));
        b->setGeometry(ToQRect(r).translated(-placardRect.topLeft()));
        return b;
    };
    QPushButton* ok = button(5, "OK", {170, 315, 240, 335});
    QPushButton* quit = button(6, "Quit", {30, 315, 100, 335});
    // Return is OK wherever the focus is: a focused button of a dialog would
    // otherwise take Return for itself, and Tab can put it on Quit.
    for (QPushButton* b : {ok, quit}) b->setAutoDefault(false);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DefaultParamWindow::Ok);
    connect(quit, &QPushButton::clicked, this, &DefaultParamWindow::Quit);

    column->activate();
    setGeometry(PlaceOnScreen(QRect(QPoint(0, 0), sizeHint()), false));
}

QFont DefaultParamWindow::ListingFont()
{
    // Font 2 of the drawing state is the monospace face the listing's
    // classic font takes.
    QFont f = KestrovaFont(2, 13.0f);
    f.setBold(false);
    f.setItalic(false);
    return f;
}

QPoint DefaultParamWindow::LinePosition(int n)
{
    const QFontMetrics fm(ListingFont());
    return QPoint(4 * fm.horizontalAdvance(QLatin1Char('0')), n * fm.lineSpacing());
}

void DefaultParamWindow::Ok()
{
    if (CloseOnce([this] { done(QDialog::Accepted); })) emit okChosen();
}

void DefaultParamWindow::Quit()
{
    // The process ends in the shell; the window stays as it is.
    emit quitChosen();
}

void DefaultParamWindow::Escape() { Quit(); }

void DefaultParamWindow::CloseFromOutside(QCloseEvent* event)
{
    // Closing the only window is leaving the program, as Quit does; the
    // window stays until the process ends.
    event->ignore();
    Quit();
}

}  // namespace ks
