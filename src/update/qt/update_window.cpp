// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/update_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "support/qt/window_place.h"

namespace ks {

namespace {

constexpr int kWidth = 420, kHeight = 150;

void Place(QWidget* w, Ltrb r) { w->setGeometry(ToQRect(r)); }

// Arial has no place here: the installed sans of the same width, sized in
// pixels like the rest of the window.
QFont MessageFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel* MessageLine(QWidget* parent, int id, Ltrb box, int pixels, bool bold)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::number(id));
    // The second line carries text from the server: never read as markup.
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setFont(MessageFont(pixels, bold));
    Place(l, box);
    return l;
}

}  // namespace

UpdateWindow::UpdateWindow(QWidget* parent)
    : SmallWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Kestrova Check for Update"));
    setObjectName(QStringLiteral("5"));
    setFixedSize(kWidth, kHeight);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);

    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::number(kIcon));
        l->setPixmap(icon.pixmap(80, 80));
        Place(l, {24, 20, 104, 100});
    }
    first_ = MessageLine(this, kFirstLine, {128, 25, 400, 50}, 20, true);
    second_ = MessageLine(this, kSecondLine, {128, 55, 400, 80}, 15, false);

    auto* check = new QCheckBox(QStringLiteral(" Check for New Updates on Launch."), this);
    check->setObjectName(QString::number(kLaunchCheck));
    Place(check, {129, 80, 380, 99});
    connect(check, &QCheckBox::clicked, this, [this](bool on) { emit controlHit(kLaunchCheck, on ? 1 : 0); });

    // Below the buttons, clear of the texts; shown only while downloading.
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setTextVisible(false);
    Place(progress_, {130, 136, 400, 144});
    progress_->hide();

    // The content is centred, not the frame around it.
    setGeometry(PlaceOnScreen(QRect(0, 0, kWidth, kHeight), false));
}

void UpdateWindow::SetMessage(const QString& first, const QString& second)
{
    first_->setText(first);
    second_->setText(second);
}

void UpdateWindow::SetLaunchCheck(bool on)
{
    if (auto* c = findChild<QCheckBox*>(QString::number(kLaunchCheck))) c->setChecked(on);
}

QPushButton* UpdateWindow::AddButton(const Button& button)
{
    const int id = button.id;
    RemoveControl(id);
    auto* b = new QPushButton(QString::fromLatin1(button.title), this);
    b->setObjectName(QString::number(id));
    b->setDefault(button.isDefault);
    Place(b, button.box);
    connect(b, &QPushButton::clicked, this, [this, id] { emit controlHit(id, 0); });
    b->show();
    return b;
}

void UpdateWindow::RemoveControl(int id)
{
    if (QWidget* w = control(id)) {
        w->hide();
        w->deleteLater();
        w->setObjectName(QString());  // gone at once for anyone looking it up
    }
}

QWidget* UpdateWindow::control(int id) const
{
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void UpdateWindow::ShowProgress(qint64 received, qint64 total)
{
    if (total > 0) {
        // Tenths of a percent keep the range inside int for any archive size.
        progress_->setRange(0, 1000);
        progress_->setValue(int(qBound(qint64(0), received * 1000 / total, qint64(1000))));
    } else {
        progress_->setRange(0, 0);  // size unknown: busy indicator
    }
    progress_->show();
}

void UpdateWindow::HideProgress() { progress_->hide(); }

void UpdateWindow::SetButtonsEnabled(bool on)
{
    for (QPushButton* b : findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) b->setEnabled(on);
}

void UpdateWindow::Ok() { emit returnPressed(); }

void UpdateWindow::CloseFromOutside(QCloseEvent* event)
{
    SmallWindow::CloseFromOutside(event);
    // Closed by the window manager rather than a button: the controller
    // finishes the way OK does, so the menus never stay busy.
    emit closeRequested();
}

}  // namespace ks
