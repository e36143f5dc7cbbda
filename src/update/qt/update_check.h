// SPDX-License-Identifier: GPL-3.0-or-later
// The version check and the download: the request judged one second after
// it was sent (a check asked for from the menu waits for its answer, so its
// window tells a failure from a current version), the update window and its
// buttons, the download of the archive and the install action. All on the
// main event loop.
//
// The version file and the network status come from the kestrova-fetch
// helper; only the user's download runs the network stack in this process,
// from the kestrova-download module loaded on the first download.
//
// The shell makes one UpdateCheck (after the application object) with the
// desktop services, connects its signals, calls CheckForUpdatesCommand for "Check for Updates..." and
// StartUpdateCheck when the companion's first driver record asks for a
// check; the window's controls and Return come back here by themselves.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "update/qt/update_window.h"

namespace ks {

struct Kestrova;
class UpdateDesktop;
class FetchProcess;
class ArchiveDownload;

class UpdateCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int kJudgeDelayMs = 1000;
    // A check asked for from the menu whose answer has not come at the
    // judgement waits for it this long after the request, then counts as
    // failed: the window never calls an unknown version current.
    static constexpr int kAnswerLimitMs = 10000;
    static constexpr int kTrashWaitMs = 100;
    static constexpr int kDownloadTimeoutMs = 60000;
    static constexpr int kZipOpenWaitMs = 2000;
    static constexpr int kQuitWaitMs = 1000;

    UpdateCheck(Kestrova& k, UpdateDesktop& desktop, QObject* parent = nullptr);
    ~UpdateCheck() override;

    // Where the archive goes (default: the user's Downloads folder).
    void setDownloadsFolder(const QString& folder) { downloads_ = folder; }
    QString downloadsFolder() const { return downloads_; }
    // The passive network status, asked at once. By default the helper is
    // asked; its answer counts when it comes before the judgement, and no
    // answer counts as a network that is up.
    void setNetworkProbe(std::function<bool()> probe) { probe_ = std::move(probe); }
    // The helper program (default: kestrova-fetch beside this program, else
    // on PATH); when it cannot be run the check gets no answer.
    void setFetchProgram(const QString& program) { fetchProgram_ = program; }
    // How long a check asked for from the menu waits for its answer
    // (default kAnswerLimitMs).
    void setAnswerLimit(int ms) { answerLimitMs_ = ms; }
    // The running version's text (default GetCFBundleVersion).
    void setBundleVersion(const QString& version) { bundleVersion_ = version; }

    // The menu command "Check for Updates...".
    void CheckForUpdatesCommand();
    // The check on the first driver record, when the preference asks for it.
    // Nothing while another check is waiting for its judgement or the window
    // is open: that check would lose its window and leave the menus busy.
    void StartUpdateCheck();

    // The check's flags cleared before a check.
    void InitUpdateFlag();
    // A check: the network status and the version file asked for, the
    // judgement timed.
    void CheckForVersion();
    // The version file asked of the helper.
    void CheckForNewVersion(const QUrl& url);
    // The update timer's action (code 1 judges the check).
    void CarbonTimerActionCheckVersion(int code);

    // The update window for the check's outcome, with its buttons.
    void CheckForUpdateWnd();
    // OK or Don't Download: the window closed, the menus given back.
    void CheckForUpdateWndOkButton();
    // Download...: old copies to the trash, then the download.
    void CheckForUpdateWndDownloadButton();
    // The archive into the downloads folder, through the download module.
    void Download(const QUrl& url);
    // The window's message and buttons once the download has ended.
    void ShowDownLoadFinished();
    // The install action of "Launch Installer and Quit".
    void LaunchInstallerAndQuit();
    // The window's control and Return handlers.
    void ControlHit(int id, int state);
    void WindowReturn();

    // While a sound plays nothing else happens: the timers are stopped with
    // what they had left and go on from there when released.
    void HoldTimers(bool hold);

    UpdateWindow* window() const { return window_.data(); }
    bool judgementPending() const { return judgeTimer_.isActive() || answerLimit_.isActive(); }
    bool downloading() const;

signals:
    // The menus: busy while the window or a download is up; then those of a
    // design in progress, or those without one.
    void menusBusy();
    void menusOpen();
    void menusClosed();
    // The install action closes the design window, then quits the program.
    void closeDesignWindow();
    void quitRequested();
    void judged();
    void downloadFinished(bool ok);

private:
    void OnVersionFile(const QByteArray& data);
    void OnRequestFailed();
    // The judgement proper: the window when the check calls for one.
    void Judge();
    // The running version's text into the state.
    void ReadBundleVersion();
    void AskNetworkStatus();
    // Null when the module cannot be loaded: the download fails as any other.
    ArchiveDownload* Downloader();

    Kestrova& k_;
    UpdateDesktop& desktop_;
    std::unique_ptr<FetchProcess> request_;
    std::unique_ptr<FetchProcess> status_;
    // Made with the first download.
    std::unique_ptr<ArchiveDownload> download_;
    QPointer<UpdateWindow> window_;
    QTimer judgeTimer_;
    QTimer answerLimit_;
    QTimer trashWait_;
    QTimer zipWait_;
    QTimer quitWait_;
    std::vector<std::pair<QTimer*, int>> heldTimers_;
    QString downloads_;
    QString bundleVersion_;
    QString fetchProgram_;
    std::function<bool()> probe_;
    int answerLimitMs_ = kAnswerLimitMs;
    bool installing_ = false;
};

}  // namespace ks
