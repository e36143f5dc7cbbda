// SPDX-License-Identifier: GPL-3.0-or-later
// Window 3, the preferences window: six check boxes and the impedance-scale
// radio pair, each acting on the context's preferences at the click, and OK.
// Every control is named by its id ("502" ...; the radio buttons "510-1"
// and "510-2").
#pragma once

#include <QDialog>
#include <functional>

#include "support/qt/small_window.h"

class QButtonGroup;

namespace ks {

struct Kestrova;

class PreferencesWindow : public SmallWindow<QDialog> {
    Q_OBJECT
public:
    static constexpr int kWidth = 330, kHeight = 375;

    explicit PreferencesWindow(Kestrova& k, QWidget* parent = nullptr);

    // Puts the window where the preferences say: at the saved content origin
    // when positions are kept and one was saved, else centred on the
    // primary screen. The constructor calls it; show() or open() next.
    void Place();

    QButtonGroup* scaleGroup() const { return scale_; }

signals:
    // After the window has closed itself (OK, Return, Enter, or a close from
    // the window manager): the shell restores menus and redraws. It may
    // deleteLater() the window.
    void okChosen();

protected:
    // Escape does nothing: every change has already taken effect, and only
    // OK restores the menus. A close from outside is OK.
    void Ok() override;
    void CloseFromOutside(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    Kestrova& k_;
    QButtonGroup* scale_ = nullptr;
};

}  // namespace ks
