// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/prefs_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <limits>

#include "context/kestrova.h"
#include "support/qt/fonts.h"
#include "support/qt/window_place.h"

namespace ks {

namespace {

std::int16_t ToI16(int v)
{
    constexpr int lo = std::numeric_limits<std::int16_t>::min();
    constexpr int hi = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(v < lo ? lo : (v > hi ? hi : v));
}

QGroupBox* Group(QWidget* parent, int id, Ltrb r, const char* title)
{
    auto* g = new QGroupBox(QString::fromLatin1(title), parent);
    g->setObjectName(QString::number(id));
    g->setGeometry(ToQRect(r));
    g->setFont(KestrovaFont(1, 11.0f));
    return g;
}

}  // namespace

PreferencesWindow::PreferencesWindow(Kestrova& k, QWidget* parent)
    : SmallWindow(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), k_(k)
{
    setWindowTitle(QStringLiteral("Kestrova Preferences"));
    setFixedSize(kWidth, kHeight);
    setModal(true);
    setSizeGripEnabled(false);

    // The group boxes come first so the controls drawn over them take the
    // clicks.
    Group(this, 501, {20, 10, 310, 225}, " Kestrova State on Launch");
    Group(this, 509, {20, 235, 310, 315}, " Impedance Vertical Axis Scale");

    struct Check {
        int id;
        Ltrb rect;
        const char* title;
        std::int32_t Prefs::*value;
    };
    const Check checks[] = {
        {502, {50, 40, 300, 60}, " Save Current Position of Window", &Prefs::BoundsCheck},
        {507, {50, 70, 300, 90}, " Included Edit Region in Snapshot", &Prefs::SnapRegionCheck},
        {503, {50, 100, 300, 120}, " Use Snapshot Sound Effect", &Prefs::SnapSoundCheck},
        {504, {50, 130, 300, 150}, " Use Copy Parameters Sound Effect", &Prefs::CopySoundCheck},
        {505, {50, 160, 300, 180}, " Print Date at Printing", &Prefs::PrintDateCheck},
        {506, {50, 190, 300, 210}, " Check for New Updates on Launch", &Prefs::UpdateForCheck},
    };
    for (const Check& c : checks) {
        auto* box = new QCheckBox(QString::fromLatin1(c.title), this);
        box->setObjectName(QString::number(c.id));
        box->setGeometry(ToQRect(c.rect));
        box->setChecked(k_.prefs.*c.value != 0);
        auto member = c.value;
        connect(box, &QCheckBox::clicked, this, [this, member](bool on) { k_.prefs.*member = on ? 1 : 0; });
    }

    // One group, two buttons: the single title " Linear ...; Logarithm ..."
    // split at ";", values 1 and 2.
    auto* radio = new QWidget(this);
    radio->setObjectName(QStringLiteral("510"));
    const QRect rr = ToQRect({50, 260, 282, 305});
    radio->setGeometry(rr);
    scale_ = new QButtonGroup(this);
    scale_->setObjectName(QStringLiteral("510-group"));
    scale_->setExclusive(true);
    const QStringList titles =
        QStringLiteral(" Linear Display below 100 ohm; Logarithm Display Always").split(QLatin1Char(';'));
    const int rowHeight = rr.height() / titles.size();
    for (int i = 0; i < titles.size(); ++i) {
        auto* b = new QRadioButton(titles[i], radio);
        b->setObjectName(QStringLiteral("510-%1").arg(i + 1));
        b->setGeometry(0, i * rowHeight, rr.width(), rowHeight);
        scale_->addButton(b, i + 1);
    }
    if (QAbstractButton* b = scale_->button(k_.prefs.ImpVertScale)) b->setChecked(true);
    connect(scale_, &QButtonGroup::idClicked, this, [this](int id) { k_.prefs.ImpVertScale = id; });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("508"));
    ok->setGeometry(ToQRect({240, 335, 310, 355}));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &PreferencesWindow::Ok);

    Place();
}

void PreferencesWindow::Place()
{
    const Rect16& b = k_.prefs.PrefeBounds;
    QRect r(QPoint(b.left, b.top), QSize(kWidth, kHeight));
    // An origin of exactly (0, 0) was never saved: centre.
    const bool saved = k_.prefs.BoundsCheck == 1 && (b.left != 0 || b.top != 0);
    setGeometry(PlaceOnScreen(r, saved));
}

void PreferencesWindow::Ok()
{
    if (CloseOnce([this] { done(QDialog::Accepted); })) emit okChosen();
}

void PreferencesWindow::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (!isVisible()) return;  // placing before showing is not a move
    const QRect g = geometry();
    Rect16& b = k_.prefs.PrefeBounds;
    b.top = ToI16(g.top());
    b.left = ToI16(g.left());
    b.bottom = ToI16(g.top() + g.height());
    b.right = ToI16(g.left() + g.width());
}

void PreferencesWindow::CloseFromOutside(QCloseEvent* event)
{
    // Without a close box only the window manager closes it from outside:
    // close the way OK does, so the shell restores its menus.
    event->ignore();
    if (isVisible()) Ok();
}

}  // namespace ks
