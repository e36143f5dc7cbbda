#include "app/default_window.h"

#include "app/dialog_keys.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "app/default_lines.h"
#include "graphs/surfaces/fonts.h"
#include "model/design.h"
#include "support/macroman.h"

namespace ks {

namespace {

QRect Ltrb(int l, int t, int r, int b) { return QRect(l, t, r - l, b - t); }

QRect CentredOnPrimaryScreen(QSize size)
{
    QRect r(QPoint(0, 0), size);
    if (QScreen* s = QGuiApplication::primaryScreen()) r.moveCenter(s->availableGeometry().center());
    return r;
}

}  // namespace

DefaultParamWindow::DefaultParamWindow(const Design& d, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), d_(d)
{
    setWindowTitle(QStringLiteral("Kestrova Default Parameters"));
    setFixedSize(kWidth, kHeight);
    setModal(true);
    setSizeGripEnabled(false);

    // The placard reaches past the right edge, as laid out; the window
    // clips it.
    const QRect placardRect = Ltrb(0, 295, 290, 355);
    auto* placard = new QFrame(this);
    placard->setObjectName(QStringLiteral("10"));
    placard->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    placard->setAutoFillBackground(true);
    placard->setGeometry(placardRect);

    // Button rectangles are in window coordinates; the buttons live in the
    // placard.
    auto button = [&](int id, const char* title, QRect windowRect) {
        auto* b = new QPushButton(QString::fromLatin1(title), placard);
        b->setObjectName(QString::number(id));
        b->setGeometry(windowRect.translated(-placardRect.topLeft()));
        return b;
    };
    QPushButton* ok = button(5, "OK", Ltrb(170, 315, 240, 335));
    QPushButton* quit = button(6, "Quit", Ltrb(30, 315, 100, 335));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &DefaultParamWindow::Ok);
    connect(quit, &QPushButton::clicked, this, &DefaultParamWindow::Quit);

    setGeometry(CentredOnPrimaryScreen(size()));
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

void DefaultParamWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setFont(ListingFont());
    p.setPen(palette().color(QPalette::WindowText));
    const std::vector<std::string> lines = DefaultParameterLines(d_);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString text = QString::fromStdString(MacRomanToUtf8(lines[i]));
        p.drawText(LinePosition(kDefaultListingFirstLine + static_cast<int>(i)), text);
    }
}

void DefaultParamWindow::Ok()
{
    if (finishing_) return;
    finishing_ = true;
    done(QDialog::Accepted);
    const std::function<void()> f = onOk;
    finishing_ = false;
    if (f) f();
}

void DefaultParamWindow::Quit()
{
    // The process ends in the handler; the window stays as it is.
    const std::function<void()> f = onQuit;
    if (f) f();
}

void DefaultParamWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape is ignored: whether to adopt the driver or to quit is not ours to guess.
    if (!HandleDialogKeys(event, [this] { Ok(); })) QDialog::keyPressEvent(event);
}

void DefaultParamWindow::closeEvent(QCloseEvent* event)
{
    // No close box: a close from the window manager would leave the program
    // with no window at all, so the window stays until OK or Quit.
    if (!quiet_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void DefaultParamWindow::CloseQuietly()
{
    quiet_ = true;
    close();
    quiet_ = false;
}

}  // namespace ks
