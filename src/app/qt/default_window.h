// SPDX-License-Identifier: GPL-3.0-or-later
// Window 2, the default-parameter window: the incoming driver listed in a
// fixed-width font, with OK (adopt it) and Quit in the placard at the foot.
// Controls are named by their ids: the placard "10", the buttons "5", "6".
#pragma once

#include <QDialog>

#include "support/qt/small_window.h"

namespace ks {

struct Design;

class Menus;

class DefaultParamWindow : public SmallWindow<QDialog> {
    Q_OBJECT
public:
    // The listing's content region, below the menu bar when there is one.
    static constexpr int kWidth = 270, kHeight = 355;

    // The design is read at every paint; it must outlive the window. With
    // menus, the window carries the menu bar, so the program's menus are
    // reachable while it is the only window.
    explicit DefaultParamWindow(const Design& d, Menus* menus = nullptr, QWidget* parent = nullptr);

    // The 270 x 355 region the listing and the placard are laid out in.
    QWidget* content() const { return content_; }

    // The listing's font and where line n (2 .. 16) starts, on the baseline.
    static QFont ListingFont();
    static QPoint LinePosition(int n);

signals:
    // After the window has closed itself (OK, Return or Enter): the shell
    // adopts the incoming driver and builds the design window.
    void okChosen();
    // Quit: the shell ends the process with status 0 without saving. The
    // window manager's close and Escape are Quit too.
    void quitChosen();

protected:
    void Ok() override;
    // Escape and the window manager's close are Quit.
    void Escape() override;
    void CloseFromOutside(QCloseEvent* event) override;

private:
    void Quit();

    const Design& d_;
    QWidget* content_ = nullptr;
};

}  // namespace ks
