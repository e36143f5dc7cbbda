// SPDX-License-Identifier: GPL-3.0-or-later
// Window 5, the update window: a fixed 420 × 150 window with the icon, two
// message lines, the launch check box and the push buttons, each control
// named by its id. It only shows; what a control does is the controller's.
#pragma once

#include <QWidget>
#include <functional>

#include "support/qt/small_window.h"
#include "support/qt/window_place.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace ks {

class UpdateWindow : public SmallWindow<QWidget> {
    Q_OBJECT
public:
    // The controls, each also named by its id ("551" ...).
    enum Control : int {
        kIcon = 550,
        kOk = 551,  // the OK of a check's outcome
        kDownload = 552,
        kDontDownload = 553,
        kDownloadedOk = 554,     // the OK once a download has ended
        kLaunchInstaller = 555,  // "Launch Installer and Quit"
        kFirstLine = 556,
        kSecondLine = 557,
        kLaunchCheck = 558,  // "Check for New Updates on Launch"
    };

    // A push button; the default one is what Return presses.
    struct Button {
        Control id;
        const char* title;
        Ltrb box;
        bool isDefault;
    };

    explicit UpdateWindow(QWidget* parent = nullptr);

    void SetMessage(const QString& first, const QString& second);
    void SetLaunchCheck(bool on);
    // Adds the button (replacing one of its id), which reports its id as a
    // control hit.
    QPushButton* AddButton(const Button& b);
    void RemoveControl(int id);
    QWidget* control(int id) const;
    // Download progress; total < 0 when the size is not known.
    void ShowProgress(qint64 received, qint64 total);
    void HideProgress();
    void SetButtonsEnabled(bool on);

signals:
    void controlHit(int id, int state);
    // Return or Enter: the controller knows which button is the default.
    void returnPressed();
    // After the window was closed by the window manager, not by a button
    // (the controller closes it quietly).
    void closeRequested();

protected:
    void Ok() override;
    void CloseFromOutside(QCloseEvent* event) override;

private:
    QLabel* first_ = nullptr;
    QLabel* second_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

}  // namespace ks
