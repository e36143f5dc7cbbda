// SPDX-License-Identifier: GPL-3.0-or-later
// What the design window's sheets (snapshot, printing, export) have in
// common: the one thing they ask the shell, the window to open on, and the
// signals by which they report back to it.
#pragma once

#include <QObject>

class QFileDialog;
class QString;
class QWidget;

namespace ks {

class SheetWindow {
public:
    virtual ~SheetWindow() = default;
    // The design window, or nullptr when none is open.
    virtual QWidget* designWindow() = 0;
};

class DesignSheet : public QObject {
    Q_OBJECT
public:
    explicit DesignSheet(SheetWindow& window, QObject* parent = nullptr) : QObject(parent), window_(window) {}

signals:
    // A sheet opens: the menus go to their busy state.
    void busy();
    // It has ended: the menus come back.
    void idle();
    void beepRequested();
    // The user chose to stop the program (after a failed write).
    void quitRequested();
    // Everything the sheet started is over (tests wait for it).
    void finished();

protected:
    // A window-modal save dialog on the design window, deleted when closed,
    // opening on `folder` (empty: where Qt would) unless that is one of the
    // kernel's folders (DialogFolder).
    QFileDialog* SaveDialog(const QString& title, const QString& folder = {}) const;

    SheetWindow& window_;
};

}  // namespace ks
