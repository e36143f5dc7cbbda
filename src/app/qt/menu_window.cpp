// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/menu_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>

#include "app/qt/menus.h"

namespace ks {

MenuWindow::MenuWindow(Menus& menus, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("menuWindow"));
    setWindowTitle(QStringLiteral("Kestrova"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                   Qt::CustomizeWindowHint);
    menus.attach(menuBar());
    auto* hint = new QLabel(QStringLiteral("  New Box Design...  (Ctrl+N)"), this);
    hint->setEnabled(false);
    hint->setFixedSize(540, 28);
    setCentralWidget(hint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MenuWindow::closeEvent(QCloseEvent* e)
{
    e->ignore();
    emit closeRequested();
}

}  // namespace ks
