// SPDX-License-Identifier: GPL-3.0-or-later
// While no design window is open the menus still have to be reachable (a
// desktop on Linux has no bar of its own): a slim window titled "Kestrova"
// carries the menu bar. Closing it is the Quit command.
#pragma once

#include <QMainWindow>
#include <functional>

namespace ks {

class Menus;

class MenuWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MenuWindow(Menus& menus, QWidget* parent = nullptr);
signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* e) override;
};

}  // namespace ks
